#include "render/texts.h"
#include "run/file_list.h"
#include "settings/display_texts.h"
#include "settings/single_instance.h"
#include "ui/file_list_view.h"
#include "ui/help_pages.h"
#include "ui/preview_canvas.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUuid>
#include <QWheelEvent>

namespace {

template<typename T> T *child(MainWindow &w, const char *name)
{
    T *c = w.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

TEST_F(WindowTest, FirstStartShowsTheDefaults)
{
    MainWindow &w = start();
    EXPECT_EQ(child<QComboBox>(w, "cmbSize")->currentText(), QStringLiteral("限制宽度"));
    EXPECT_EQ(child<QLineEdit>(w, "txtWidth")->text(), QStringLiteral("800"));
    EXPECT_EQ(child<QLineEdit>(w, "txtHeight")->text(), QStringLiteral("0"));
    EXPECT_FALSE(child<QLineEdit>(w, "txtHeight")->isEnabled());
    EXPECT_EQ(child<QComboBox>(w, "cmbFormat")->currentText(), QStringLiteral("jpg"));
    EXPECT_EQ(child<QLineEdit>(w, "txtAlpha")->text(), QStringLiteral("80"));
    EXPECT_EQ(child<QLineEdit>(w, "txtSize")->text(), QStringLiteral("9"));
    EXPECT_EQ(child<QComboBox>(w, "cmbBk")->currentText(), QStringLiteral("无边框"));
    EXPECT_FALSE(child<QCheckBox>(w, "chkInfoTxt")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(w, "chkInfoImg")->isChecked());
    EXPECT_EQ(child<QLineEdit>(w, "txtPrefix")->text(), QStringLiteral("Tuvo_"));
    EXPECT_EQ(child<QLineEdit>(w, "txtDigits")->text(), QStringLiteral("4"));
    EXPECT_FALSE(child<QLineEdit>(w, "txtPrefix")->isEnabled());
    EXPECT_EQ(child<QLabel>(w, "lOut")->text(), outputFolderLabel(paths_.zpDir()));
    EXPECT_EQ(child<QLabel>(w, "lFile")->text(), QStringLiteral("图片数量:0个"));
    EXPECT_EQ(w.job().iJPGQ, 100);
    EXPECT_EQ(w.job().sFont, QStringLiteral("宋体"));
    EXPECT_TRUE(QFileInfo(paths_.zpDir()).isDir());
    EXPECT_TRUE(QFileInfo(paths_.userDir()).isDir());
    EXPECT_EQ(w.statusText(), QStringLiteral("就绪。"));
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Tuvo图片批量处理")));
    EXPECT_TRUE(w.mainLoaded());
    EXPECT_TRUE(prompter_.shown.isEmpty());
}

TEST_F(WindowTest, SettingsSurviveARestartAndExitDoesNotSave)
{
    {
        MainWindow &w = start();
        child<QComboBox>(w, "cmbSize")->setCurrentIndex(kOriginalSize);
        child<QLineEdit>(w, "txtAlpha")->setText(QStringLiteral("35"));
        child<QLineEdit>(w, "txtSize")->setText(QStringLiteral("14"));
        closeWindow();
    }
    EXPECT_EQ(settingsValue(QStringLiteral("iuSize")), QStringLiteral("2"));
    EXPECT_EQ(settingsValue(QStringLiteral("iuSYAlpha")), QStringLiteral("35"));
    {
        MainWindow &w = start();
        EXPECT_EQ(child<QComboBox>(w, "cmbSize")->currentIndex(), kOriginalSize);
        EXPECT_EQ(child<QLineEdit>(w, "txtAlpha")->text(), QStringLiteral("35"));
        EXPECT_EQ(child<QLineEdit>(w, "txtSize")->text(), QStringLiteral("14"));
        EXPECT_FLOAT_EQ(w.job().sngMarkMatrix[3][3], 0.35f);
        child<QComboBox>(w, "cmbSize")->setCurrentIndex(kLimitWidth);
        w.mExit_Click(); // "退    出": ends without the shutdown save
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_EQ(settingsValue(QStringLiteral("iuSize")), QStringLiteral("2"));
    MainWindow &w = start();
    EXPECT_EQ(child<QComboBox>(w, "cmbSize")->currentIndex(), kOriginalSize);
}

TEST_F(WindowTest, EmptyListRefusesToStartAndOpensAddFiles)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2);
    MainWindow &w = start();
    answerDialogWith(home() + QStringLiteral("/in"), {QStringLiteral("p01.png")});
    runToEnd(w);
    ASSERT_GE(prompter_.shown.size(), 2);
    EXPECT_EQ(prompter_.shown[0].kind, QStringLiteral("message"));
    EXPECT_EQ(prompter_.shown[0].text, QStringLiteral("没有添加要处理的图片！"));
    EXPECT_EQ(prompter_.shown[0].icon, Prompter::Icon::Error);
    EXPECT_EQ(prompter_.shown[1].kind, QStringLiteral("dialog"));
    EXPECT_EQ(prompter_.shown[1].title, QStringLiteral("文件夹/文件选择对话框"));
    EXPECT_TRUE(filesIn(paths_.zpDir()).isEmpty());
    // The add-files dialog that opened took the chosen picture.
    EXPECT_EQ(w.fileList().paths(), QStringList {pics[1]});
    EXPECT_EQ(settingsValue(QStringLiteral("sODIR")), home() + QStringLiteral("/in"));
}

TEST_F(WindowTest, AddFilesSkipsThoseAlreadyListed)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 3);
    MainWindow &w = start({pics[1]});
    answerDialogWith(home() + QStringLiteral("/in"), {"p00.png", "p01.png", "p02.png"});
    w.cmdAdd_Click();
    EXPECT_EQ(w.fileList().paths(), (QStringList {pics[1], pics[0], pics[2]}));
    EXPECT_EQ(w.listView()->currentRow(), 2);
}

