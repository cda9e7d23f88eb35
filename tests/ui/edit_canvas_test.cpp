#include "dialogs/prompter.h"
#include "job/job_settings.h"
#include "support/qstring_printer.h"
#include "ui/canvas_editor.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

struct Scripted {
    ScriptedPrompter prompter;
    Scripted() { Prompter::install(&prompter); }
    ~Scripted() { Prompter::install(nullptr); }
};

// A preview 600 x 500 showing an 800 x 600 work surface at half size.
struct Canvas {
    QWidget preview;
    JobSettings job;
    MarkPlacement marks;
    QRect shown {50, 40, 400, 300};
    QList<int> steps;
    int beeps = 0;
    int views = 0;
    bool atEnd = false;
    CanvasEditor editor;

    Canvas()
        : editor(&preview, job,
            CanvasEditor::Host {[this] { return shown; }, [] { return QSize(800, 600); },
                [this] { return marks; },
                [this](int d) {
                    steps << d;
                    return !atEnd;
                },
                [this] { ++views; },
                [this] {
                    ++beeps;
                }})
    {
        preview.resize(600, 500);
        editor.setFlashInterval(0);
    }

    void press(Qt::MouseButton b, QPoint at)
    {
        QMouseEvent e(QEvent::MouseButtonPress, at, preview.mapToGlobal(at), b, b, Qt::NoModifier);
        QApplication::sendEvent(&preview, &e);
    }
    void drag(QPoint at)
    {
        QMouseEvent e(
            QEvent::MouseMove, at, preview.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&preview, &e);
    }
    void release(QPoint at)
    {
        QMouseEvent e(QEvent::MouseButtonRelease, at, preview.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
            Qt::NoModifier);
        QApplication::sendEvent(&preview, &e);
    }
    void key(Qt::Key k) { QTest::keyClick(&preview, k); }
};

} // namespace

TEST(CanvasEditing, ThreeRightPressesInMoveModeMoveThePictureThreePixels)
{
    Canvas c;
    QSignalSpy redraws(&c.editor, &CanvasEditor::changed);
    QSignalSpy hints(&c.editor, &CanvasEditor::hint);
    EXPECT_FALSE(c.editor.locateAction()->isEnabled());
    c.editor.moveAction()->trigger();
    EXPECT_TRUE(c.editor.moveMode());
    EXPECT_TRUE(c.editor.locateAction()->isEnabled());
    EXPECT_EQ(c.editor.handleGeometry(), QRect(300, 250, 16, 16));
    EXPECT_EQ(hints.first().first().toString(),
        QStringLiteral("【提示】按住鼠标左键拖动蓝色方块即可调整图片位置,方向键微调,鼠标右键退出移动模式。"));
    for (int i = 0; i < 3; ++i)
        c.key(Qt::Key_Right);
    c.key(Qt::Key_Up);
    EXPECT_EQ(c.job.sngOffsetX, 3.0f);
    EXPECT_EQ(c.job.sngOffsetY, -1.0f);
    EXPECT_EQ(redraws.count(), 4);
    EXPECT_TRUE(c.steps.isEmpty());

    c.editor.resetAction()->trigger();
    EXPECT_EQ(c.job.sngOffsetX, 0.0f);
    EXPECT_EQ(c.job.sngOffsetY, 0.0f);
}

TEST(CanvasEditing, DraggingInMoveModePutsThePictureCornerUnderTheHandle)
{
    Canvas c;
    c.editor.enterMoveMode();
    QSignalSpy redraws(&c.editor, &CanvasEditor::changed);
    QSignalSpy offsets(&c.editor, &CanvasEditor::offsetsChanged);
    c.press(Qt::LeftButton, QPoint(100, 100));
    c.drag(QPoint(108, 58));
    EXPECT_EQ(redraws.count(), 0);
    c.release(QPoint(108, 58));
    // Handle corner (100, 50) is (50, 10) preview pixels into the half-size picture.
    EXPECT_EQ(c.job.sngOffsetX, 100.0f);
    EXPECT_EQ(c.job.sngOffsetY, 20.0f);
    EXPECT_EQ(redraws.count(), 1);
    EXPECT_FALSE(c.editor.handleVisible());
    EXPECT_GE(offsets.count(), 2);

    // A right press leaves move mode and the canvas menu stays shut.
    c.press(Qt::RightButton, QPoint(200, 200));
    EXPECT_FALSE(c.editor.moveMode());
    QContextMenuEvent menu(
        QContextMenuEvent::Mouse, QPoint(200, 200), c.preview.mapToGlobal(QPoint(200, 200)));
    EXPECT_TRUE(QApplication::sendEvent(&c.preview, &menu));
    c.key(Qt::Key_Right);
    EXPECT_EQ(c.steps, QList<int> {1});
}

