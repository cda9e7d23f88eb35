#include "viewer/pic_area.h"
#include "viewer/picture_placement.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace {

const QSize kScreen(1920, 1080);

TEST(Placement, WidePictureShrinksToTheScreenWidth)
{
    const PicturePlacement p = fitToScreen({3840, 1000}, kScreen);
    EXPECT_EQ(p.area, QRect(0, 290, 1920, 500));
    EXPECT_TRUE(p.fitted);
}

TEST(Placement, APictureOfTheScreensSizeStaysAsItIs)
{
    // Exactly the screen's shape and size is neither enlarged nor shrunk.
    EXPECT_EQ(fitToScreen(kScreen, kScreen).area, QRect(QPoint(0, 0), kScreen));
}

TEST(Placement, OwnSizeStartsAtTheEdgeOfADimensionThatDoesNotFit)
{
    EXPECT_EQ(ownSizePlacement({4000, 3000}, kScreen).area, QRect(0, 0, 4000, 3000));
    EXPECT_EQ(ownSizePlacement({4000, 500}, kScreen).area, QRect(0, 290, 4000, 500));
    EXPECT_EQ(ownSizePlacement({800, 600}, kScreen).area, QRect(560, 240, 800, 600));
}

TEST(Placement, PanningStopsOnceTheEdgeHasReachedTheScreen)
{
    const QPoint grab(100, 100);
    // Dragging left moves a picture whose right edge lies beyond the screen ...
    EXPECT_EQ(panStep(QRect(0, 0, 4000, 3000), kScreen, grab, {40, 100}), QPoint(-60, 0));
    // ... but not once its right edge is on screen.
    EXPECT_EQ(panStep(QRect(-2080, 0, 4000, 3000), kScreen, grab, {40, 100}), QPoint(-2080, 0));
    // Dragging right only brings back a picture whose left edge is off screen;
    // the last step may overshoot, as nothing clamps it.
    EXPECT_EQ(panStep(QRect(0, 0, 4000, 3000), kScreen, grab, {160, 100}), QPoint(0, 0));
    EXPECT_EQ(panStep(QRect(-30, -10, 4000, 3000), kScreen, grab, {160, 130}), QPoint(30, 20));
}

class PlacementWindow : public ViewerFixture { };

TEST_F(PlacementWindow, OpensFittedOrAtOwnSizeAndTheMenuFollows)
{
    const QString big = picture(QStringLiteral("big.jpg"), 4000, 3000);
    const QString small = picture(QStringLiteral("small.png"), 800, 600);
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request({big, small})));
    EXPECT_EQ(viewer.pictureGeometry(), QRect(240, 0, 1440, 1080));
    EXPECT_TRUE(viewer.menuAction(QStringLiteral("适合屏幕"))->isChecked());
    EXPECT_FALSE(viewer.menuAction(QStringLiteral("原始大小"))->isChecked());

    viewer.step(+1);
    EXPECT_EQ(viewer.pictureGeometry(), QRect(560, 240, 800, 600));
    EXPECT_FALSE(viewer.isFitChecked());
    EXPECT_TRUE(viewer.menuAction(QStringLiteral("原始大小"))->isChecked());
    viewer.close();
}

// The zoom the user chose holds while stepping through the pictures.
TEST_F(PlacementWindow, OwnSizeHoldsWhileSteppingUntilFitIsChosen)
{
    const QString first = picture(QStringLiteral("first.jpg"), 4000, 3000);
    const QString second = picture(QStringLiteral("second.jpg"), 4000, 3000);
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request({first, second})));
    viewer.menuAction(QStringLiteral("原始大小"))->trigger();
    viewer.step(+1);
    EXPECT_EQ(viewer.pictureGeometry(), QRect(0, 0, 4000, 3000));
    EXPECT_TRUE(viewer.menuAction(QStringLiteral("原始大小"))->isChecked());

    viewer.menuAction(QStringLiteral("适合屏幕"))->trigger();
    viewer.step(-1);
    EXPECT_EQ(viewer.pictureGeometry(), QRect(240, 0, 1440, 1080));
    viewer.close();
}

TEST_F(PlacementWindow, OwnSizeOfALargePictureCanBeDraggedUntilItsEdgeShows)
{
    const QString big = picture(QStringLiteral("big.jpg"), 4000, 3000);
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request({big})));
    viewer.menuAction(QStringLiteral("原始大小"))->trigger();
    EXPECT_EQ(viewer.pictureGeometry(), QRect(0, 0, 4000, 3000));

    QWidget *area = viewer.pictureArea();
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(1500, 500));
    // The pointer keeps 100 pixels left of the grab point in the picture, which
    // follows it; once the right edge is on screen the picture stops, the last
    // step carrying it a little past the edge.
    QMouseEvent move(QEvent::MouseMove, QPointF(1400, 500), QPointF(1400, 500), Qt::NoButton, Qt::LeftButton,
        Qt::NoModifier);
    for (int i = 0; i < 40; ++i)
        QApplication::sendEvent(area, &move);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(1400, 500));
    const QRect g = viewer.pictureGeometry();
    EXPECT_EQ(g.left() + g.width(), 1900);
    EXPECT_EQ(g.top(), 0);

    // Fitted, a drag does nothing.
    viewer.menuAction(QStringLiteral("适合屏幕"))->trigger();
    const QRect fitted = viewer.pictureGeometry();
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(500, 500));
    QApplication::sendEvent(area, &move);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(500, 500));
    EXPECT_EQ(viewer.pictureGeometry(), fitted);
    viewer.close();
}

} // namespace
