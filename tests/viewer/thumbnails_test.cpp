#include "viewer/slideshow.h"
#include "viewer/thumb_pager.h"
#include "viewer/thumbnail_loader.h"
#include "viewer/thumbnail_panel.h"
#include "viewer_fixture.h"

#include <QPushButton>
#include <QSignalSpy>

namespace {

TEST(ThumbPager, NextIsOffOnceThePageReachesTheEnd)
{
    ThumbPager pager;
    pager.reset(56);
    EXPECT_FALSE(pager.canGoForward());
    pager.reset(57);
    EXPECT_TRUE(pager.canGoForward());
}

TEST(ThumbPager, AfterARemovalEachPlaceStillStandsForThePictureItShows)
{
    ThumbPager pager;
    pager.reset(10);
    pager.removePosition(3);
    EXPECT_EQ(pager.positionAt(3), -1);
    EXPECT_EQ(pager.positionAt(2), 2);
    EXPECT_EQ(pager.positionAt(4), 3);
    EXPECT_EQ(pager.positionAt(9), 8);
    EXPECT_EQ(pager.count(), 9);
}

TEST(ThumbnailLoader, DecodesAJpegScaledIntoItsBox)
{
    QTemporaryDir dir;
    QImage image(4000, 3000, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    const QString path = dir.filePath(QStringLiteral("big.jpg"));
    ASSERT_TRUE(image.save(path));
    const QImage thumb = ThumbnailLoader::makeThumbnail(path, QSize(180, 135));
    EXPECT_EQ(thumb.size(), QSize(180, 135));
    EXPECT_TRUE(
        ThumbnailLoader::makeThumbnail(dir.filePath(QStringLiteral("none.jpg")), QSize(180, 135)).isNull());
}

class Thumbnails : public ViewerFixture {
protected:
    QStringList sixty()
    {
        QStringList paths;
        for (int i = 0; i < 60; ++i)
            paths << picture(
                QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')), 40 + i, 30, QColor(i * 4, 0, 0));
        return paths;
    }
};

TEST_F(Thumbnails, SixtyEntriesPageAndTheClickedThumbnailIsTheRightPosition)
{
    ViewerRequest r = request(sixty());
    r.iViewMode = ViewModeThumbnails;
    FrmPic viewer;
    QSignalSpy selected(&viewer, &FrmPic::currentChanged);
    ASSERT_TRUE(viewer.open(r));
    ThumbnailPanel *panel = viewer.thumbnailPanel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_FALSE(viewer.isPictureShown());
    panel->waitForThumbnails();
    EXPECT_TRUE(panel->isPlaceShown(55));
    EXPECT_FALSE(panel->placeImage(55).isNull());
    EXPECT_TRUE(panel->nextButton()->isEnabled());
    EXPECT_FALSE(panel->previousButton()->isEnabled());
    // The panel is centred horizontally.
    EXPECT_EQ(panel->x(), (1920 - panel->width()) / 2);

    panel->nextButton()->click();
    panel->waitForThumbnails();
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(panel->isPlaceShown(i) && !panel->placeImage(i).isNull()) << i;
    for (int i = 4; i < 56; ++i)
        EXPECT_FALSE(panel->isPlaceShown(i)) << i;
    EXPECT_FALSE(panel->nextButton()->isEnabled());
    EXPECT_TRUE(panel->previousButton()->isEnabled());

    panel->choose(3);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).toInt(), 59);
    EXPECT_EQ(viewer.iViewMode(), ViewModeSingle);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(viewer.shownPicture().width(), 99);
    viewer.close();
}

TEST_F(Thumbnails, RemovingAThumbnailRemovesItsListEntryOnly)
{
    ViewerRequest r = request(sixty());
    r.iViewMode = ViewModeThumbnails;
    FrmPic viewer;
    QSignalSpy removed(&viewer, &FrmPic::entryRemoved);
    QSignalSpy selected(&viewer, &FrmPic::currentChanged);
    ASSERT_TRUE(viewer.open(r));
    ThumbnailPanel *panel = viewer.thumbnailPanel();
    panel->waitForThumbnails();
    panel->removeAt(5);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(0).toInt(), 5);
    EXPECT_TRUE(panel->placeImage(5).isNull());
    EXPECT_FALSE(panel->placeImage(6).isNull());
    EXPECT_EQ(viewer.paths().size(), 59);

    // Place 6 still shows p06, which now sits at position 5.
    panel->choose(6);
    EXPECT_EQ(selected.at(0).at(0).toInt(), 5);
    EXPECT_EQ(viewer.shownPicture().width(), 46);
    viewer.close();
}