TEST(CanvasEditing, ArrowKeysStepTheListOtherwiseAndBeepAtTheEnds)
{
    Canvas c;
    c.key(Qt::Key_Down);
    c.key(Qt::Key_Left);
    EXPECT_EQ(c.steps, (QList<int> {1, -1}));
    EXPECT_EQ(c.beeps, 0);
    c.atEnd = true;
    c.key(Qt::Key_Right);
    EXPECT_EQ(c.beeps, 1);
    EXPECT_EQ(c.job.sngOffsetX, 0.0f);
    c.key(Qt::Key_Return);
    EXPECT_EQ(c.views, 1);
}

TEST(CanvasEditing, PressOnTheTextWatermarkSwitchesItToCustomAndDragsIt)
{
    Canvas c;
    c.job.bTextMark = 1;
    c.job.sText = QStringLiteral("水印");
    c.job.iuTxtPos = kBottomRight;
    c.marks.textDrawn = true;
    c.marks.textBox = QRectF(600, 500, 100, 40); // preview (350..400, 290..310)
    c.job.iuTSyX = 0.75;
    c.job.iuTSyY = 500.0 / 600;
    QSignalSpy switched(&c.editor, &CanvasEditor::positionSwitched);
    QSignalSpy redraws(&c.editor, &CanvasEditor::changed);

    c.press(Qt::LeftButton, QPoint(380, 300));
    EXPECT_EQ(c.job.iuTxtPos, kCustom);
    ASSERT_EQ(switched.count(), 1);
    EXPECT_EQ(switched.first().first().value<MarkHit>(), MarkHit::Text);
    EXPECT_TRUE(c.editor.handleVisible());
    EXPECT_EQ(c.editor.selectedMark(), MarkHit::Text);

    c.drag(QPoint(257, 190));
    c.release(QPoint(257, 190));
    // Corner = (x - handle width / 2) / pw, y / ph.
    EXPECT_DOUBLE_EQ(c.job.iuTSyX, (207 - 7) / 400.0);
    EXPECT_DOUBLE_EQ(c.job.iuTSyY, 150 / 300.0);
    EXPECT_EQ(redraws.count(), 1);
    EXPECT_FALSE(c.editor.handleVisible());

    // A press that misses hides the handle and starts nothing.
    c.press(Qt::LeftButton, QPoint(60, 60));
    c.drag(QPoint(100, 100));
    c.release(QPoint(100, 100));
    EXPECT_EQ(redraws.count(), 1);
}

TEST(CanvasEditing, ArrowsMoveTheSelectedWatermarkOnePreviewPixel)
{
    Canvas c;
    c.shown = QRect(0, 0, 500, 400); // 6000 twips high
    c.job.bPicMark = 1;
    c.job.suISyF = QStringLiteral("/tmp/mark.png");
    c.job.iuImgPos = kCustom;
    c.job.iuISyX = 0.5;
    c.job.iuISyY = 0.5;
    c.marks.pictureDrawn = true;
    c.marks.iuISyX = 0.5;
    c.marks.iuISyY = 0.5;
    c.marks.sngMarkW = 100;
    c.marks.sngMarkH = 50;
    c.editor.showMarkHandle(MarkHit::Picture);
    EXPECT_EQ(QRectF(c.editor.handleGeometry()).center(), QPointF(250, 200));
    c.key(Qt::Key_Down);
    EXPECT_DOUBLE_EQ(c.job.iuISyY, 0.5025);
    c.key(Qt::Key_Left);
    EXPECT_DOUBLE_EQ(c.job.iuISyX, 0.498);
    EXPECT_TRUE(c.steps.isEmpty());
    EXPECT_FALSE(c.editor.handleVisible());
}

