#include "run/file_list.h"
#include "ui/file_list_view.h"
#include "ui/main_window_viewer.h"
#include "viewer/crop_action_bar.h"
#include "viewer/frm_pic.h"
#include "viewer/pic_area.h"
#include "viewer/thumbnail_panel.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

void dragOn(QWidget *area, QPoint from, QPoint to)
{
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(area->mapToGlobal(to)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &move);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, to);
}

} // namespace

TEST_F(WindowTest, ViewerOpensOnTheListEntryAndStepsTheListWithIt)
{
    MainWindow &w = start();
    w.show();
    installViewerCommands(w);
    EXPECT_EQ(openViewer(w, ViewerCommand::Pictures), nullptr);
    EXPECT_EQ(w.statusText(), QStringLiteral("【操作错误】当前没有图片可以浏览。"));

    w.appendPictures(makePictures(home() + QStringLiteral("/pics"), 3));
    w.listView()->setCurrentRow(1);
    w.findChild<QAction *>(QStringLiteral("mView"))->trigger();
    auto *viewer = qobject_cast<FrmPic *>(QApplication::activeWindow());
    if (!viewer) {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *v = qobject_cast<FrmPic *>(top); v && v->isVisible())
                viewer = v;
    }
    ASSERT_NE(viewer, nullptr);
    QPointer<FrmPic> guard(viewer);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(viewer->currentPosition(), 1);
    QTest::keyClick(viewer, Qt::Key_Right);
    EXPECT_EQ(w.listView()->currentRow(), 2);
    QTest::keyClick(viewer, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

TEST_F(WindowTest, ViewerCropsJoinTheListAndThumbnailRemovalsLeaveIt)
{
    MainWindow &w = start();
    w.show();
    w.appendPictures(makePictures(home() + QStringLiteral("/pics"), 3, QSize(320, 240)));
    w.listView()->setCurrentRow(0);

    QPointer<FrmPic> crop = openViewer(w, ViewerCommand::Crop);
    ASSERT_FALSE(crop.isNull());
    ASSERT_TRUE(crop->bCropMode());
    dragOn(crop->pictureArea(), {10, 10}, {110, 60});
    prompter_.yesNoAnswers = {true};
    crop->actionBar()->button(CropActionBar::Confirm)->click();
    ASSERT_EQ(w.fileList().count(), 4);
    EXPECT_TRUE(w.fileList().path(3).startsWith(w.paths().userDir()));
    EXPECT_EQ(QImage(w.fileList().path(3)).size(), QSize(100, 50));
    EXPECT_EQ(w.listView()->currentRow(), 3);
    crop->close();

    QPointer<FrmPic> thumbs = openViewer(w, ViewerCommand::Thumbnails);
    ASSERT_FALSE(thumbs.isNull());
    thumbs->thumbnailPanel()->waitForThumbnails();
    thumbs->thumbnailPanel()->removeAt(1);
    ASSERT_EQ(w.fileList().count(), 3);
    EXPECT_FALSE(w.fileList().paths().join(QLatin1Char('|')).contains(QStringLiteral("p01.png")));
    thumbs->close();
}

TEST_F(WindowTest, ViewerOfTheProcessedPictureNeedsASizeFirst)
{
    MainWindow &w = start();
    w.show();
    w.appendPictures(makePictures(home() + QStringLiteral("/pics"), 1));
    w.job().iuSize = kLimitWidth;
    w.job().iTargetW = 0;
    w.job().iTargetH = 0;
    EXPECT_EQ(openViewer(w, ViewerCommand::Processed), nullptr);
    ASSERT_FALSE(prompter_.shown.isEmpty());
    EXPECT_EQ(prompter_.shown.last().text, QStringLiteral("图片尺寸不能同时为0！"));
    EXPECT_TRUE(w.isVisible());
}

TEST_F(WindowTest, BrowseMenuHoldsTheFourViews)
{
    MainWindow &w = start();
    w.show();
    installViewerCommands(w);
    QMenu *browse = nullptr;
    for (QAction *a : w.menuBar()->actions())
        if (a->menu() && a->text().startsWith(QStringLiteral("浏览")))
            browse = a->menu();
    ASSERT_NE(browse, nullptr);
    QStringList texts;
    for (QAction *a : browse->actions().mid(0, 4))
        texts << a->text();
    EXPECT_EQ(texts,
        (QStringList {QStringLiteral("全屏查看原图"), QStringLiteral("全屏预览处理图"),
            QStringLiteral("多图列表浏览原图"), QStringLiteral("幻灯片模式浏览原图")}));

    browse->actions().at(0)->trigger();
    EXPECT_EQ(w.statusText(), QStringLiteral("【操作错误】当前没有图片可以浏览。"));

    w.appendPictures(makePictures(home() + QStringLiteral("/pics"), 3));
    const auto openedViewer = [] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *v = qobject_cast<FrmPic *>(top); v && v->isVisible())
                return QPointer<FrmPic>(v);
        return QPointer<FrmPic>();
    };
    for (const auto &[index, mode] : {std::pair {2, int(ViewModeThumbnails)}, {3, int(ViewModeSlideshow)}}) {
        browse->actions().at(index)->trigger();
        QPointer<FrmPic> viewer = openedViewer();
        ASSERT_FALSE(viewer.isNull()) << index;
        EXPECT_EQ(viewer->iViewMode(), mode);
        EXPECT_EQ(viewer->iViewSource(), int(ViewSourcePictures));
        if (viewer->thumbnailPanel())
            viewer->thumbnailPanel()->waitForThumbnails();
        viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
