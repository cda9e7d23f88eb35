#include "dialogs/prompter.h"
#include "fs/new_picture_name.h"
#include "imaging/encoders.h"
#include "viewer/crop_action_bar.h"
#include "viewer/frm_pic.h"
#include "viewer/pic_area.h"
#include "viewer/viewer_texts.h"

#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

namespace {

constexpr int kHintTicks = 6;
constexpr int kBarGap = 8; // 120 twips

} // namespace

void FrmPic::enterCropMode()
{
    bCropMode_ = true;
    hideSelection();
    area_->setCursor(Qt::CrossCursor);
    hint_->adjustSize();
    hint_->move((width() - hint_->width()) / 2, height() / 2);
    hint_->show();
    hint_->raise();
    hintTicks_ = 0;
    hintTimer_.start();
}

void FrmPic::leaveCropMode()
{
    bCropMode_ = false;
    hideSelection();
    area_->unsetCursor();
}

void FrmPic::hideSelection()
{
    area_->selection().clear();
    area_->setSelectionShown(false);
    bar_->hide();
}

void FrmPic::hintTick()
{
    if (++hintTicks_ >= kHintTicks) {
        hintTimer_.stop();
        hint_->hide();
    }
}

void FrmPic::cropPress(QPoint pos)
{
    bar_->hide();
    area_->selection().beginDrag(pos);
    area_->setSelectionShown(true);
}

void FrmPic::cropMove(QMouseEvent *event)
{
    CropSelection &selection = area_->selection();
    const QPoint pos = event->position().toPoint();
    if (selection.isDragging() && (event->buttons() & Qt::LeftButton)) {
        selection.dragTo(pos);
        ImageMove();
        return;
    }
    const CropSelection::Handle handle = selection.handleAt(pos);
    if (handle != CropSelection::None)
        area_->setCursor(CropSelection::cursorFor(handle));
    else if (selection.contains(pos))
        area_->setCursor(Qt::SizeAllCursor);
    else
        area_->setCursor(Qt::CrossCursor);
}

void FrmPic::cropRelease()
{
    CropSelection &selection = area_->selection();
    if (!selection.isDragging())
        return;
    selection.endDrag();
    if (selection.isEmpty()) {
        hideSelection();
        return;
    }
    ImageMove();
    bar_->show();
    bar_->raise();
    ImageMove();
}

void FrmPic::ImageMove()
{
    area_->update();
    const QRect r = area_->selection().rect().translated(area_->pos());
    bar_->adjustSize();
    // Right edge on the selection's right edge, just below it; kept on screen.
    int x = r.left() + r.width() - bar_->width();
    int y = r.top() + r.height() + kBarGap;
    x = std::clamp(x, 0, std::max(0, width() - bar_->width()));
    if (y + bar_->height() > height())
        y = std::max(0, r.top() - kBarGap - bar_->height());
    bar_->move(x, y);
}

void FrmPic::cropAction(int action)
{
    switch (action) {
    case CropActionBar::Redo:
        hideSelection();
        area_->setCursor(Qt::CrossCursor);
        break;
    case CropActionBar::CopyRegion: {
        const QRect r = area_->selectionInPicture();
        if (!r.isEmpty())
            QGuiApplication::clipboard()->setImage(shown_.copy(r));
        leaveCropMode();
        break;
    }
    case CropActionBar::Confirm:
        confirmCrop();
        break;
    case CropActionBar::Leave:
        leaveCropMode();
        break;
    default:
        break;
    }
}

void FrmPic::confirmCrop()
{
    const QRect r = area_->selectionInPicture();
    if (r.isEmpty())
        return;
    const QImage before = shown_;
    const QImage cropped = shown_.copy(r);
    leaveCropMode();
    showImage(cropped);
    const bool yes = request_.prompter
        && request_.prompter->askYesNo(this, viewer_texts::boxTitle(), viewer_texts::cropQuestion());
    if (!yes || !saveCrop(cropped))
        showImage(before);
}

bool FrmPic::saveCrop(const QImage &picture)
{
    QString error;
    if (request_.userDir.isEmpty() || !QDir().mkpath(request_.userDir)) {
        emit statusChanged(viewer_texts::cropSaveFailed(request_.userDir));
        return false;
    }
    const QString path = uniqueNewPicturePath(request_.userDir,
        timeStampedStem(QStringLiteral("user"), QDateTime::currentDateTime()), QStringLiteral("bmp"));
    if (!writeFileAtomically(path, encodeBmp24(picture), &error)) {
        emit statusChanged(viewer_texts::cropSaveFailed(error));
        return false;
    }
    paths_.append(path);
    current_ = int(paths_.size()) - 1;
    emit pictureAdded(path);
    emit currentChanged(current_);
    return true;
}