TEST_F(WindowTest, RemovingTwoAndFourThenUndoRestoresTheOrder)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 5);
    MainWindow &w = start(pics);
    FileListView *list = w.listView();
    list->selectionModel()->clearSelection();
    for (int row : {2, 4})
        list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
    w.cmdDel_Click();
    EXPECT_EQ(w.fileList().paths(), (QStringList {pics[0], pics[1], pics[3]}));
    EXPECT_EQ(child<QLabel>(w, "lFile")->text(), QStringLiteral("图片数量:3个"));
    QAction *undo = child<QAction>(w, "mUndoDel");
    ASSERT_TRUE(undo->isEnabled());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(w.fileList().paths(), pics);
    EXPECT_FALSE(undo->isEnabled());
    // Esc with nothing to undo changes nothing.
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(w.fileList().paths(), pics);
}

TEST_F(WindowTest, PageKeysMoveByWholePagesAndStopAtTheEnds)
{
    QStringList paths;
    for (int i = 0; i < 200; ++i)
        paths << QStringLiteral("/nowhere/%1.jpg").arg(i);
    MainWindow &w = start(paths);
    FileListView *list = w.listView();
    w.show();
    QCoreApplication::processEvents();
    const int page = list->pageSize();
    ASSERT_GT(page, 1);
    list->setCurrentRow(198);
    QTest::keyClick(list, Qt::Key_PageDown);
    EXPECT_EQ(list->currentRow(), 199);
    QTest::keyClick(list, Qt::Key_PageUp);
    EXPECT_EQ(list->currentRow(), 199 - page);
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(list->currentRow(), 0);
    QTest::keyClick(list, Qt::Key_PageUp);
    EXPECT_EQ(list->currentRow(), 0);
    QTest::keyClick(list, Qt::Key_PageDown);
    EXPECT_EQ(list->currentRow(), page);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->currentRow(), 199);
    // The hover tip of an entry is its full path.
    EXPECT_EQ(list->model()->index(3, 0).data(Qt::ToolTipRole).toString(), paths[3]);
}

TEST_F(WindowTest, RemovingEverythingDisablesRemovalAndClearsThePreview)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2);
    MainWindow &w = start(pics);
    w.waitForPreview();
    EXPECT_TRUE(w.canvas()->hasImage());
    w.listView()->selectAll();
    QTest::keyClick(w.listView(), Qt::Key_Delete);
    EXPECT_TRUE(w.fileList().isEmpty());
    EXPECT_FALSE(child<QPushButton>(w, "cmdDel")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(w, "cmdClr")->isEnabled());
    EXPECT_FALSE(w.canvas()->hasImage());
    EXPECT_TRUE(child<QLabel>(w, "lPicInfo")->text().isEmpty());
    EXPECT_EQ(w.statusText(), QStringLiteral("就绪。"));
    w.cmdClr_Click();
    EXPECT_EQ(child<QLabel>(w, "lFile")->text(), QStringLiteral("图片数量:0个"));
    EXPECT_FALSE(child<QAction>(w, "mUndoDel")->isEnabled());

    // "全部清空" also takes the last picture's name off the caption above the preview.
    w.appendPictures(pics);
    w.waitForPreview();
    EXPECT_TRUE(child<QLabel>(w, "lPicInfo")->text().startsWith(QStringLiteral("p01.png")));
    w.cmdClr_Click();
    EXPECT_TRUE(child<QLabel>(w, "lPicInfo")->text().isEmpty());
}

