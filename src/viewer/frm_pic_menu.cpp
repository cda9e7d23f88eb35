#include "dialogs/prompter.h"
#include "imaging/encoders.h"
#include "viewer/background_colours.h"
#include "viewer/frm_pic.h"
#include "viewer/pic_area.h"
#include "viewer/slideshow.h"
#include "viewer/thumbnail_panel.h"
#include "viewer/viewer_texts.h"
#include "viewer/wallpaper.h"

#include <QActionGroup>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>

void FrmPic::buildMenu()
{
    namespace t = viewer_texts;
    menu_ = new QMenu(this);
    auto *fitGroup = new QActionGroup(this);
    fitAction_ = menu_->addAction(t::fitToScreen(), this, [this] { chooseOwnSize(false); });
    ownAction_ = menu_->addAction(t::ownSize(), this, [this] { chooseOwnSize(true); });
    for (QAction *a : {fitAction_, ownAction_}) {
        a->setCheckable(true);
        fitGroup->addAction(a);
    }
    ownAction_->setChecked(true);
    menu_->addSeparator();
    menu_->addAction(t::crop(), this, &FrmPic::enterCropMode);
    menu_->addAction(t::copyPicture(), this, &FrmPic::copyPicture);
    QMenu *wallpaper = menu_->addMenu(t::wallpaper());
    wallpaper->addAction(t::wallpaperStretch(), this, [this] { setWallpaperStyle(WallpaperStretch); });
    wallpaper->addAction(t::wallpaperCentre(), this, [this] { setWallpaperStyle(WallpaperCentre); });
    wallpaper->addAction(t::wallpaperTile(), this, [this] { setWallpaperStyle(WallpaperTile); });
    menu_->addSeparator();
    menu_->addAction(t::thumbnails(), this, &FrmPic::showThumbnails);
    slideAction_ = menu_->addAction(t::slideshow(), this, [this] {
        // The check mark has already flipped: it says what the user wants now.
        if (slideshow_->isRunning())
            stopSlideshow();
        else
            startSlideshow();
    });
    slideAction_->setCheckable(true);
    menu_->addAction(t::slideSpeed(), this, &FrmPic::askSlideInterval);
    QMenu *colours = menu_->addMenu(t::background());
    auto *colourGroup = new QActionGroup(this);
    const QStringList names = backgroundNames();
    for (int i = 0; i < names.size(); ++i) {
        QAction *a = colours->addAction(names[i], this, [this, i] { setBackground(i); });
        a->setCheckable(true);
        colourGroup->addAction(a);
        colourActions_ << a;
    }
    menu_->addSeparator();
    menu_->addAction(t::leaveFullScreen(), this, &FrmPic::close);
}

QAction *FrmPic::menuAction(const QString &text) const
{
    QList<QMenu *> menus = {menu_};
    while (!menus.isEmpty()) {
        QMenu *m = menus.takeFirst();
        for (QAction *a : m->actions()) {
            if (a->text() == text)
                return a;
            if (a->menu())
                menus << a->menu();
        }
    }
    return nullptr;
}

void FrmPic::copyPicture()
{
    if (!shown_.isNull())
        QGuiApplication::clipboard()->setImage(shown_);
}

void FrmPic::setBackground(int iBGColor)
{
    const bool changed = iBGColor != iBGColor_;
    iBGColor_ = iBGColor >= 0 && iBGColor < kBackgroundCount ? iBGColor : 0;
    for (int i = 0; i < colourActions_.size(); ++i)
        colourActions_[i]->setChecked(i == iBGColor_);
    update();
    panel_->update();
    if (changed && opened_)
        storeBackgroundIndex(request_.settings, iBGColor_);
}

void FrmPic::showThumbnails()
{
    area_->hide();
    stopSlideshow();
    iViewMode_ = ViewModeThumbnails;
    panel_->setScreenSize(size());
    panel_->open(paths_);
    panel_->move((width() - panel_->width()) / 2, std::max(0, (height() - panel_->height()) / 2));
    panel_->show();
    panel_->raise();
}

void FrmPic::choosePicture(int position)
{
    if (position < 0 || position >= paths_.size())
        return;
    current_ = position;
    emit currentChanged(current_);
    panel_->closePanel();
    panel_->hide();
    iViewMode_ = ViewModeSingle;
    ShowPic(paths_[position]);
}

void FrmPic::removeEntry(int position)
{
    if (position < 0 || position >= paths_.size())
        return;
    paths_.removeAt(position);
    if (current_ > position || current_ >= paths_.size())
        current_ = std::max(0, current_ - 1);
    emit entryRemoved(position);
}

void FrmPic::startSlideshow()
{
    slideAction_->setChecked(true);
    slideshow_->setIntervalSeconds(iSlideTime_);
    slideshow_->start();
    panel_->closePanel();
    panel_->hide();
    iViewMode_ = ViewModeSlideshow;
    // Coming from the thumbnails nothing is shown yet: start at once.
    if (!isPictureShown())
        slideTick();
}

void FrmPic::stopSlideshow()
{
    slideshow_->stop();
    slideAction_->setChecked(false);
}

void FrmPic::slideTick()
{
    const int position = slideshow_->nextPosition(int(paths_.size()));
    if (position < 0)
        return;
    current_ = position;
    emit currentChanged(current_);
    ShowPic(paths_[position]);
}

void FrmPic::askSlideInterval()
{
    if (!request_.prompter)
        return;
    QString answer;
    if (!request_.prompter->askText(this, viewer_texts::intervalTitle(), viewer_texts::intervalPrompt(),
            QString::number(iSlideTime_), &answer))
        return;
    const std::optional<int> seconds = slideTimeFromAnswer(answer);
    if (!seconds)
        return;
    iSlideTime_ = *seconds;
    emit slideTimeChanged(iSlideTime_);
    slideshow_->setIntervalSeconds(iSlideTime_);
}

QString FrmPic::wallpaperFile()
{
    const QString path = paths_.value(current_);
    if (iViewSource_ == ViewSourcePictures && path.endsWith(QLatin1String(".bmp")))
        return path;
    // Saved beside the program's own files; tempBZ.bmp would vanish when the viewer
    // closes and take the wallpaper with it.
    const QString file = QDir(request_.userDir).filePath(viewer_texts::wallpaperPictureName());
    QString error;
    if (shown_.isNull() || !QDir().mkpath(request_.userDir)
        || !writeFileAtomically(file, encodeBmp24(shown_), &error)) {
        emit statusChanged(viewer_texts::wallpaperSaveFailed(error.isEmpty() ? file : error));
        return {};
    }
    return file;
}

void FrmPic::setWallpaperStyle(int style)
{
    const QString file = wallpaperFile();
    if (file.isEmpty())
        return;
    if (!SetWallpaper(file, style))
        emit statusChanged(viewer_texts::wallpaperUnsupported());
}
