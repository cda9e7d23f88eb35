#include "viewer/crop_action_bar.h"
#include "viewer/crop_selection.h"
#include "viewer/pic_area.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

TEST(CropSelection, DrawsInAnyDirectionAndStaysInsideThePicture)
{
    CropSelection s;
    s.setBounds(QRect(0, 0, 400, 300));
    s.beginDrag({300, 200});
    s.dragTo({100, 50});
    EXPECT_EQ(s.rect(), QRect(100, 50, 200, 150));
    s.dragTo({-50, 500});
    EXPECT_EQ(s.rect(), QRect(0, 200, 300, 100));
}

TEST(CropSelection, HandlesMoveTheirOwnSidesAndShowTheirDirection)
{
    CropSelection s;
    s.setBounds(QRect(0, 0, 400, 300));
    s.setRect(QRect(100, 100, 100, 80));
    const QList<QRect> handles = s.handleRects();
    ASSERT_EQ(handles.size(), 8);
    EXPECT_EQ(handles[CropSelection::TopLeft], QRect(96, 96, 8, 8));
    EXPECT_EQ(s.handleAt({200, 140}), CropSelection::Right);
    EXPECT_EQ(s.handleAt({150, 180}), CropSelection::Bottom);
    EXPECT_EQ(CropSelection::cursorFor(CropSelection::TopRight), Qt::SizeBDiagCursor);
    EXPECT_EQ(CropSelection::cursorFor(CropSelection::Bottom), Qt::SizeVerCursor);
    EXPECT_EQ(CropSelection::cursorFor(CropSelection::Left), Qt::SizeHorCursor);

    s.beginDrag({200, 140}); // right side
    s.dragTo({260, 10});
    s.endDrag();
    EXPECT_EQ(s.rect(), QRect(100, 100, 160, 80));
    s.beginDrag({100, 100}); // top-left corner, dragged past the bottom-right one
    s.dragTo({300, 250});
    EXPECT_EQ(s.rect(), QRect(260, 180, 40, 70));
}

TEST(CropSelection, APressInsideMovesTheWholeRectangleUpToTheBounds)
{
    CropSelection s;
    s.setBounds(QRect(0, 0, 400, 300));
    s.setRect(QRect(100, 100, 100, 80));
    s.beginDrag({150, 140});
    s.dragTo({170, 120});
    EXPECT_EQ(s.rect(), QRect(120, 80, 100, 80));
    s.dragTo({1000, 1000});
    EXPECT_EQ(s.rect(), QRect(300, 220, 100, 80));
}

class Crop : public ViewerFixture {
protected:
    // A picture, left half red and right half blue; 800 x 600 shows at own size.
    QString halves(QSize size = QSize(800, 600))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        QPainter(&image).fillRect(size.width() / 2, 0, size.width() / 2, size.height(), Qt::blue);
        const QString path = dir.filePath(QStringLiteral("halves%1.png").arg(size.width()));
        EXPECT_TRUE(image.save(path));
        return path;
    }

    static void drag(QWidget *area, QPoint from, QPoint to)
    {
        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(area->mapToGlobal(to)), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(area, &move);
        QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, to);
    }
};

