#include "run/file_list.h"
#include "ui/file_list_view.h"
#include "ui/preview_canvas.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>

namespace {

template<typename T> T *child(MainWindow &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void makeFrame(const QString &path, QSize size)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    ASSERT_TRUE(img.save(path));
}

TEST_F(WindowTest, FrameListAndFitFrameModeKeepEachOtherConsistent)
{
    makeFrame(home() + QStringLiteral("/bk/gold.png"), QSize(300, 200));
    makeFrame(home() + QStringLiteral("/bk/wood.png"), QSize(120, 90));
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 1, QSize(64, 48));
    MainWindow &w = start(pics);
    auto *frames = child<QComboBox>(w, "cmbBk");
    auto *size = child<QComboBox>(w, "cmbSize");
    ASSERT_EQ(frames->count(), 5);
    EXPECT_EQ(frames->itemText(1), QStringLiteral("gold"));
    EXPECT_EQ(frames->itemText(4), QStringLiteral("网络下载边框..."));

    // Fitting the frame without one picks the first frame picture.
    size->setCurrentIndex(kFitFrame);
    EXPECT_EQ(frames->currentIndex(), 1);
    w.waitForPreview();
    EXPECT_EQ(w.canvas()->image().size(), QSize(300, 200));

    // The wheel steps through the frames (once the list has the focus) but stops
    // before the two commands.
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    frames->setFocus();
    QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(frames, &down);
    QCoreApplication::sendEvent(frames, &down);
    EXPECT_EQ(frames->currentIndex(), 2);
    EXPECT_EQ(w.job().sFrameFile, home() + QStringLiteral("/bk/wood.png"));
    EXPECT_TRUE(prompter_.shown.isEmpty());

    // "无边框" while fitting the frame falls back to limiting the width.
    frames->setCurrentIndex(0);
    EXPECT_EQ(size->currentIndex(), kLimitWidth);
    EXPECT_EQ(child<QLineEdit>(w, "txtWidth")->text(), QStringLiteral("800"));

    // The download entry opens the page and goes back to "无边框".
    frames->setCurrentIndex(4);
    EXPECT_EQ(frames->currentIndex(), 0);
    EXPECT_TRUE(opened_.last().startsWith(QStringLiteral("http")));
}

TEST_F(WindowTest, AddingAFrameFolderTwiceAddsItsFramesOnce)
{
    makeFrame(home() + QStringLiteral("/more/silver.png"), QSize(50, 50));
    makeFrame(home() + QStringLiteral("/more/stone.PNG"), QSize(50, 50));
    MainWindow &w = start();
    auto *frames = child<QComboBox>(w, "cmbBk");
    ASSERT_EQ(frames->count(), 3);
    answerDialogWith(home() + QStringLiteral("/more"));
    frames->setCurrentIndex(1); // "添加本地边框..."
    EXPECT_EQ(frames->count(), 5);
    EXPECT_EQ(frames->currentIndex(), 1);
    EXPECT_EQ(frames->itemText(3), QStringLiteral("添加本地边框..."));
    frames->setCurrentIndex(3);
    EXPECT_EQ(frames->count(), 5);
    EXPECT_EQ(frames->currentIndex(), 1); // nothing new: the previous frame stays
    EXPECT_EQ(prompter_.shown.last().title, QStringLiteral("文件夹/文件选择对话框"));
}