TEST(SlideInterval, WholeSecondsFromTheAnswer)
{
    EXPECT_EQ(slideTimeFromAnswer(QStringLiteral("2.7")), 2);
    EXPECT_EQ(slideTimeFromAnswer(QStringLiteral(" 40 ")), 40);
    EXPECT_EQ(slideTimeFromAnswer(QStringLiteral("abc")), std::nullopt);
    EXPECT_EQ(slideTimeFromAnswer(QStringLiteral("0.5")), std::nullopt);
    EXPECT_EQ(slideTimeFromAnswer(QStringLiteral("-3")), std::nullopt);
    EXPECT_EQ(slideTimeFromAnswer(QStringLiteral("40000")), std::nullopt);
}

TEST(SlideShow, IntervalsThatDoNotFitSixteenBitsKeepThePreviousOne)
{
    SlideShow show;
    EXPECT_TRUE(show.setIntervalSeconds(5));
    EXPECT_EQ(show.intervalMs(), 5000);
    EXPECT_TRUE(show.setIntervalSeconds(32));
    EXPECT_FALSE(show.setIntervalSeconds(33));
    EXPECT_FALSE(show.setIntervalSeconds(0));
    EXPECT_EQ(show.intervalMs(), 32000);
}

TEST(SlideShow, StartsAtTheFirstEntryAndWraps)
{
    SlideShow show;
    QList<int> order;
    for (int i = 0; i < 7; ++i)
        order << show.nextPosition(3);
    EXPECT_EQ(order, (QList<int> {0, 1, 2, 0, 1, 2, 0}));
    // The list shrank under the show: it goes on inside the new list.
    EXPECT_EQ(show.nextPosition(1), 0);
    EXPECT_EQ(show.nextPosition(0), -1);
}

class Slides : public ViewerFixture { };

TEST_F(Slides, TheShowStepsThroughTheListAndTheMenuSetsItsSpeed)
{
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << picture(QStringLiteral("s%1.png").arg(i), 100 + i, 80);
    ViewerRequest r = request(paths, 2);
    r.iViewMode = ViewModeSlideshow;
    r.iSlideTime = 5;
    FrmPic viewer;
    QSignalSpy beeps(&viewer, &FrmPic::beeped);
    ASSERT_TRUE(viewer.open(r));
    EXPECT_EQ(viewer.shownPicture().width(), 102);
    EXPECT_TRUE(viewer.slideShow()->isRunning());
    EXPECT_EQ(viewer.slideShow()->intervalMs(), 5000);
    QList<int> shown;
    for (int i = 0; i < 4; ++i) {
        viewer.slideTick();
        shown << viewer.shownPicture().width();
    }
    EXPECT_EQ(shown, (QList<int> {100, 101, 102, 100}));
    // Arrow keys only beep during the show.
    viewer.step(+1);
    EXPECT_EQ(beeps.count(), 1);
    viewer.close();

    // The interval box: 2.7 gives 2; 40 is taken but cannot run.
    ViewerRequest single = request(paths);
    FrmPic menuViewer;
    QSignalSpy times(&menuViewer, &FrmPic::slideTimeChanged);
    ASSERT_TRUE(menuViewer.open(single));
    prompter.textAnswers = {QStringLiteral("2.7"), QStringLiteral("40"), QStringLiteral("x")};
    menuViewer.menuAction(QStringLiteral("播放速度设置..."))->trigger();
    EXPECT_EQ(prompter.shown.last().title, QStringLiteral("设置"));
    EXPECT_EQ(prompter.shown.last().text, QStringLiteral("请输入幻灯片时间间隔(单位:秒)"));
    EXPECT_EQ(prompter.shown.last().preset, QStringLiteral("3"));
    EXPECT_EQ(menuViewer.iSlideTime(), 2);
    EXPECT_EQ(menuViewer.slideShow()->intervalMs(), 2000);
    menuViewer.menuAction(QStringLiteral("播放速度设置..."))->trigger();
    EXPECT_EQ(menuViewer.iSlideTime(), 40);
    EXPECT_EQ(menuViewer.slideShow()->intervalMs(), 2000);
    menuViewer.menuAction(QStringLiteral("播放速度设置..."))->trigger();
    EXPECT_EQ(menuViewer.iSlideTime(), 40);
    ASSERT_EQ(times.count(), 2);
    EXPECT_EQ(times.at(1).at(0).toInt(), 40);

    QAction *slides = menuViewer.menuAction(QStringLiteral("幻灯片浏览"));
    slides->trigger();
    EXPECT_TRUE(slides->isChecked());
    EXPECT_TRUE(menuViewer.slideShow()->isRunning());
    slides->trigger();
    EXPECT_FALSE(slides->isChecked());
    EXPECT_FALSE(menuViewer.slideShow()->isRunning());
    EXPECT_EQ(menuViewer.iViewMode(), ViewModeSlideshow);
    menuViewer.close();
}

} // namespace
