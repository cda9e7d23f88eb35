#include "viewer/frm_pic.h"

#include "imaging/encoders.h"
#include "imaging/picture_loader.h"
#include "render/pipeline.h"
#include "viewer/background_colours.h"
#include "viewer/crop_action_bar.h"
#include "viewer/pic_area.h"
#include "viewer/picture_placement.h"
#include "viewer/slideshow.h"
#include "viewer/thumbnail_panel.h"
#include "viewer/viewer_texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int kWheelNotch = 120;

} // namespace

FrmPic::FrmPic(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , area_(new PicArea(this))
    , panel_(new ThumbnailPanel(this))
    , bar_(new CropActionBar(this))
    , hint_(new QLabel(viewer_texts::cropHint(), this))
    , slideshow_(new SlideShow(this))
{
    setWindowTitle(QStringLiteral("Tuvo"));
    setFocusPolicy(Qt::StrongFocus);
    area_->hide();
    area_->installEventFilter(this);
    panel_->hide();
    bar_->hide();
    hint_->hide();
    // A press on the hint still starts a selection on the picture below it.
    hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint_->setStyleSheet(
        QStringLiteral("QLabel { color: white; background: rgba(0, 0, 0, 170); padding: 8px 16px; "
                       "font-size: 16px; border-radius: 4px; }"));
    hint_->adjustSize();
    hintTimer_.setInterval(500);
    connect(&hintTimer_, &QTimer::timeout, this, &FrmPic::hintTick);
    connect(bar_, &CropActionBar::chosen, this, &FrmPic::cropAction);
    connect(panel_, &ThumbnailPanel::pictureChosen, this, &FrmPic::choosePicture);
    connect(panel_, &ThumbnailPanel::removeRequested, this, &FrmPic::removeEntry);
    connect(panel_, &ThumbnailPanel::slideshowRequested, this, &FrmPic::startSlideshow);
    connect(panel_, &ThumbnailPanel::closeRequested, this, &FrmPic::close);
    connect(slideshow_, &SlideShow::tick, this, &FrmPic::slideTick);
    buildMenu();
}

FrmPic::~FrmPic() = default;

bool FrmPic::open(const ViewerRequest &request)
{
    request_ = request;
    owner_ = request.owner;
    paths_ = request.paths;
    current_ = paths_.isEmpty() ? 0 : std::clamp(request.current, 0, int(paths_.size()) - 1);
    iViewSource_ = request.iViewSource;
    iViewMode_ = request.iViewMode;
    iSlideTime_ = request.iSlideTime;
    closing_ = false;
    ownSizeChosen_ = false;

    QRect screenArea = request.screenArea;
    QScreen *screen = request.owner ? request.owner->screen() : QGuiApplication::primaryScreen();
    if (screenArea.isEmpty() && screen)
        screenArea = screen->geometry();
    setGeometry(screenArea);

    setBackground(readBackgroundIndex(request.settings));
    panel_->setScreenSize(size());
    slideshow_->setIntervalSeconds(iSlideTime_);
    setPlacement(QRect(), false);

    if (iViewMode_ == ViewModeThumbnails) {
        showThumbnails();
    } else {
        if (paths_.isEmpty() || !showEntry(current_)) {
            if (!paths_.isEmpty())
                emit statusChanged(viewer_texts::openFailed(paths_[current_]));
            return false;
        }
        if (iViewMode_ == ViewModeSlideshow)
            startSlideshow();
    }
    if (request.bCropMode && iViewMode_ == ViewModeSingle)
        enterCropMode();

    if (request.screenArea.isEmpty()) {
        if (screen)
            setScreen(screen);
        showFullScreen();
    } else {
        show();
    }
    raise();
    activateWindow();
    setFocus();
    opened_ = true;
    QCoreApplication::processEvents();
    if (owner_)
        owner_->hide();
    return true;
}

QString FrmPic::userFile(const QString &name) const
{
    return QDir(request_.userDir).filePath(name);
}

QImage FrmPic::renderProcessed(int position) const
{
    return funImgDone(request_.job, paths_.value(position)).surface;
}

bool FrmPic::showEntry(int position)
{
    if (iViewSource_ != ViewSourceProcessed)
        return ShowPic(paths_.value(position));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage surface = renderProcessed(position);
    QApplication::restoreOverrideCursor();
    if (!opened_ && !surface.isNull() && !request_.userDir.isEmpty()) {
        // The processed picture also lies in tempBZ.bmp while the viewer is open.
        QDir().mkpath(request_.userDir);
        writeFileAtomically(userFile(viewer_texts::tempPictureName()), encodeBmp24(surface), nullptr);
    }
    showImage(surface);
    return !surface.isNull();
}

bool FrmPic::ShowPic(const QString &path)
{
    const LoadedPicture picture = loadPicture(path);
    showImage(picture.image); // upright, so a crop is upright too
    return picture.ok();
}

void FrmPic::showImage(const QImage &image)
{
    area_->hide();
    hideSelection();
    shown_ = image;
    area_->setImage(image);
    if (image.isNull())
        return;
    if (ownSizeChosen_)
        showOwnSize();
    else
        ShowAll();
    area_->show();
}

void FrmPic::setPlacement(const QRect &area, bool fitted)
{
    area_->setGeometry(area);
    fitted_ = fitted;
    if (fitAction_)
        fitAction_->setChecked(fitted);
    if (ownAction_)
        ownAction_->setChecked(!fitted);
}

void FrmPic::ShowAll()
{
    const PicturePlacement p = fitToScreen(deviceIndependentSize(shown_.size(), devicePixelRatioF()), size());
    setPlacement(p.area, p.fitted);
}

void FrmPic::showOwnSize()
{
    const PicturePlacement p
        = ownSizePlacement(deviceIndependentSize(shown_.size(), devicePixelRatioF()), size());
    setPlacement(p.area, p.fitted);
}

void FrmPic::chooseOwnSize(bool ownSize)
{
    ownSizeChosen_ = ownSize;
    if (ownSize)
        showOwnSize();
    else
        ShowAll();
}

bool FrmPic::isPictureShown() const
{
    return !area_->isHidden() && !shown_.isNull();
}

QRect FrmPic::pictureGeometry() const
{
    return area_->geometry();
}

void FrmPic::beep()
{
    QApplication::beep();
    emit beeped();
}

void FrmPic::step(int delta)
{
    const int next = current_ + delta;
    if (iViewMode_ != ViewModeSingle || next < 0 || next >= paths_.size()) {
        beep();
        return;
    }
    current_ = next;
    emit currentChanged(current_);
    showEntry(current_);
}

void FrmPic::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), backgroundColour(iBGColor_));
}

