#include "ui/main_window_skin.h"

#include "dialogs/prompter.h"
#include "job/settings_store.h"
#include "ui/frm_dlg.h"
#include "ui/main_window.h"
#include "ui/skin.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace {

const char *kSkinProperty = "tuvoSkinFile";
const QString kSkinKey = QStringLiteral("sSkinFileName");

bool samePath(const QString &a, const QString &b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath())
        == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// The menu is this file's own and the window keeps no record of it: found by its
// name, a second install returns it instead of adding another.
QMenu *skinMenu(const MainWindow &window)
{
    return window.menuBar()->findChild<QMenu *>(QStringLiteral("mSkin"));
}

void updateChecks(const MainWindow &window)
{
    QMenu *menu = skinMenu(window);
    if (!menu)
        return;
    const QString current = currentSkinPath(window);
    for (QAction *a : menu->actions()) {
        const QString file = a->data().toString();
        if (a->isCheckable())
            a->setChecked(!file.isEmpty() && samePath(file, current));
    }
}

void runSkinChooser(MainWindow &window)
{
    FrmDlg dlg(window.settings(), &window);
    dlg.setMode(FrmDlg::SkinMode);
    dlg.setPrompt(QCoreApplication::translate("tuvo", "请选择皮肤文件。"));
    dlg.setFileFilter(QStringLiteral("*.she"));
    dlg.setCurrentFolder(window.paths().skinDir());
    const int result = Prompter::instance().exec(&dlg);
    const QStringList chosen = dlg.selectedFilePaths();
    if (result == QDialog::Accepted && !chosen.isEmpty())
        chooseSkin(window, chosen.first());
    window.redrawPreview();
}

} // namespace

QString currentSkinPath(const MainWindow &window)
{
    return window.property(kSkinProperty).toString();
}

void chooseSkin(MainWindow &window, const QString &path)
{
    window.setProperty(kSkinProperty, path);
    applySkin(path);
    if (QSettings *s = window.settings()) {
        OptionsStore store(*s);
        store.setText(kSkinKey, path);
        store.sync();
    }
    updateChecks(window);
}

QMenu *installSkinMenu(MainWindow &window)
{
    const QString skinDir = window.paths().skinDir();
    QString stored = defaultSkinPath(skinDir);
    if (QSettings *s = window.settings())
        stored = OptionsStore(*s).text(kSkinKey, stored);
    window.setProperty(kSkinProperty, stored);
    applySkin(stored);

    if (QMenu *old = skinMenu(window))
        return old;
    auto *menu = new QMenu(QCoreApplication::translate("tuvo", "皮肤(&K)"), window.menuBar());
    menu->setObjectName(QStringLiteral("mSkin"));
    auto *group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const QString &file : skinFiles(skinDir)) {
        QAction *a = menu->addAction(skinDisplayName(file));
        a->setCheckable(true);
        a->setData(file);
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, &window, [&window, file] { chooseSkin(window, file); });
    }
    menu->addSeparator();
    QAction *more = menu->addAction(QCoreApplication::translate("tuvo", "更多皮肤..."));
    more->setObjectName(QStringLiteral("mSkinMore"));
    QObject::connect(more, &QAction::triggered, &window, [&window] { runSkinChooser(window); });

    // Before the help menu, which stays last in every language.
    QAction *before = nullptr;
    for (QAction *a : window.menuBar()->actions()) {
        if (a->menu() && a->menu()->objectName() == QLatin1String("mHelp"))
            before = a;
    }
    window.menuBar()->insertMenu(before, menu);
    updateChecks(window);
    return menu;
}
