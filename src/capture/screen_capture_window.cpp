#include "capture/screen_capture_window.h"

#include "capture/capture_texts.h"
#include "capture/new_picture_file.h"
#include "capture/portal_screenshot.h"
#include "fs/new_picture_name.h"
#include "imaging/encoders.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace {

QImage dimmedCopy(const QImage &picture)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.fillRect(out.rect(), QColor(128, 128, 128));
    return out;
}

} // namespace

ScreenCaptureWindow::ScreenCaptureWindow(const QString &userDir, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , userDir_(userDir)
    , clock_([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("frmCopySrc"));
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);

    sizeLabel_ = new QLabel(this);
    sizeLabel_->setObjectName(QStringLiteral("lblPos"));
    sizeLabel_->setStyleSheet(QStringLiteral("background: rgba(0,0,0,160); color: white; padding: 1px 4px;"));
    sizeLabel_->hide();

    toolStrip_ = new QWidget(this);
    toolStrip_->setObjectName(QStringLiteral("toolStrip"));
    toolStrip_->setAutoFillBackground(true);
    toolStrip_->setCursor(Qt::ArrowCursor);
    auto *row = new QHBoxLayout(toolStrip_);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    const QString texts[4] = {captureTexts::captureRestart(), captureTexts::captureCopy(),
        captureTexts::captureKeep(), captureTexts::captureClose()};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QToolButton(toolStrip_);
        button->setObjectName(QStringLiteral("Image2_%1").arg(i));
        button->setText(texts[i]);
        button->setToolTip(texts[i]);
        row->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, i] {
            switch (i) {
            case 0:
                startOver();
                break;
            case 1:
                copySelection();
                break;
            case 2:
                keepSelection();
                break;
            default:
                close();
            }
        });
    }
    toolStrip_->adjustSize();
    toolStrip_->hide();
}

ScreenCaptureWindow::~ScreenCaptureWindow()
{
    finish();
}

QString ScreenCaptureWindow::scratchGrabPath() const
{
    return QDir(userDir_).filePath(QStringLiteral("tmpsrc1.bmp"));
}

QString ScreenCaptureWindow::scratchDimmedPath() const
{
    return QDir(userDir_).filePath(QStringLiteral("tmpsrc2.bmp"));
}

void ScreenCaptureWindow::start(QScreen *screen)
{
    if (mainWindowShown_)
        mainWindowShown_(false);
    // The main window needs a moment to vanish from the screen before the grab.
    QPointer<QScreen> target = screen;
    QTimer::singleShot(kGrabDelayMs, this, [this, target] { grabNow(target); });
}

void ScreenCaptureWindow::grabNow(QScreen *screen)
{
    if (!screen) {
        grabFailed(captureTexts::screenGrabFailed());
        return;
    }
    if (PortalScreenshot::sessionNeedsPortal()) {
        grabThroughPortal(screen);
        return;
    }
    const QPixmap pixmap = screen->grabWindow(0);
    if (pixmap.isNull()) {
        grabFailed(captureTexts::screenGrabFailed());
        return;
    }
    showGrab(pixmap.toImage(), screen->geometry());
}

void ScreenCaptureWindow::grabThroughPortal(QScreen *screen)
{
    auto *portal = new PortalScreenshot(this);
    QPointer<QScreen> target = screen;
    connect(portal, &PortalScreenshot::grabbed, this, [this, portal, target](const QImage &picture) {
        portal->deleteLater();
        // The portal gives the whole desktop in device pixels; the window covers
        // the screen in logical ones, and grabRect() maps between the two.
        showGrab(picture, target ? target->geometry() : QRect(QPoint(0, 0), picture.size()));
    });
    connect(portal, &PortalScreenshot::failed, this, [this, portal](const QString &) {
        portal->deleteLater();
        grabFailed(captureTexts::screenPortalMissing());
    });
    portal->request();
}

void ScreenCaptureWindow::grabFailed(const QString &statusText)
{
    emit statusLine(statusText);
    close();
    finish(); // close() does nothing on a window that was never shown
}

void ScreenCaptureWindow::showGrab(const QImage &screenPicture, const QRect &geometry)
{
    grab_ = screenPicture.convertToFormat(QImage::Format_RGB32);
    grab_.setDevicePixelRatio(1.0);
    dimmed_ = dimmedCopy(grab_);
    QDir().mkpath(userDir_);
    QString ignored;
    writeFileAtomically(scratchGrabPath(), encodeBmp24(grab_), &ignored);
    writeFileAtomically(scratchDimmedPath(), encodeBmp24(dimmed_), &ignored);

    selection_.clear();
    selection_.setBounds(QRect(QPoint(0, 0), geometry.size()));
    updateDecorations();
    setGeometry(geometry);
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
}