void FrmPic::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (bCropMode_)
            leaveCropMode();
        else
            close();
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step(+1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void FrmPic::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (event->buttons() != Qt::NoButton || event->modifiers() != Qt::NoModifier) {
        wheelRest_ = 0;
        return;
    }
    // A notch towards the user is Down, away from the user is Up; finer wheels
    // add up to whole notches.
    wheelRest_ += event->angleDelta().y();
    while (wheelRest_ <= -kWheelNotch) {
        wheelRest_ += kWheelNotch;
        step(+1);
    }
    while (wheelRest_ >= kWheelNotch) {
        wheelRest_ -= kWheelNotch;
        step(-1);
    }
}

void FrmPic::rightPress(QPoint globalPos)
{
    if (bCropMode_) {
        leaveCropMode();
        return;
    }
    // Only the single view of the list's own pictures has a menu.
    if (iViewSource_ == ViewSourcePictures && iViewMode_ == ViewModeSingle)
        menu_->popup(globalPos);
}

void FrmPic::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        rightPress(event->globalPosition().toPoint());
    event->accept();
}

void FrmPic::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        close();
    event->accept();
}

bool FrmPic::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == area_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return areaMouseEvent(static_cast<QMouseEvent *>(event));
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool FrmPic::areaMouseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::RightButton) {
            rightPress(event->globalPosition().toPoint());
        } else if (event->button() == Qt::LeftButton) {
            if (bCropMode_) {
                cropPress(pos);
            } else if (!fitted_) {
                panning_ = true;
                grab_ = pos;
            }
        }
        return true;
    case QEvent::MouseMove:
        if (bCropMode_) {
            cropMove(event);
        } else if (panning_ && (event->buttons() & Qt::LeftButton)) {
            area_->move(panStep(area_->geometry(), size(), grab_, pos));
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (event->button() == Qt::LeftButton) {
            panning_ = false;
            if (bCropMode_)
                cropRelease();
        }
        return true;
    case QEvent::MouseButtonDblClick:
        if (event->button() != Qt::LeftButton)
            return true;
        if (bCropMode_ && area_->selection().contains(pos))
            cropAction(CropActionBar::Confirm);
        else
            close();
        return true;
    default:
        return false;
    }
}

void FrmPic::closeEvent(QCloseEvent *event)
{
    if (!closing_) {
        closing_ = true;
        slideshow_->stop();
        hintTimer_.stop();
        panel_->closePanel();
        if (!request_.userDir.isEmpty())
            QFile::remove(userFile(viewer_texts::tempPictureName()));
        iViewMode_ = ViewModeSingle;
        bCropMode_ = false;
        hideSelection();
        if (owner_)
            owner_->show();
        emit closed(current_);
    }
    event->accept();
}
