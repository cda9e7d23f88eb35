#include "viewer/pic_area.h"
#include "viewer_fixture.h"

#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

class ViewerWindow : public ViewerFixture {
protected:
    QStringList threePictures()
    {
        return {picture(QStringLiteral("a.png"), 300, 200, Qt::red),
            picture(QStringLiteral("b.png"), 400, 300, Qt::green),
            picture(QStringLiteral("c.png"), 500, 400, Qt::blue)};
    }
};

TEST_F(ViewerWindow, ArrowsAndWheelStepThroughTheListAndBeepAtTheEnds)
{
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request(threePictures(), 1)));
    QSignalSpy beeps(&viewer, &FrmPic::beeped);
    QSignalSpy selected(&viewer, &FrmPic::currentChanged);

    QTest::keyClick(&viewer, Qt::Key_Right);
    EXPECT_EQ(viewer.currentPosition(), 2);
    EXPECT_EQ(viewer.shownPicture().size(), QSize(500, 400));
    QTest::keyClick(&viewer, Qt::Key_Down);
    EXPECT_EQ(beeps.count(), 1);
    EXPECT_EQ(viewer.currentPosition(), 2);

    // One notch towards the user is Down, one away is Up.
    QWheelEvent up(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(&viewer, &up);
    QApplication::sendEvent(&viewer, &up);
    EXPECT_EQ(viewer.currentPosition(), 0);
    QTest::keyClick(&viewer, Qt::Key_Left);
    EXPECT_EQ(beeps.count(), 2);
    // A wheel turned with a key held is not a step.
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
        Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&viewer, &down);
    EXPECT_EQ(viewer.currentPosition(), 0);

    ASSERT_EQ(selected.count(), 3);
    EXPECT_EQ(selected.at(0).at(0).toInt(), 2);
    EXPECT_EQ(selected.at(2).at(0).toInt(), 0);
    viewer.close();
}

TEST_F(ViewerWindow, AnUnreadableEntryWhileSteppingLeavesOnlyTheBackground)
{
    QStringList paths = threePictures();
    paths.insert(1, dir.filePath(QStringLiteral("missing.jpg")));
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request(paths)));
    viewer.step(+1);
    EXPECT_FALSE(viewer.isPictureShown());
    viewer.step(+1);
    EXPECT_TRUE(viewer.isPictureShown());
    viewer.close();
}

TEST_F(ViewerWindow, APictureThatCannotBeOpenedOpensNothing)
{
    QWidget owner;
    owner.show();
    ViewerRequest r = request({dir.filePath(QStringLiteral("missing.jpg"))});
    r.owner = &owner;
    FrmPic viewer;
    QSignalSpy status(&viewer, &FrmPic::statusChanged);
    EXPECT_FALSE(viewer.open(r));
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_TRUE(owner.isVisible());
    ASSERT_EQ(status.count(), 1);
    EXPECT_TRUE(status.at(0).at(0).toString().startsWith(QStringLiteral("【操作错误】")));
}

TEST_F(ViewerWindow, HidesTheOwnerWhileOpenAndReportsWhereItEnded)
{
    QWidget owner;
    owner.show();
    ViewerRequest r = request(threePictures());
    r.owner = &owner;
    FrmPic viewer;
    QSignalSpy closed(&viewer, &FrmPic::closed);
    ASSERT_TRUE(viewer.open(r));
    EXPECT_FALSE(owner.isVisible());
    viewer.step(+1);
    QTest::keyClick(&viewer, Qt::Key_Escape);
    EXPECT_TRUE(owner.isVisible());
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).toInt(), 1);
}

TEST_F(ViewerWindow, BackgroundColourIsStoredAndUsedNextTime)
{
    {
        FrmPic viewer;
        ASSERT_TRUE(viewer.open(request(threePictures())));
        EXPECT_EQ(viewer.backgroundIndex(), 0);
        viewer.menuAction(QStringLiteral("灰色"))->trigger();
        EXPECT_TRUE(viewer.menuAction(QStringLiteral("灰色"))->isChecked());
        EXPECT_FALSE(viewer.menuAction(QStringLiteral("黑色"))->isChecked());
        viewer.close();
    }
    // Read back from the file, as a new run of the program would.
    QSettings reread(dir.filePath(QStringLiteral("tuvo.ini")), QSettings::IniFormat);
    EXPECT_EQ(reread.value(QStringLiteral("Options/iBGColor")).toString(), QStringLiteral("2"));

    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request(threePictures())));
    EXPECT_EQ(viewer.backgroundIndex(), 2);
    const QImage grab = viewer.grab().toImage();
    EXPECT_EQ(QColor(grab.pixel(5, 5)), QColor(125, 125, 125));
    viewer.close();
}

TEST_F(ViewerWindow, MenuOnlyForTheListsOwnPicturesInTheSingleView)
{
    const QStringList paths = threePictures();
    FrmPic single;
    ASSERT_TRUE(single.open(request(paths)));
    QTest::mousePress(&single, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(single.menu()->isVisible());
    single.menu()->hide();
    single.close();

    ViewerRequest processed = request(paths);
    processed.iViewSource = ViewSourceProcessed;
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(processed));
    QTest::mousePress(viewer.pictureArea(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(viewer.menu()->isVisible());
    viewer.close();
}

TEST_F(ViewerWindow, ProcessedViewShowsThePipelineResultAndRemovesItsScratchFile)
{
    ViewerRequest r = request(threePictures());
    r.iViewSource = ViewSourceProcessed;
    r.job.iuSize = kLimitWidth;
    r.job.iTargetW = 150;
    const QString temp = r.userDir + QStringLiteral("/tempBZ.bmp");
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(r));
    EXPECT_EQ(viewer.shownPicture().width(), 150);
    EXPECT_TRUE(QFile::exists(temp));
    viewer.step(+1);
    EXPECT_EQ(viewer.shownPicture().width(), 150);
    EXPECT_NEAR(viewer.shownPicture().height(), 112, 1);
    viewer.close();
    EXPECT_FALSE(QFile::exists(temp));
}

TEST_F(ViewerWindow, DoubleClickClosesOutsideCropMode)
{
    FrmPic viewer;
    QSignalSpy closed(&viewer, &FrmPic::closed);
    ASSERT_TRUE(viewer.open(request(threePictures())));
    QTest::mouseDClick(viewer.pictureArea(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(closed.count(), 1);
}

} // namespace
