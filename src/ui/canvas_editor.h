#pragma once

#include "job/job_settings.h"
#include "render/mark_hit_test.h"
#include "render/render_result.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>

class QAction;
class QWidget;

// Editing on the preview: move mode with its blue handle, dragging the picture
// and the watermark handles, arrow-key nudges, "恢复原点", the two align buttons,
// "坐标定位", right-click and Enter. Installed as an event filter on the preview.
class CanvasEditor : public QObject {
    Q_OBJECT
public:
    struct Host {
        // Where the preview shows the work surface, in preview coordinates; empty: no picture.
        std::function<QRect()> imageRect;
        std::function<QSize()> surfaceSize;
        // Where the latest preview drew the watermarks.
        std::function<MarkPlacement()> marks;
        // Selects the next (+1) or previous (-1) list entry; false at the ends.
        std::function<bool(int delta)> stepList;
        std::function<void()> openProcessedView;
        std::function<void()> beep;
    };

    CanvasEditor(QWidget *preview, JobSettings &job, Host host, QObject *parent = nullptr);

    void enterMoveMode();
    void leaveMoveMode();
    bool moveMode() const { return moveMode_; }
    void resetOrigin();
    void alignLeft();
    void alignTop();
    void locate();
    // The list switched to "自定义": show that watermark's handle where it stands.
    // Both watermark handles may stand on the preview at once.
    void showMarkHandle(MarkHit which);
    MarkHit selectedMark() const { return selected_; }
    bool handleVisible() const;
    QRect handleGeometry() const;

    // Menu items "移动图片", "恢复原点" and "坐标定位" (disabled until move mode).
    QAction *moveAction() const { return mMove_; }
    QAction *resetAction() const { return mReset_; }
    QAction *locateAction() const { return mLocate_; }
    // The bottom button bar: move, the two align buttons and crop.
    QWidget *buildButtonBar(QWidget *parent);
    // Shown while the mouse is over the preview's right edge / the bar's place.
    void setToolPanel(QWidget *panel);
    // Time between the flashes of the move handle.
    void setFlashInterval(int ms) { flashMs_ = ms; }

signals:
    void changed();
    void offsetsChanged(float x, float y);
    void hint(const QString &text);
    // A press on a watermark switched its position list to "自定义".
    void positionSwitched(MarkHit which);
    void cropRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool mousePress(class QMouseEvent *event);
    void mouseMove(class QMouseEvent *event);
    void mouseRelease(class QMouseEvent *event);
    bool keyPress(class QKeyEvent *event);
    void dragTo(QPoint pos);
    void placeHandle(QPoint centre);
    void placeOverlays();
    void hoverOverlays(QPoint pos);
    // Whether pos lies on a watermark or a shown handle.
    bool overMark(QPoint pos) const;
    void setMovePointer(bool on);
    void setOffsets(float x, float y);
    bool customMarkActive() const;
    void flashWait();

    QWidget *preview_;
    JobSettings &job_;
    Host host_;
    QWidget *handles_[3]; // move, text, picture (by MarkHit)
    QWidget *handle_; // the one being placed or dragged
    QWidget *toolPanel_ = nullptr;
    QWidget *buttonBar_ = nullptr;
    QAction *mMove_;
    QAction *mReset_;
    QAction *mLocate_;
    bool moveMode_ = false;
    bool movePointer_ = false;
    bool dragging_ = false;
    bool swallowMenu_ = false;
    MarkHit selected_ = MarkHit::None;
    int flashMs_ = 60;
};