TEST_F(WindowTest, AddingAFolderTwiceAddsNothingTheSecondTime)
{
    makePictures(home() + QStringLiteral("/in"), 3);
    makePictures(home() + QStringLiteral("/in/sub"), 2);
    MainWindow &w = start();
    answerDialogWith(home() + QStringLiteral("/in"));
    addFolderToEnd(w);
    EXPECT_EQ(w.fileList().count(), 3);
    addFolderToEnd(w);
    EXPECT_EQ(w.fileList().count(), 3);
    answerDialogWith(home() + QStringLiteral("/in"), {}, true);
    addFolderToEnd(w);
    EXPECT_EQ(w.fileList().count(), 5); // only the sub-folder's pictures are new
    EXPECT_EQ(child<QLabel>(w, "lFile")->text(), QStringLiteral("图片数量:5个"));
    EXPECT_EQ(w.listView()->currentRow(), 4);
}

TEST_F(WindowTest, CancelButtonForgetsTheFolderAndAddsNothing)
{
    makePictures(home() + QStringLiteral("/in"), 2);
    MainWindow &w = start();
    prompter_.dialogHandler = [this](QDialog *d) {
        auto *dlg = qobject_cast<FrmDlg *>(d);
        dlg->setCurrentFolder(home() + QStringLiteral("/in"));
        dlg->cmdCancel_Click();
        return dlg->result();
    };
    addFolderToEnd(w);
    EXPECT_TRUE(w.fileList().isEmpty());
    EXPECT_TRUE(w.job().sODIR.isEmpty());
}

TEST_F(WindowTest, OutputFolderLabelShowsTheWholeZpPathThenShortensA30CharacterChoice)
{
    const int room = 30 - int(home().size()) - 1;
    if (room < 1)
        GTEST_SKIP() << "temporary folder path too long";
    const QString folder = home() + QLatin1Char('/') + QString(room, QLatin1Char('o'));
    ASSERT_EQ(folder.size(), 30);
    ASSERT_TRUE(QDir().mkpath(folder));
    // At start the label names the whole zp path, however long, and keeps it
    // when a dialog re-reads the controls.
    paths_ = AppPaths::at(home(), home() + QStringLiteral("/a writable folder with a long name"));
    MainWindow &w = start();
    const QString wholeZp = QStringLiteral("输出文件夹:") + QDir::toNativeSeparators(paths_.zpDir());
    EXPECT_EQ(child<QLabel>(w, "lOut")->text(), wholeZp);
    w.syncControlsFromJob();
    EXPECT_EQ(child<QLabel>(w, "lOut")->text(), wholeZp);

    answerDialogWith(folder);
    w.cmdODir_Click();
    EXPECT_EQ(w.job().sOutDir, folder);
    EXPECT_EQ(child<QLabel>(w, "lOut")->text(),
        QStringLiteral("输出文件夹:") + folder.left(3) + QStringLiteral("...") + folder.right(17));
    EXPECT_EQ(settingsValue(QStringLiteral("sODIR")), folder);
}

TEST_F(WindowTest, MinimiseQuestionComesAt101EntriesNot100)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 101, QSize(8, 8));
    MainWindow &w = start(pics.mid(0, 100));
    child<QComboBox>(w, "cmbSize")->setCurrentIndex(kOriginalSize);
    runToEnd(w);
    EXPECT_TRUE(prompter_.shown.isEmpty());
    EXPECT_EQ(filesIn(paths_.zpDir()).size(), 100);

    w.appendPictures({pics[100]});
    prompter_.yesNoAnswers = {false};
    runToEnd(w);
    ASSERT_EQ(prompter_.shown.size(), 1);
    EXPECT_EQ(prompter_.shown[0].kind, QStringLiteral("question"));
    EXPECT_EQ(prompter_.shown[0].text, texts::minimiseQuestion());
    EXPECT_EQ(filesIn(paths_.zpDir()).size(), 101);
    EXPECT_EQ(w.statusText(), QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。"));
    EXPECT_EQ(opened_.last(), w.job().sOutDir); // bAutoODir opens the folder
}

