#pragma once

// The full-screen capture window (frmCopySrc): a frozen, dimmed picture of the
// screen on which the user drags a rectangle, then copies it to the clipboard or
// keeps it as a new picture ("user" + yyyyMMddHHmmss + ".bmp" in the user folder).
//
// How the main window uses it (menu item "屏幕截图...", mCopySrc2):
//   auto *w = new ScreenCaptureWindow(paths().userDir());
//   w->setAttribute(Qt::WA_DeleteOnClose);
//   w->setMainWindowShown([this](bool shown) { shown ? show() : hide(); });
//   connect(w, &ScreenCaptureWindow::pictureKept, this, [this](const QString &p) { appendPictures({p}); });
//   connect(w, &ScreenCaptureWindow::statusLine, this, &MainWindow::showStatus);
//   w->start(screen());
// start() hides the main window through the callback, grabs the screen 300 ms
// later and shows itself; closing it by any means deletes the scratch grabs and
// shows the main window again.

#include "viewer/crop_selection.h"

#include <QDateTime>
#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
class QScreen;
class QToolButton;

class ScreenCaptureWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScreenCaptureWindow(const QString &userDir, QWidget *parent = nullptr);
    ~ScreenCaptureWindow() override;

    // Called with false before the grab and with true when the window closes.
    void setMainWindowShown(std::function<void(bool shown)> callback)
    {
        mainWindowShown_ = std::move(callback);
    }
    // The clock the kept picture's name is stamped with.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    // Hides the main window, waits for it to vanish, grabs the whole screen and
    // shows the capture window over it.
    void start(QScreen *screen);
    // Shows an already grabbed screen picture covering geometry (start ends here).
    void showGrab(const QImage &screenPicture, const QRect &geometry);

    const CropSelection &selection() const { return selection_; }
    // A rectangle is drawn and no drag is under way.
    bool hasSelection() const { return !selection_.isEmpty() && !selection_.isDragging(); }
    // The selected part of the grabbed screen, in the grab's own pixels.
    QImage selectedPicture() const;
    QString scratchGrabPath() const; // the screen as grabbed
    QString scratchDimmedPath() const; // the dimmed screen

    // The tool strip: 0 start over, 1 copy, 2 keep, 3 close.
    void startOver();
    void copySelection();
    void keepSelection();

    static constexpr int kGrabDelayMs = 300;

signals:
    void pictureKept(const QString &path);
    void statusLine(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void grabNow(QScreen *screen);
    void grabThroughPortal(QScreen *screen);
    void grabFailed(const QString &statusText);
    QRect grabRect(const QRect &windowRect) const;
    void updateDecorations();
    bool copyToClipboard(QImage *picture);
    void finish();

    QString userDir_;
    std::function<void(bool)> mainWindowShown_;
    std::function<QDateTime()> clock_;
    QImage grab_;
    QImage dimmed_;
    CropSelection selection_;
    QLabel *sizeLabel_;
    QWidget *toolStrip_;
    bool finished_ = false;
};
