#include "job/settings_store.h"
#include "ui/frm_dlg.h"
#include "ui/frm_wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

class FrmDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(config.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
        settings = openSettingsStore(QStringLiteral("tuvo"));
        for (const char *name : {"b.jpg", "a.png", "c.gif", "skip.txt", "d.PNG"}) {
            QImage img(20, 10, QImage::Format_RGB32);
            img.fill(Qt::blue);
            img.save(QDir(dir.path()).filePath(QString::fromLatin1(name)), "PNG");
        }
    }

    QString storedODIR() { return OptionsStore(*settings).text(QStringLiteral("sODIR"), QString()); }

    QTemporaryDir dir;
    QTemporaryDir config;
    std::unique_ptr<QSettings> settings;
};

TEST_F(FrmDlgTest, ListsPicturesOfTheFolderAndReportsTheChoice)
{
    FrmDlg dlg(settings.get());
    dlg.setMode(FrmDlg::AddFilesMode);
    ASSERT_TRUE(dlg.setCurrentFolder(dir.path()));
    // The default filter: jpg, gif, png, bmp (the letter case of the name does not matter).
    EXPECT_EQ(dlg.fileNames(), (QStringList {"a.png", "b.jpg", "c.gif", "d.PNG"}));
    dlg.selectFiles({"c.gif", "a.png"});
    EXPECT_EQ(dlg.selectedFilePaths(),
        (QStringList {QDir(dir.path()).filePath("a.png"), QDir(dir.path()).filePath("c.gif")}));

    auto *files = dlg.findChild<QListWidget *>(QStringLiteral("File1"));
    auto *label = dlg.findChild<QLabel *>(QStringLiteral("Label1"));
    const QRect r = files->visualItemRect(files->item(2));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("您选择的是\"")));
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("\"等共")
        + QString::number(files->selectedItems().size()) + QStringLiteral("个文件。")));
}

TEST_F(FrmDlgTest, OkStoresTheFolderInEveryMode)
{
    for (int mode : {FrmDlg::FolderMode, FrmDlg::AddFilesMode, FrmDlg::NoActionMode}) {
        settings->remove(QStringLiteral("Options/sODIR"));
        FrmDlg dlg(settings.get());
        dlg.setMode(mode);
        dlg.setCurrentFolder(dir.path());
        dlg.cmdOK_Click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << mode;
        EXPECT_EQ(storedODIR(), QDir::toNativeSeparators(dir.path())) << mode;
    }
}

TEST_F(FrmDlgTest, WatermarkModeNeedsAFileAndCarriesTheOpacity)
{
    FrmDlg dlg(settings.get());
    dlg.setMode(FrmDlg::WatermarkMode);
    dlg.setStartAlpha(0); // outside 1..100: the slider keeps 80
    EXPECT_EQ(dlg.opacityText(), QStringLiteral("80"));
    dlg.setCurrentFolder(dir.path());
    dlg.cmdOK_Click();
    EXPECT_NE(dlg.result(), QDialog::Accepted); // no picture chosen: stays open
    EXPECT_TRUE(storedODIR().isEmpty());

    auto *slider = dlg.findChild<QSlider *>(QStringLiteral("HScroll1"));
    slider->setValue(35);
    EXPECT_EQ(dlg.opacityText(), QStringLiteral("35"));
    dlg.setOpacityText(QStringLiteral("abc"));
    EXPECT_EQ(slider->value(), 35); // not a whole number 0-100: the slider stays
    dlg.setOpacityText(QStringLiteral("35"));
    dlg.selectFiles({"a.png"});
    dlg.cmdOK_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.opacity(), 35);
}

TEST_F(FrmDlgTest, NewFolderTwiceCountsUpAndMovesIntoIt)
{
    FrmDlg dlg(settings.get());
    dlg.setMode(FrmDlg::FolderMode);
    dlg.setCurrentFolder(dir.path());
    const QString first = dlg.cmdDirNew_Click();
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("新建文件夹"));
    EXPECT_EQ(dlg.currentFolder(), QDir::toNativeSeparators(first));
    dlg.setCurrentFolder(dir.path());
    const QString second = dlg.cmdDirNew_Click();
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("新建文件夹( 2)"));
    EXPECT_TRUE(QFileInfo(second).isDir());
}