TEST(CanvasEditing, CoordinatesTakeTwoNonNegativeNumbersOnly)
{
    Scripted s;
    Canvas c;
    c.job.sngOffsetX = 4;
    c.job.sngOffsetY = 5;
    QSignalSpy redraws(&c.editor, &CanvasEditor::changed);
    s.prompter.textAnswers
        = {QStringLiteral("100"), QStringLiteral("-1,20"), QStringLiteral("a,b"), QStringLiteral("100,120")};
    for (int i = 0; i < 4; ++i)
        c.editor.locate();
    ASSERT_EQ(s.prompter.shown.size(), 4);
    EXPECT_EQ(s.prompter.shown[0].kind, QStringLiteral("input"));
    EXPECT_EQ(s.prompter.shown[0].title, QStringLiteral("起始点坐标"));
    EXPECT_EQ(s.prompter.shown[0].text,
        QStringLiteral(
            "请输入主图起始点坐标，格式为X,Y。\n\n如:要定点于左100像素、上120像素，请输入100,120"));
    EXPECT_EQ(c.job.sngOffsetX, 100.0f);
    EXPECT_EQ(c.job.sngOffsetY, 120.0f);
    EXPECT_EQ(redraws.count(), 1);

    c.editor.alignLeft();
    EXPECT_EQ(c.job.sngOffsetX, 0.0f);
    EXPECT_EQ(c.job.sngOffsetY, 120.0f);
    c.editor.alignTop();
    EXPECT_EQ(c.job.sngOffsetY, 0.0f);
}

TEST(CanvasEditing, ToolPanelAndButtonBarShowOnlyWhileTheMouseIsOverTheirPlace)
{
    Canvas c;
    auto *panel = new QWidget(&c.preview);
    panel->resize(100, 200);
    c.editor.setToolPanel(panel);
    QWidget *bar = c.editor.buildButtonBar(&c.preview);
    c.preview.show();
    const auto hover = [&](QPoint at) {
        QMouseEvent e(
            QEvent::MouseMove, at, c.preview.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&c.preview, &e);
    };
    hover(QPoint(560, 100));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(bar->isVisible());
    hover(QPoint(300, 100));
    EXPECT_FALSE(panel->isVisible());
    hover(QPoint(bar->geometry().center().x(), 495));
    EXPECT_TRUE(bar->isVisible());
    hover(QPoint(bar->geometry().left() - 5, 495));
    EXPECT_FALSE(bar->isVisible());
}

TEST(CanvasEditing, ToolPanelDoesNotOpenOverAWatermarkSoItStaysDraggable)
{
    Canvas c;
    c.shown = QRect(0, 0, 600, 450); // the picture fills the preview's width
    c.job.bPicMark = 1;
    c.job.suISyF = QStringLiteral("mark.png");
    c.job.iuImgPos = kTopRight;
    c.job.iuISyX = c.marks.iuISyX = 730.0 / 800;
    c.job.iuISyY = c.marks.iuISyY = 45.0 / 600;
    c.marks.pictureDrawn = true;
    c.marks.sngMarkW = 100; // surface (680..780, 20..70), preview (510..585, 15..52)
    c.marks.sngMarkH = 50;
    auto *panel = new QWidget(&c.preview);
    panel->resize(100, 200);
    c.editor.setToolPanel(panel);
    c.preview.show();
    const auto hover = [&](QPoint at) {
        QMouseEvent e(
            QEvent::MouseMove, at, c.preview.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&c.preview, &e);
    };
    hover(QPoint(560, 300));
    EXPECT_TRUE(panel->isVisible());
    hover(QPoint(550, 30));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(c.job.iuImgPos, kTopRight); // hovering switches nothing
    EXPECT_NE(c.preview.childAt(550, 30), panel);
    c.press(Qt::LeftButton, QPoint(550, 30));
    EXPECT_EQ(c.editor.selectedMark(), MarkHit::Picture);
    EXPECT_TRUE(c.editor.handleVisible());
}
