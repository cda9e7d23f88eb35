// tuvo: the desktop program. One instance per user; a second start hands its
// picture paths to the running window and ends.
#include "dialogs/prompter.h"
#include "fs/app_paths.h"
#include "imaging/chinese_fonts.h"
#include "job/settings_store.h"
#include "settings/display_texts.h"
#include "settings/single_instance.h"
#include "settings/ui_language.h"
#include "ui/main_window.h"
#include "ui/main_window_capture.h"
#include "ui/main_window_editing.h"
#include "ui/main_window_language.h"
#include "ui/main_window_skin.h"
#include "ui/main_window_viewer.h"
#include "ui/main_window_watch.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <cstring>

namespace {

const char kHelp[] = QT_TRANSLATE_NOOP("tuvo", R"(用法: tuvo [图片...]
Tuvo图片批量处理 - 桌面程序。命令行上的图片加入文件列表; 已有Tuvo在运行时,
图片交给那个窗口, 本次启动随即结束。没有窗口的批量处理见 tuvo-cli(1)。

  -h, --help     显示本帮助后退出
      --version  显示版本后退出

环境变量:
  TUVO_HOME      输出文件夹 zp、工作文件夹 user 和设置文件 tuvo.ini 放在这里;
                 边框、水印、皮肤和 size.ini 仍从安装的数据文件夹读取
  LANG, LC_ALL, LC_CTYPE  需要UTF-8的区域设置(C.UTF-8即可)

文件(安装后):
  /usr/share/tuvo/        只读数据: bk(边框) sy(水印) skin(皮肤) size.ini 使用必读.txt
  ~/.local/share/tuvo/    zp(默认输出文件夹) 和 user(程序自己的文件)
  ~/.config/tuvo/tuvo.ini 设置
)");

// Answers --help and --version before anything needs a display. True when the
// program should end.
bool answeredWithoutWindow(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            return false;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            QCoreApplication core(argc, argv);
            installUiLanguage(core, languageFromEnvironment());
            std::fputs(QCoreApplication::translate("tuvo", kHelp).toLocal8Bit().constData(), stdout);
            return true;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::printf("tuvo %s\n", TUVO_VERSION);
            return true;
        }
    }
    return false;
}

void applyLook(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installChineseFontSubstitutes();
    const QStringList families = QFontDatabase::families();
    for (const QString &f : {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
             QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Droid Sans Fallback")}) {
        if (families.contains(f)) {
            QFont font(f);
            font.setPointSizeF(10);
            app.setFont(font);
            break;
        }
    }
    QPalette p = app.style()->standardPalette();
    p.setColor(QPalette::Window, QColor(0xf3, 0xf5, 0xf8));
    p.setColor(QPalette::Highlight, QColor(0x2d, 0x6c, 0xc0));
    app.setPalette(p);
}

} // namespace

int main(int argc, char **argv)
{
    if (answeredWithoutWindow(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TUVO_VERSION));
    const QStringList pictures
        = picturesFromArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());

    SingleInstance instance(programBaseName());
    if (instance.handOverOrListen(pictures))
        return 0;

    applyLook(app);
    const AppPaths paths = AppPaths::resolve();
    std::unique_ptr<QSettings> settings = openSettingsStore(programBaseName());
    installUiLanguage(
        app, uiLanguageFromCode(storedLanguageCode(settings.get())).value_or(languageFromEnvironment()));
    MainWindow window(paths, settings.get());
    installEditingControls(window);
    installViewerCommands(window);
    installCaptureCommands(window);
    window.listenTo(instance);
    window.load(pictures);
    installSkinMenu(window);
    installLanguageMenu(window);
    installFolderWatch(window);
    window.show();
    if (!window.isVisible()) {
        Prompter::instance().message(nullptr, QCoreApplication::translate("tuvo", "Tuvo图片批量处理"),
            QCoreApplication::translate("tuvo",
                "程序未能正常运行。请双击【注册组件.bat】后再试。"
                "如果还不能解决，请详细阅读【使用必读.txt】安装部分。"),
            Prompter::Icon::Error);
        return 1;
    }
    return app.exec();
}