TEST_F(FrmDlgTest, FolderModeHidesFilesAndPngFilterNarrowsTheList)
{
    FrmDlg dlg(settings.get());
    dlg.setMode(FrmDlg::FolderMode);
    EXPECT_TRUE(dlg.findChild<QListWidget *>(QStringLiteral("File1"))->isHidden());
    dlg.setFileFilter(QStringLiteral("*.png"));
    dlg.setCurrentFolder(dir.path());
    EXPECT_EQ(dlg.fileNames(), (QStringList {"a.png", "d.PNG"}));
    dlg.cmdCancel_Click();
    EXPECT_TRUE(dlg.cancelledByButton());
}

// The choice follows the current folder however it was reached: arrow keys,
// type-ahead, a pasted path.
TEST_F(FrmDlgTest, KeysAndATypedPathMoveTheChoice)
{
    const QDir root(dir.path());
    for (const char *name : {"alpha", "beta", "gamma"})
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(name)));
    FrmDlg dlg(settings.get());
    ASSERT_TRUE(dlg.setCurrentFolder(dir.path()));
    dlg.show();
    auto *tree = dlg.findChild<QTreeView *>(QStringLiteral("Dir1"));
    auto *label = dlg.findChild<QLabel *>(QStringLiteral("Label1"));
    auto *path = dlg.findChild<QLineEdit *>(QStringLiteral("txtPath"));
    // The model reads and sorts the sub-folders in the background.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return tree->model()->index(0, 0, tree->currentIndex()).data() == QStringLiteral("alpha"); }));
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(label->text(),
        QStringLiteral("您选择的是\"") + root.filePath("alpha") + QStringLiteral("\"文件夹。"));
    QTest::keyClicks(tree, QStringLiteral("gam"));
    EXPECT_EQ(path->text(), root.filePath("gamma"));

    // Return goes to a pasted path; a second Return is OK's.
    path->selectAll();
    path->insert(root.filePath("beta"));
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(tree->currentIndex().data().toString(), QStringLiteral("beta"));
    QTest::keyClick(path, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(storedODIR(), root.filePath("beta"));
}

TEST(FrmWait, EllipsisBlinks)
{
    FrmWait wait;
    wait.show();
    const QString first = wait.text();
    EXPECT_EQ(first, QStringLiteral("正在处理，请稍候 …"));
    QElapsedTimer t;
    t.start();
    while (wait.text() == first && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(wait.text(), QStringLiteral("正在处理，请稍候"));
}

} // namespace

TEST_F(FrmDlgTest, OpensWithTheCurrentFolderInView)
{
    // Enough folders before it that the current one lies far below the first screen.
    for (int i = 0; i < 120; ++i)
        QDir(dir.path()).mkpath(QStringLiteral("a%1").arg(i, 3, 10, QLatin1Char('0')));
    const QString deep = QDir(dir.path()).filePath(QStringLiteral("a119/inner/zp"));
    ASSERT_TRUE(QDir().mkpath(deep));
    FrmDlg dlg(settings.get());
    dlg.setMode(FrmDlg::FolderMode);
    ASSERT_TRUE(dlg.setCurrentFolder(deep));
    dlg.resize(760, 420);
    dlg.show();
    auto *tree = dlg.findChild<QTreeView *>(QStringLiteral("Dir1"));
    ASSERT_NE(tree, nullptr);
    const auto inView = [tree] {
        const QRect r = tree->visualRect(tree->currentIndex());
        return r.isValid() && tree->viewport()->rect().contains(r.center());
    };
    // Let the background folder reading finish; the view must end on the folder.
    QTest::qWait(1500);
    EXPECT_TRUE(QTest::qWaitFor(inView, 3000));
    EXPECT_EQ(QDir(tree->model()->data(tree->currentIndex(), QFileSystemModel::FilePathRole).toString()),
        QDir(deep));
}