QRect ScreenCaptureWindow::grabRect(const QRect &windowRect) const
{
    // Window pixels to grab pixels: they differ on scaled screens.
    const double sx = double(grab_.width()) / qMax(1, selection_.bounds().width());
    const double sy = double(grab_.height()) / qMax(1, selection_.bounds().height());
    const QRect source(qRound(windowRect.x() * sx), qRound(windowRect.y() * sy),
        qMax(1, qRound(windowRect.width() * sx)), qMax(1, qRound(windowRect.height() * sy)));
    return source.intersected(grab_.rect());
}

QImage ScreenCaptureWindow::selectedPicture() const
{
    if (selection_.isEmpty() || grab_.isNull())
        return {};
    return grab_.copy(grabRect(selection_.rect()));
}

void ScreenCaptureWindow::startOver()
{
    selection_.clear();
    updateDecorations();
    update();
}

bool ScreenCaptureWindow::copyToClipboard(QImage *picture)
{
    toolStrip_->hide();
    *picture = selectedPicture();
    if (picture->isNull())
        return false;
    QGuiApplication::clipboard()->setImage(*picture);
    return true;
}

void ScreenCaptureWindow::copySelection()
{
    QImage picture;
    if (copyToClipboard(&picture))
        close();
}

void ScreenCaptureWindow::keepSelection()
{
    QImage picture;
    if (!copyToClipboard(&picture))
        return;
    QString error;
    const QString path
        = writeNewBitmap(picture, userDir_, timeStampedStem(QStringLiteral("user"), clock_()), &error);
    if (path.isEmpty()) {
        emit statusLine(
            captureTexts::saveFailed(QDir(userDir_).filePath(QStringLiteral("user*.bmp")), error));
    } else {
        emit statusLine(captureTexts::screenCaptureKept(path));
        emit pictureKept(path);
    }
    close();
}

void ScreenCaptureWindow::updateDecorations()
{
    const bool shown = !selection_.isEmpty() || selection_.isDragging();
    const QRect r = selection_.rect();
    if (shown) {
        // The size in the saved picture's own pixels.
        const double sx = double(grab_.width()) / qMax(1, selection_.bounds().width());
        const double sy = double(grab_.height()) / qMax(1, selection_.bounds().height());
        sizeLabel_->setText(captureTexts::captureSize(qRound(r.width() * sx), qRound(r.height() * sy)));
        sizeLabel_->adjustSize();
        int y = r.top() - sizeLabel_->height() - 2;
        if (y < 0)
            y = r.top() + 2;
        sizeLabel_->move(qMax(0, r.left()), y);
    }
    sizeLabel_->setVisible(shown);

    const bool tools = hasSelection();
    if (tools) {
        // Below the rectangle's right edge, or above it, or inside it: always on screen.
        const QSize s = toolStrip_->sizeHint();
        int x = qBound(0, r.right() + 1 - s.width(), qMax(0, width() - s.width()));
        int y = r.bottom() + 4;
        if (y + s.height() > height())
            y = r.top() - s.height() - 4;
        if (y < 0)
            y = qMax(0, r.bottom() - s.height() - 4);
        toolStrip_->setGeometry(QRect(QPoint(x, y), s));
    }
    toolStrip_->setVisible(tools);
}

void ScreenCaptureWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect all = rect();
    painter.drawImage(all, dimmed_);
    const QRect r = selection_.rect();
    if (r.isEmpty())
        return;
    painter.drawImage(r, grab_, grabRect(r));
    painter.setPen(QPen(QColor(0, 120, 215), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    if (!hasSelection())
        return;
    painter.setBrush(QColor(0, 120, 215));
    for (const QRect &handle : selection_.handleRects())
        painter.drawRect(handle.adjusted(0, 0, -1, -1));
}

void ScreenCaptureWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // On a handle it resizes, inside it moves, anywhere else a new rectangle starts.
    selection_.beginDrag(event->position().toPoint());
    updateDecorations();
    update();
}

void ScreenCaptureWindow::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (selection_.isDragging()) {
        selection_.dragTo(p);
        updateDecorations();
        update();
        return;
    }
    const CropSelection::Handle h = selection_.handleAt(p);
    if (h != CropSelection::None)
        setCursor(CropSelection::cursorFor(h));
    else if (selection_.contains(p))
        setCursor(Qt::SizeAllCursor);
    else
        setCursor(Qt::CrossCursor);
}

void ScreenCaptureWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !selection_.isDragging())
        return;
    selection_.dragTo(event->position().toPoint());
    selection_.endDrag();
    // A click without a drag, or a rectangle squeezed to nothing, selects nothing.
    if (selection_.isEmpty())
        selection_.clear();
    updateDecorations();
    update();
}

void ScreenCaptureWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && hasSelection()
        && selection_.contains(event->position().toPoint()))
        keepSelection();
}

void ScreenCaptureWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void ScreenCaptureWindow::closeEvent(QCloseEvent *event)
{
    finish();
    QWidget::closeEvent(event);
}

void ScreenCaptureWindow::finish()
{
    if (finished_)
        return;
    finished_ = true;
    QFile::remove(scratchGrabPath());
    QFile::remove(scratchDimmedPath());
    if (mainWindowShown_)
        mainWindowShown_(true);
}
