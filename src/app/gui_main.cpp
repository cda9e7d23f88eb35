// tuvo: the desktop program. One instance per user; a second start hands its
// picture paths to the running window and ends.
#include "batch/chinese_fonts.h"
#include "settings/app_paths.h"
#include "settings/display_texts.h"
#include "settings/settings_store.h"
#include "settings/single_instance.h"
#include "ui/main_window.h"
#include "ui/main_window_capture.h"
#include "ui/main_window_editing.h"
#include "ui/main_window_skin.h"
#include "ui/main_window_viewer.h"
#include "ui/prompter.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>

namespace {

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
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TUVO_VERSION));
    const QStringList pictures
        = picturesFromArguments(QCoreApplication::arguments().mid(1), QDir::currentPath());

    SingleInstance instance(programBaseName());
    if (instance.handOverOrListen(pictures))
        return 0;

    applyLook(app);
    installQtTranslations(app);
    const AppPaths paths = AppPaths::resolve();
    std::unique_ptr<QSettings> settings = openSettingsStore(programBaseName());
    MainWindow window(paths, settings.get());
    installEditingControls(window);
    installViewerHooks(window);
    installCaptureHooks(window);
    window.listenTo(instance);
    window.load(pictures);
    installSkinMenu(window);
    window.show();
    if (!window.isVisible()) {
        Prompter::instance().message(nullptr, QStringLiteral("Tuvo图片批量处理"),
            QStringLiteral("程序未能正常运行。请双击【注册组件.bat】后再试。"
                           "如果还不能解决，请详细阅读【使用必读.txt】安装部分。"),
            Prompter::Icon::Error);
        return 1;
    }
    return app.exec();
}