TEST_F(WindowTest, WatermarkChooserSetsPictureAndOpacity)
{
    QImage mark(40, 20, QImage::Format_ARGB32);
    mark.fill(QColor(255, 0, 0, 255));
    ASSERT_TRUE(mark.save(home() + QStringLiteral("/sy/logo.png")));
    MainWindow &w = start();
    prompter_.dialogHandler = [](QDialog *d) {
        auto *dlg = qobject_cast<FrmDlg *>(d);
        dlg->selectFiles({QStringLiteral("logo.png")});
        dlg->setOpacityText(QStringLiteral("35"));
        dlg->cmdOK_Click();
        return dlg->result();
    };
    child<QCheckBox>(w, "chkInfoImg")->setChecked(true);
    EXPECT_EQ(w.job().suISyF, home() + QStringLiteral("/sy/logo.png"));
    EXPECT_FLOAT_EQ(w.job().sngMarkMatrix[3][3], 0.35f);
    EXPECT_EQ(child<QLineEdit>(w, "txtAlpha")->text(), QStringLiteral("35"));
    EXPECT_EQ(child<QComboBox>(w, "cmbImgPos")->currentText(), QStringLiteral("右上"));
    EXPECT_TRUE(child<QComboBox>(w, "cmbImgPos")->isEnabled());
    EXPECT_TRUE(child<QLabel>(w, "lImg")->text().startsWith(QStringLiteral("图片水印:")));

    // Unticking forgets the picture; a cancelled chooser leaves the box unticked.
    child<QCheckBox>(w, "chkInfoImg")->setChecked(false);
    EXPECT_TRUE(w.job().suISyF.isEmpty());
    EXPECT_EQ(child<QLabel>(w, "lImg")->text(), QStringLiteral("图片水印:无"));
    prompter_.dialogHandler = nullptr;
    child<QCheckBox>(w, "chkInfoImg")->setChecked(true);
    EXPECT_FALSE(child<QCheckBox>(w, "chkInfoImg")->isChecked());
}

TEST_F(WindowTest, PresetPositionIsRecordedFromThePreview)
{
    QImage mark(100, 50, QImage::Format_ARGB32);
    mark.fill(QColor(0, 0, 255, 255));
    ASSERT_TRUE(mark.save(home() + QStringLiteral("/sy/m.png")));
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 1, QSize(800, 600));
    MainWindow &w = start(pics);
    prompter_.dialogHandler = [](QDialog *d) {
        auto *dlg = qobject_cast<FrmDlg *>(d);
        dlg->selectFiles({QStringLiteral("m.png")});
        dlg->cmdOK_Click();
        return dlg->result();
    };
    child<QCheckBox>(w, "chkInfoImg")->setChecked(true);
    child<QComboBox>(w, "cmbImgPos")->setCurrentIndex(kBottomRight);
    w.waitForPreview();
    EXPECT_NEAR(w.job().iuISyX, 0.93125, 1e-9);
    EXPECT_NEAR(w.job().iuISyY, 0.95, 1e-9);
}

TEST_F(WindowTest, RunWithErrorsWritesTheLogAndAsks)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2);
    const QString broken = home() + QStringLiteral("/in/broken.jpg");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    MainWindow &w = start({pics[0], broken, pics[1]});
    w.job().bSaveErr = 1;
    prompter_.yesNoAnswers = {true};
    runToEnd(w);
    const QString log = QDir(w.job().sOutDir).filePath(QStringLiteral("ErrorLog.txt"));
    ASSERT_TRUE(QFileInfo::exists(log));
    ASSERT_EQ(prompter_.shown.size(), 1);
    EXPECT_TRUE(
        prompter_.shown[0].text.startsWith(QStringLiteral("在处理过程中发生错误,这些错误已经保存到")));
    EXPECT_EQ(opened_.last(), log); // "是" opens the log
    EXPECT_TRUE(w.statusText().endsWith(QStringLiteral("请注意,在图片处理或上传过程中发生错误。")));
    EXPECT_EQ(QDir(w.job().sOutDir).entryList({QStringLiteral("*.jpg")}, QDir::Files).size(), 2);
    // Sources stay untouched.
    EXPECT_EQ(QFileInfo(broken).size(), 13);
}

