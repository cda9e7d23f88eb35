#include "capture/capture_selection.h"

#include <gtest/gtest.h>

namespace {

CaptureSelection drawn(QPoint from, QPoint to)
{
    CaptureSelection s(QRect(0, 0, 800, 600));
    s.press(from);
    s.drag(to);
    s.release(to);
    return s;
}

} // namespace

TEST(CaptureSelection, DrawingInAnyDirectionGivesTheSameRectangle)
{
    EXPECT_EQ(drawn({100, 50}, {300, 250}).rect(), QRect(100, 50, 200, 200));
    EXPECT_EQ(drawn({300, 250}, {100, 50}).rect(), QRect(100, 50, 200, 200));
    const CaptureSelection s = drawn({700, 500}, {5000, -40});
    EXPECT_EQ(s.rect(), QRect(700, 0, 100, 500)); // clamped to the screen, right edge included
    EXPECT_EQ(s.mode(), CaptureSelection::Mode::Move);
}

TEST(CaptureSelection, AClickSelectsNothing)
{
    const CaptureSelection s = drawn({100, 100}, {100, 100});
    EXPECT_EQ(s.mode(), CaptureSelection::Mode::Draw);
    EXPECT_FALSE(s.hasSelection());
}

TEST(CaptureSelection, MovingKeepsTheSizeAndStaysOnScreen)
{
    CaptureSelection s = drawn({100, 100}, {300, 200});
    s.press({150, 150});
    s.drag({170, 140});
    EXPECT_EQ(s.rect(), QRect(120, 90, 200, 100));
    s.drag({5000, 5000});
    EXPECT_EQ(s.rect(), QRect(600, 500, 200, 100));
    s.release({-5000, -5000});
    EXPECT_EQ(s.rect(), QRect(0, 0, 200, 100));
}

TEST(CaptureSelection, HandlesResizeTheirEdgesAndMayFlipTheRectangle)
{
    CaptureSelection s = drawn({100, 100}, {300, 200});
    EXPECT_EQ(s.handleAt({300, 200}), CaptureSelection::BottomRight);
    EXPECT_EQ(s.handleAt({200, 100}), CaptureSelection::Top);
    EXPECT_EQ(s.handleAt({100, 150}), CaptureSelection::Left);

    s.press({300, 150}); // right edge: only the width changes
    s.release({350, 10});
    EXPECT_EQ(s.rect(), QRect(100, 100, 250, 100));

    s.press({100, 100}); // top-left dragged past the bottom-right corner
    s.release({400, 260});
    EXPECT_EQ(s.rect(), QRect(350, 200, 50, 60));

    s.press({375, 260}); // bottom edge dragged off the screen
    s.release({375, 9999});
    EXPECT_EQ(s.rect(), QRect(350, 200, 50, 400));
}

TEST(CaptureSelection, PressOutsideStartsAFreshRectangle)
{
    CaptureSelection s = drawn({100, 100}, {300, 200});
    s.press({500, 400});
    EXPECT_EQ(s.mode(), CaptureSelection::Mode::Draw);
    EXPECT_EQ(s.rect(), QRect(500, 400, 0, 0));
    s.release({520, 430});
    EXPECT_EQ(s.rect(), QRect(500, 400, 20, 30));

    s.press({510, 410});
    s.release({510, 410}); // a press inside without a move keeps it
    EXPECT_EQ(s.rect(), QRect(500, 400, 20, 30));
    s.reset();
    EXPECT_FALSE(s.hasSelection());
    EXPECT_EQ(s.handleAt({500, 400}), CaptureSelection::NoHandle);
}
