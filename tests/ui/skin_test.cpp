#include "support/qstring_printer.h"
#include "ui/main_window_skin.h"
#include "ui/skin.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

const QString kShippedSkins = QStringLiteral(TUVO_SOURCE_DIR "/data/skin");

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QStringList qtWarnings;
void recordWarning(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg)
        qtWarnings << text;
}

QString sheetOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class SkinTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        skinDir = QDir(home()).filePath(QStringLiteral("skin"));
        QDir().mkpath(skinDir);
        for (const QString &name : QDir(kShippedSkins).entryList({QStringLiteral("*.she")}, QDir::Files))
            QFile::copy(QDir(kShippedSkins).filePath(name), QDir(skinDir).filePath(name));
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        qApp->setStyleSheet(QString());
    }

    QString skin(const QString &name) const { return QDir(skinDir).filePath(name + QStringLiteral(".she")); }
    QAction *entry(QMenu *menu, const QString &text)
    {
        for (QAction *a : menu->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    }
    QStringList checkedEntries(QMenu *menu)
    {
        QStringList out;
        for (QAction *a : menu->actions())
            if (a->isChecked())
                out << a->text();
        return out;
    }

    QString skinDir;
};

TEST_F(SkinTest, ShippedSkinsAreWholeStyleSheetsDefaultFirst)
{
    const QStringList files = skinFiles(skinDir);
    ASSERT_EQ(files.size(), 4);
    EXPECT_EQ(skinDisplayName(files.first()), QStringLiteral("浅蓝(默认)"));
    EXPECT_EQ(files.first(), defaultSkinPath(skinDir));
    QStringList names;
    for (const QString &f : files) {
        names << skinDisplayName(f);
        ASSERT_TRUE(applySkin(f)) << f.toStdString();
        EXPECT_EQ(qApp->styleSheet(), sheetOf(f));
        // Qt drops a sheet it cannot parse with a warning when a widget is polished.
        qtWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordWarning);
        {
            QPushButton probe(QStringLiteral("确定"));
            probe.setObjectName(QStringLiteral("cmdStart"));
            probe.ensurePolished();
        }
        qInstallMessageHandler(previous);
        EXPECT_TRUE(qtWarnings.filter(QStringLiteral("parse")).isEmpty()) << f.toStdString();
    }
    for (const char *name : {"深邃黑", "清新绿", "暖阳橙"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name;
    // Other files in the folder are not skins.
    writeFile(QDir(skinDir).filePath(QStringLiteral("notes.txt")), "QWidget {}");
    EXPECT_EQ(skinFiles(skinDir).size(), 4);
    EXPECT_TRUE(skinFiles(QDir(home()).filePath(QStringLiteral("no-such-folder"))).isEmpty());
}

TEST_F(SkinTest, DamagedSkinFilesLeaveThePlainLook)
{
    const QString good = skin(QStringLiteral("清新绿"));
    const QList<std::pair<const char *, QByteArray>> damaged = {
        {"empty", QByteArray()},
        {"blank", "  \n\t\n"},
        {"truncated", "QWidget { background: red; }\nQPushButton { color: blue;"},
        {"stray brace", "QWidget { color: red; } }"},
        {"open comment", "/* unfinished QWidget { color: red; }"},
        {"binary", QByteArray("QWidget {\0\1\2 }", 14)},
        {"not utf-8", "QWidget { font-family: \"\xcb\xce\xcc\xe5\"; }"},
    };
    for (const auto &[label, bytes] : damaged) {
        const QString path = writeFile(QDir(home()).filePath(QString::fromLatin1(label) + ".she"), bytes);
        ASSERT_TRUE(applySkin(good));
        EXPECT_FALSE(applySkin(path)) << label;
        EXPECT_TRUE(qApp->styleSheet().isEmpty()) << label;
    }
    ASSERT_TRUE(applySkin(good));
    EXPECT_FALSE(applySkin(skin(QStringLiteral("missing"))));
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_FALSE(applySkin(skinDir)); // a folder is no skin file

    // Braces inside comments and quoted texts do not count.
    const QString quoted = writeFile(QDir(home()).filePath(QStringLiteral("quoted.she")),
        "/* { */ QLabel#lInfo { font-family: \"a}b\"; }\nQWidget { color: '#123'; }");
    EXPECT_TRUE(applySkin(quoted));
}

TEST_F(SkinTest, MenuListsTheSkinsAndStoresTheChoice)
{
    MainWindow &w = start();
    QMenu *menu = installSkinMenu(w);
    ASSERT_NE(menu, nullptr);
    // First start: the default skin, nothing stored yet.
    EXPECT_EQ(qApp->styleSheet(), sheetOf(defaultSkinPath(skinDir)));
    EXPECT_EQ(checkedEntries(menu), QStringList {QStringLiteral("浅蓝(默认)")});
    ASSERT_NE(entry(menu, QStringLiteral("更多皮肤...")), nullptr);

    // The skin menu stands just before the help menu, which stays last.
    const QList<QAction *> bar = w.menuBar()->actions();
    ASSERT_GE(bar.size(), 2);
    EXPECT_EQ(bar.at(bar.size() - 2)->menu(), menu);
    EXPECT_TRUE(bar.last()->text().startsWith(QStringLiteral("帮助")));

    entry(menu, QStringLiteral("深邃黑"))->trigger();
    EXPECT_EQ(qApp->styleSheet(), sheetOf(skin(QStringLiteral("深邃黑"))));
    EXPECT_EQ(settingsValue(QStringLiteral("sSkinFileName")), skin(QStringLiteral("深邃黑")));
    EXPECT_EQ(checkedEntries(menu), QStringList {QStringLiteral("深邃黑")});
    EXPECT_TRUE(prompter_.shown.isEmpty());

    // Installing twice keeps one menu.
    EXPECT_EQ(installSkinMenu(w), menu);

    // The next start comes up in the chosen skin.
    qApp->setStyleSheet(QString());
    MainWindow &again = start();
    QMenu *menu2 = installSkinMenu(again);
    EXPECT_EQ(qApp->styleSheet(), sheetOf(skin(QStringLiteral("深邃黑"))));
    EXPECT_EQ(checkedEntries(menu2), QStringList {QStringLiteral("深邃黑")});
}

TEST_F(SkinTest, ChooserTakesASkinFromAnotherFolder)
{
    const QString other = QDir(home()).filePath(QStringLiteral("more skins"));
    const QString mine
        = writeFile(QDir(other).filePath(QStringLiteral("我的.she")), "QWidget { color: #224466; }");
    writeFile(QDir(other).filePath(QStringLiteral("photo.jpg")), "not listed");
    MainWindow &w = start();
    QMenu *menu = installSkinMenu(w);

    QString title;
    QStringList listed;
    prompter_.dialogHandler = [&](QDialog *d) {
        auto *dlg = qobject_cast<FrmDlg *>(d);
        if (!dlg)
            return int(QDialog::Rejected);
        title = dlg->windowTitle();
        EXPECT_EQ(dlg->mode(), int(FrmDlg::SkinMode));
        EXPECT_EQ(QDir(dlg->currentFolder()), QDir(skinDir));
        dlg->setCurrentFolder(other);
        listed = dlg->fileNames();
        dlg->selectFiles({QStringLiteral("我的.she")});
        dlg->cmdOK_Click();
        return dlg->result();
    };
    entry(menu, QStringLiteral("更多皮肤..."))->trigger();
    EXPECT_EQ(title, QStringLiteral("请选择皮肤文件"));
    EXPECT_EQ(listed, QStringList {QStringLiteral("我的.she")});
    EXPECT_EQ(settingsValue(QStringLiteral("sSkinFileName")), mine);
    EXPECT_EQ(qApp->styleSheet(), sheetOf(mine));
    EXPECT_TRUE(checkedEntries(menu).isEmpty());
    // OK in every mode remembers the folder.
    EXPECT_EQ(QDir(settingsValue(QStringLiteral("sODIR"))), QDir(other));

    // Cancelling changes nothing.
    prompter_.dialogHandler = [](QDialog *) {
        return int(QDialog::Rejected);
    };
    entry(menu, QStringLiteral("更多皮肤..."))->trigger();
    EXPECT_EQ(settingsValue(QStringLiteral("sSkinFileName")), mine);
}

TEST_F(SkinTest, StoredSkinThatIsGoneStartsPlainWithoutAMessage)
{
    MainWindow &w = start();
    chooseSkin(w, skin(QStringLiteral("暖阳橙")));
    closeWindow();
    QFile::remove(skin(QStringLiteral("暖阳橙")));

    MainWindow &again = start();
    QMenu *menu = installSkinMenu(again);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_TRUE(prompter_.shown.isEmpty());
    EXPECT_EQ(menu->actions().size(), 3 + 2); // three skins, separator, chooser
    EXPECT_TRUE(checkedEntries(menu).isEmpty());
}

} // namespace