TEST_F(WindowTest, CaptionIsStoredForItsPictureAndReachesTheRun)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 3);
    MainWindow &w = start(pics);
    w.listView()->setCurrentRow(2);
    auto *caption = child<QLineEdit>(w, "txtCaption");
    caption->setText(QStringLiteral("第三张"));
    QMetaObject::invokeMethod(caption, "returnPressed");
    EXPECT_EQ(w.fileList().caption(2), QStringLiteral("第三张"));
    w.listView()->setCurrentRow(0);
    w.listView()->selectionModel()->select(
        w.listView()->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    w.cmdDel_Click();
    EXPECT_EQ(w.fileList().caption(1), QStringLiteral("第三张"));
}

} // namespace

// A saved job comes back in one click: the fields, the controls and the preview
// follow it, the file list stays as it was.
TEST_F(WindowTest, SavedJobLoadsInOneClickAndLeavesTheFileList)
{
    makeFrame(home() + QStringLiteral("/bk/gold.png"), QSize(300, 200));
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2, QSize(200, 100));
    MainWindow &w = start(pics);
    auto *size = child<QComboBox>(w, "cmbSize");
    ASSERT_EQ(size->itemText(size->count() - 1), QStringLiteral("适应框内"));
    size->setCurrentIndex(size->count() - 1);
    w.job().iTargetW = 80;
    w.job().iTargetH = 80;
    w.job().iJPGQ = 61;
    w.job().sText = QStringLiteral("作业");
    w.job().bTextMark = 1;
    w.job().iuTxtPos = kTopLeft;
    prompter_.textAnswers << QStringLiteral("小图");
    prompter_.yesNoAnswers << false; // without the output folder
    child<QAction>(w, "mSaveJob")->trigger();
    ASSERT_TRUE(QFileInfo::exists(home() + QStringLiteral("/user/presets/小图.ini")));

    size->setCurrentIndex(kOriginalSize);
    w.job().iJPGQ = 100;
    w.job().sText.clear();
    w.job().bTextMark = 0;
    w.fileList().setCaption(1, QStringLiteral("说明"));
    auto *saved = child<QMenu>(w, "mSavedJobs");
    emit saved->aboutToShow();
    QAction *entry = nullptr;
    for (QAction *a : saved->actions())
        entry = a->text() == QStringLiteral("小图") ? a : entry;
    ASSERT_NE(entry, nullptr);
    entry->trigger();

    EXPECT_EQ(w.job().iuSize, w.job().fitInsideIndex());
    EXPECT_EQ(size->currentIndex(), w.job().fitInsideIndex());
    EXPECT_EQ(w.job().iJPGQ, 61);
    EXPECT_EQ(w.job().sText, QStringLiteral("作业"));
    EXPECT_EQ(w.job().iuTxtPos, kTopLeft);
    EXPECT_TRUE(child<QCheckBox>(w, "chkInfoTxt")->isChecked());
    EXPECT_EQ(w.fileList().paths(), pics);
    EXPECT_EQ(w.fileList().caption(1), QStringLiteral("说明"));
    w.waitForPreview();
    EXPECT_EQ(w.canvas()->image().size(), QSize(80, 40)); // 200 x 100 fit inside 80 x 80
}

// With a file-size target, the line under the preview says what each picture
// was written with, during the run and when the picture is chosen afterwards.
TEST_F(WindowTest, FileSizeTargetShowsEachPicturesSizeAndQuality)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2, QSize(640, 480));
    MainWindow &w = start(pics);
    w.job().iMaxBytes = 30 * 1024;
    runToEnd(w);
    const QStringList written = QDir(w.job().sOutDir).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    ASSERT_EQ(written.size(), 2);
    const qint64 bytes = QFileInfo(QDir(w.job().sOutDir).filePath(written[0])).size();
    EXPECT_LE(bytes, 30 * 1024);
    w.listView()->setCurrentRow(0);
    w.waitForPreview();
    const QString info = child<QLabel>(w, "lPicInfo")->text();
    EXPECT_TRUE(info.startsWith(QStringLiteral("p00.png")));
    EXPECT_TRUE(info.contains(QStringLiteral("已写入 %1 KB，质量 ").arg(double(bytes) / 1024.0, 0, 'f', 1)))
        << qPrintable(info);
}