TEST_F(Crop, EscLeavesCropModeAndASecondEscCloses)
{
    ViewerRequest r = request({halves()});
    r.bCropMode = true;
    FrmPic viewer;
    QSignalSpy closed(&viewer, &FrmPic::closed);
    ASSERT_TRUE(viewer.open(r));
    EXPECT_TRUE(viewer.bCropMode());
    EXPECT_TRUE(viewer.hintLabel()->isVisible());
    EXPECT_EQ(viewer.pictureArea()->cursor().shape(), Qt::CrossCursor);

    drag(viewer.pictureArea(), {100, 100}, {300, 250});
    EXPECT_TRUE(viewer.actionBar()->isVisible());
    QTest::keyClick(&viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer.bCropMode());
    EXPECT_FALSE(viewer.actionBar()->isVisible());
    EXPECT_TRUE(viewer.pictureArea()->selection().isEmpty());
    EXPECT_EQ(closed.count(), 0);
    QTest::keyClick(&viewer, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(Crop, TheActionBarSitsUnderTheSelectionsRightEdge)
{
    ViewerRequest r = request({halves()});
    r.bCropMode = true;
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(r));
    drag(viewer.pictureArea(), {500, 100}, {700, 250});
    const QRect bar = viewer.actionBar()->geometry();
    const QPoint areaPos = viewer.pictureGeometry().topLeft();
    EXPECT_EQ(bar.left() + bar.width(), areaPos.x() + 700);
    EXPECT_EQ(bar.top(), areaPos.y() + 250 + 8);

    // "重新裁剪" drops the selection and stays in crop mode.
    viewer.actionBar()->button(CropActionBar::Redo)->click();
    EXPECT_TRUE(viewer.bCropMode());
    EXPECT_TRUE(viewer.pictureArea()->selection().isEmpty());
    EXPECT_FALSE(viewer.actionBar()->isVisible());
    // A right click leaves crop mode.
    QTest::mousePress(viewer.pictureArea(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_FALSE(viewer.bCropMode());
    viewer.close();
}

TEST_F(Crop, ConfirmedCropIsSavedUnderANewNameAndAppended)
{
    ViewerRequest r = request({halves()});
    r.bCropMode = true;
    prompter.yesNoAnswers = {true, true};
    FrmPic viewer;
    QSignalSpy added(&viewer, &FrmPic::pictureAdded);
    ASSERT_TRUE(viewer.open(r));
    drag(viewer.pictureArea(), {350, 100}, {450, 300});
    viewer.actionBar()->button(CropActionBar::Confirm)->click();

    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].title, QStringLiteral("Tuvo提示"));
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("确认裁剪并添加到图片批处理列表吗？"));
    ASSERT_EQ(added.count(), 1);
    const QString first = added.at(0).at(0).toString();
    EXPECT_TRUE(
        QFileInfo(first).fileName().contains(QRegularExpression(QStringLiteral("^user\\d{14}\\.bmp$"))))
        << first.toStdString();
    EXPECT_EQ(QFileInfo(first).absolutePath(), QDir(r.userDir).absolutePath());
    const QImage saved(first);
    EXPECT_EQ(saved.size(), QSize(100, 200));
    EXPECT_EQ(QColor(saved.pixel(10, 10)), QColor(Qt::red));
    EXPECT_EQ(QColor(saved.pixel(90, 10)), QColor(Qt::blue));
    EXPECT_EQ(viewer.paths().last(), first);
    EXPECT_EQ(viewer.currentPosition(), 1);
    EXPECT_FALSE(viewer.bCropMode());

    // A second crop in the same second must not replace the first file.
    viewer.enterCropMode();
    drag(viewer.pictureArea(), {2, 2}, {20, 20});
    QTest::mouseDClick(viewer.pictureArea(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_EQ(added.count(), 2);
    const QString second = added.at(1).at(0).toString();
    EXPECT_NE(second, first);
    EXPECT_EQ(QImage(first).size(), QSize(100, 200));
    viewer.close();
}

TEST_F(Crop, AnsweringNoRestoresThePictureAndAddsNothing)
{
    ViewerRequest r = request({halves()});
    r.bCropMode = true;
    FrmPic viewer;
    QSignalSpy added(&viewer, &FrmPic::pictureAdded);
    ASSERT_TRUE(viewer.open(r));
    drag(viewer.pictureArea(), {10, 10}, {110, 110});
    viewer.cropAction(CropActionBar::Confirm);
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(viewer.shownPicture().size(), QSize(800, 600));
    EXPECT_FALSE(viewer.bCropMode());
    EXPECT_FALSE(QDir(r.userDir).exists() && !QDir(r.userDir).entryList({QStringLiteral("*.bmp")}).isEmpty());
    viewer.close();
}

TEST_F(Crop, CopyingTheRegionTakesFullResolutionPixelsOfAFittedPicture)
{
    // 3840 x 2160 shows at half size on the 1920 x 1080 screen.
    ViewerRequest r = request({halves(QSize(3840, 2160))});
    r.bCropMode = true;
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(r));
    ASSERT_TRUE(viewer.isFitChecked());
    drag(viewer.pictureArea(), {900, 100}, {1000, 150});
    viewer.actionBar()->button(CropActionBar::CopyRegion)->click();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(200, 100));
    EXPECT_EQ(QColor(copied.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(copied.pixel(199, 0)), QColor(Qt::blue));
    EXPECT_FALSE(viewer.bCropMode());
    viewer.close();
}

} // namespace

TEST_F(Crop, SourcePhotosShowUprightByTheirOrientationAndCropUpright)
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    // Stored lying on its side (red left, blue right), tagged "turn 90° clockwise".
    const QString photo = dir.filePath(QStringLiteral("portrait.jpg"));
    QImage stored(800, 600, QImage::Format_RGB32);
    stored.fill(Qt::red);
    QPainter(&stored).fillRect(400, 0, 400, 600, Qt::blue);
    ASSERT_TRUE(stored.save(photo, "JPEG", 95));
    QProcess exiftool;
    exiftool.start(QStringLiteral("exiftool"), {"-q", "-overwrite_original", "-Orientation#=6", photo});
    ASSERT_TRUE(exiftool.waitForFinished() && exiftool.exitCode() == 0);

    ViewerRequest r = request({photo});
    r.bCropMode = true;
    prompter.yesNoAnswers = {true};
    FrmPic viewer;
    QSignalSpy added(&viewer, &FrmPic::pictureAdded);
    ASSERT_TRUE(viewer.open(r));
    ASSERT_EQ(viewer.shownPicture().size(), QSize(600, 800));
    EXPECT_GT(qRed(viewer.shownPicture().pixel(300, 100)), 200);
    EXPECT_GT(qBlue(viewer.shownPicture().pixel(300, 700)), 200);

    drag(viewer.pictureArea(), {100, 600}, {300, 780});
    viewer.actionBar()->button(CropActionBar::Confirm)->click();
    ASSERT_EQ(added.count(), 1);
    const QImage saved(added.at(0).at(0).toString());
    EXPECT_EQ(saved.size(), QSize(200, 180));
    EXPECT_GT(qBlue(saved.pixel(100, 90)), 200);
    viewer.close();
}
