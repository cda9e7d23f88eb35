#include "job/job_settings.h"
#include "ui/preview_canvas.h"
#include "ui/preview_renderer.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PreviewCanvas, FitsWithoutEnlargingAndKeepsProportions)
{
    EXPECT_EQ(PreviewCanvas::fittedSize(QSize(300, 200), QSize(800, 600)), QSize(300, 200));
    EXPECT_EQ(PreviewCanvas::fittedSize(QSize(1600, 1200), QSize(800, 800)), QSize(800, 600));
    EXPECT_EQ(PreviewCanvas::fittedSize(QSize(1000, 4000), QSize(800, 800)), QSize(200, 800));
    EXPECT_TRUE(PreviewCanvas::fittedSize(QSize(), QSize(800, 800)).isEmpty());

    PreviewCanvas canvas;
    canvas.resize(416, 316); // 400 x 300 inside its margins
    QImage img(200, 100, QImage::Format_RGB32);
    canvas.setImage(img);
    const QRect r = canvas.pictureRect();
    EXPECT_EQ(r.size(), QSize(200, 100));
    EXPECT_EQ(r.center(), canvas.rect().center());
}

TEST(PreviewRenderer, OnlyTheLatestRequestIsShown)
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        QImage img(300 + i * 10, 200, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        paths << dir.filePath(QStringLiteral("%1.png").arg(i));
        ASSERT_TRUE(img.save(paths.last()));
    }
    JobSettings job;
    chooseSizeMode(job, kOriginalSize);
    PreviewRenderer renderer;
    QSignalSpy rendered(&renderer, &PreviewRenderer::rendered);
    renderer.request(job, paths[0]);
    renderer.request(job, paths[1]); // replaces the first while it runs
    renderer.request(job, paths[2]); // replaces the waiting second
    renderer.waitForIdle();
    ASSERT_EQ(rendered.count(), 1);
    EXPECT_EQ(rendered.first().at(1).toString(), paths[2]);
    EXPECT_EQ(rendered.first().at(0).value<RenderResult>().surface.size(), QSize(320, 200));

    renderer.request(job, paths[0]);
    renderer.cancel();
    renderer.waitForIdle();
    EXPECT_EQ(rendered.count(), 1); // a cancelled render never arrives
}

} // namespace