// Presses "停止处理" as soon as the fifth picture has been written.
class StoppingWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    int stopAfter = -1;
    QStringList captions;
    void setStartCaption(const QString &caption) override
    {
        captions << caption;
        MainWindow::setStartCaption(caption);
    }
    void pictureFinished(int position, const RenderResult &result) override
    {
        MainWindow::pictureFinished(position, result);
        if (position == stopAfter)
            cmdStop_Click();
    }
};

TEST_F(WindowTest, StopAfterTheFifthOfTenEndsTheRun)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 10, QSize(1600, 1200));
    settings_ = openSettingsStore(QStringLiteral("tuvo"));
    StoppingWindow w(paths_, settings_.get());
    w.setExternalOpener([](const QString &) {});
    w.setRunJobs(1);
    w.load(pics);
    w.stopAfter = 4;
    runToEnd(w);
    const QStringList written = filesIn(paths_.zpDir());
    // The fifth picture is finished and written. The run goes on beside the
    // window, so the pictures begun before the stop reached it are finished too;
    // the list is not.
    EXPECT_GE(written.size(), 5);
    EXPECT_LT(written.size(), 10);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(written.contains(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'))));
    // The stop gives the start command its caption back at once.
    EXPECT_TRUE(w.captions.contains(QStringLiteral("进度:4/10")));
    EXPECT_FALSE(w.captions.contains(QStringLiteral("进度:10/10")));
    EXPECT_EQ(w.captions.last(), QStringLiteral("开始处理"));
    EXPECT_EQ(w.findChild<QPushButton *>(QStringLiteral("cmdStart"))->text(), QStringLiteral("开始处理"));
    EXPECT_TRUE(w.findChild<QPushButton *>(QStringLiteral("cmdStart"))->isEnabled());
    EXPECT_FALSE(w.findChild<QPushButton *>(QStringLiteral("cmdStop"))->isEnabled());

    // A rerun after the stop processes the whole list.
    w.stopAfter = -1;
    runToEnd(w);
    EXPECT_EQ(filesIn(paths_.zpDir()).size(), 10);
    w.waitForPreview();
}

TEST_F(WindowTest, CustomSizeWithZeroWidthIsRefusedAndFocusesTheWidth)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 1);
    MainWindow &w = start(pics);
    auto *size = child<QComboBox>(w, "cmbSize");
    size->setCurrentIndex(size->count() - 1);
    EXPECT_EQ(child<QLineEdit>(w, "txtHeight")->text(), QStringLiteral("600"));
    child<QLineEdit>(w, "txtWidth")->setText(QStringLiteral("0"));
    runToEnd(w);
    ASSERT_EQ(prompter_.shown.size(), 1);
    EXPECT_EQ(prompter_.shown[0].text, QStringLiteral("图片尺寸不能为0！"));
    EXPECT_TRUE(filesIn(paths_.zpDir()).isEmpty());
}

TEST_F(WindowTest, PreviewFollowsSelectionAndSize)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 3, QSize(160, 120));
    MainWindow &w = start(pics);
    w.waitForPreview();
    EXPECT_EQ(w.canvas()->image().size(), QSize(800, 600)); // limit width 800

    child<QComboBox>(w, "cmbSize")->setCurrentIndex(kOriginalSize);
    w.waitForPreview();
    EXPECT_EQ(w.canvas()->image().size(), QSize(160, 120));

    // One wheel notch towards the user over the preview steps to the next entry.
    w.listView()->setCurrentRow(0);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w.canvas(), &down);
    EXPECT_EQ(w.listView()->currentRow(), 1);
    w.waitForPreview();
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral(" - ") + pics[1]));
}

TEST_F(WindowTest, LivePreviewSwitchStopsRendering)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2, QSize(160, 120));
    MainWindow &w = start(pics);
    w.waitForPreview();
    child<QAction>(w, "mPreview")->setChecked(false);
    EXPECT_TRUE(w.runState().bPreviewOff);
    child<QComboBox>(w, "cmbSize")->setCurrentIndex(kOriginalSize);
    w.waitForPreview();
    EXPECT_EQ(w.canvas()->image().size(), QSize(800, 600));
    child<QAction>(w, "mPreview")->setChecked(true);
    w.waitForPreview();
    EXPECT_EQ(w.canvas()->image().size(), QSize(160, 120));
}

TEST_F(WindowTest, DroppedBitmapBecomesAFileInTheUserFolder)
{
    MainWindow &w = start();
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    QMimeData data;
    data.setImageData(img);
    w.dropPictures(&data);
    ASSERT_EQ(w.fileList().count(), 1);
    const QString path = w.fileList().path(0);
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("tempWL")));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(paths_.userDir()).absoluteFilePath());
    EXPECT_EQ(QImage(path).size(), QSize(30, 20));
    EXPECT_TRUE(child<QPushButton>(w, "cmdDel")->isEnabled());
}

TEST_F(WindowTest, DroppedFilesSkipDuplicatesAndNonPictures)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2);
    MainWindow &w = start({pics[0]});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(pics[0]), QUrl::fromLocalFile(pics[1]),
        QUrl::fromLocalFile(home() + QStringLiteral("/notes.txt"))});
    w.dropPictures(&data);
    EXPECT_EQ(w.fileList().paths(), pics);
}

TEST_F(WindowTest, SecondInstanceHandsItsPathsToTheWindow)
{
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 2);
    MainWindow &w = start();
    const QString key = QStringLiteral("tuvo-test-") + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(key);
    ASSERT_FALSE(first.handOverOrListen({}));
    w.listenTo(first);
    SingleInstance second(key);
    EXPECT_TRUE(second.handOverOrListen(pics));
    QElapsedTimer t;
    t.start();
    while (w.fileList().count() < 2 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(w.fileList().paths(), pics);
    EXPECT_EQ(w.listView()->currentRow(), 1);
}

TEST_F(WindowTest, StoredTextWatermarkDoesNotOpenADialogAtStart)
{
    {
        auto s = openSettingsStore(QStringLiteral("tuvo"));
        s->setValue(QStringLiteral("Options/sText"), QStringLiteral("Tuvo"));
        s->setValue(QStringLiteral("Options/iuTSyX"), QStringLiteral("0.5"));
    }
    bool dialogOpened = false;
    settings_ = openSettingsStore(QStringLiteral("tuvo"));
    window_ = std::make_unique<MainWindow>(paths_, settings_.get());
    QObject::connect(window_.get(), &MainWindow::textWatermarkRequested, [&] { dialogOpened = true; });
    window_->load();
    EXPECT_FALSE(dialogOpened);
    EXPECT_TRUE(child<QCheckBox>(*window_, "chkInfoTxt")->isChecked());
    EXPECT_EQ(child<QComboBox>(*window_, "cmbTxtPos")->currentText(), QStringLiteral("自定义"));
    EXPECT_EQ(child<QLabel>(*window_, "lTxt")->text(), QStringLiteral("文字水印:Tuvo"));
}

} // namespace

TEST_F(WindowTest, HelpEntriesOpenTheInstalledDocumentsNeverAPlaceholder)
{
    // An installed layout: data in share/tuvo, documents in share/doc/tuvo.
    const QString share = home() + QStringLiteral("/share");
    paths_ = AppPaths::at(share + QStringLiteral("/tuvo"), home());
    MainWindow &w = start();
    QMenu *help = nullptr;
    for (QAction *a : w.menuBar()->actions())
        if (a->menu() && a->text().startsWith(QStringLiteral("帮助")))
            help = a->menu();
    ASSERT_NE(help, nullptr);
    QStringList texts;
    for (QAction *a : help->actions())
        if (!a->isSeparator())
            texts << a->text();
    EXPECT_EQ(texts,
        (QStringList {QStringLiteral("使用指南"), QStringLiteral("关于Tuvo..."), QStringLiteral("更新说明"),
            QStringLiteral("许可协议"), QStringLiteral("问题反馈")}));

    for (const char *name : {"mNews", "mLicence", "mReport"})
        ASSERT_NE(w.findChild<QAction *>(QLatin1String(name)), nullptr) << name;
    // Nothing installed: a message, and nothing is opened.
    child<QAction>(w, "mLicence")->trigger();
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_EQ(w.statusText(), QStringLiteral("【操作错误】找不到许可协议文件。"));

    const auto put = [](const QString &path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("text\n");
        return path;
    };
    const QString notes = put(share + QStringLiteral("/doc/tuvo/RELEASE-NOTES.md"));
    const QString licence = put(share + QStringLiteral("/doc/tuvo/LICENSE"));
    const QString report = put(share + QStringLiteral("/tuvo/doc/问题反馈.txt"));
    for (const char *name : {"mNews", "mLicence", "mReport"})
        child<QAction>(w, name)->trigger();
    EXPECT_EQ(opened_, (QStringList {notes, licence, report}));

    // A build tree has them beside its programs' data.
    const AppPaths build = AppPaths::forProgramIn(QStringLiteral(TUVO_BINARY_DIR "/bin"), home());
    for (const HelpPage &page : helpPages())
        EXPECT_FALSE(helpPageTarget(page, build).isEmpty()) << page.objectName.toStdString();
}
