#pragma once

#include "viewer/viewer_request.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class CropActionBar;
class PicArea;
class QAction;
class QLabel;
class QMenu;
class SlideShow;
class ThumbnailPanel;

// frmPic: the full-screen viewer. See viewer_request.h for how to open it and
// what it reports back.
class FrmPic : public QWidget {
    Q_OBJECT
public:
    explicit FrmPic(QWidget *parent = nullptr);
    ~FrmPic() override;

    // Loads the viewer for request and shows it over the screen, hiding the owner.
    // false when the picture to show cannot be loaded: nothing is shown then.
    bool open(const ViewerRequest &request);

    // Shows the picture file at path fitted (ShowAll); false when it cannot be
    // loaded, which leaves only the background.
    bool ShowPic(const QString &path);
    void ShowAll();
    // "原始大小"
    void showOwnSize();
    // The menu's choice of "适合屏幕" or "原始大小": it holds for the pictures
    // stepped to after it, until the other is chosen.
    void chooseOwnSize(bool ownSize);
    // Places the crop handles and the action bar for the current selection.
    void ImageMove();

    // Next (+1) or previous (-1) list entry; beeps at the ends and outside the
    // single-picture view.
    void step(int delta);

    void enterCropMode();
    void leaveCropMode();
    // The action bar's actions, CropActionBar::Action.
    void cropAction(int action);

    void showThumbnails();
    void choosePicture(int position);
    void startSlideshow();
    void stopSlideshow();
    void slideTick();
    void askSlideInterval();
    // WallpaperStyle
    void setWallpaperStyle(int style);
    void setBackground(int iBGColor);
    void copyPicture();

    int iViewSource() const { return iViewSource_; }
    int iViewMode() const { return iViewMode_; }
    bool bCropMode() const { return bCropMode_; }
    int currentPosition() const { return current_; }
    const QStringList &paths() const { return paths_; }
    int iSlideTime() const { return iSlideTime_; }
    int backgroundIndex() const { return iBGColor_; }
    bool isFitChecked() const { return fitted_; }
    bool isPictureShown() const;
    QRect pictureGeometry() const;
    QImage shownPicture() const { return shown_; }

    PicArea *pictureArea() const { return area_; }
    ThumbnailPanel *thumbnailPanel() const { return panel_; }
    CropActionBar *actionBar() const { return bar_; }
    QLabel *hintLabel() const { return hint_; }
    SlideShow *slideShow() const { return slideshow_; }
    QMenu *menu() const { return menu_; }
    // The viewer menu's entry with this text (without "&"), or null.
    QAction *menuAction(const QString &text) const;

signals:
    void pictureAdded(const QString &path);
    void entryRemoved(int position);
    void currentChanged(int position);
    void statusChanged(const QString &text);
    void slideTimeChanged(int seconds);
    void beeped();
    void closed(int position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // frm_pic.cpp
    void showImage(const QImage &image);
    void setPlacement(const QRect &area, bool fitted);
    bool showEntry(int position);
    QImage renderProcessed(int position) const;
    void beep();
    void rightPress(QPoint globalPos);
    bool areaMouseEvent(QMouseEvent *event);
    QString userFile(const QString &name) const;

    // frm_pic_crop.cpp
    void cropPress(QPoint pos);
    void cropMove(QMouseEvent *event);
    void cropRelease();
    void confirmCrop();
    bool saveCrop(const QImage &picture);
    void hintTick();
    void hideSelection();

    // frm_pic_menu.cpp
    void buildMenu();
    void removeEntry(int position);
    QString wallpaperFile();

    ViewerRequest request_;
    QPointer<QWidget> owner_; // the request's owner, while it lives
    QStringList paths_;
    int current_ = 0;
    int iViewSource_ = ViewSourcePictures;
    int iViewMode_ = ViewModeSingle;
    bool bCropMode_ = false;
    int iSlideTime_ = 3;
    int iBGColor_ = 0;
    bool fitted_ = false;
    bool ownSizeChosen_ = false;
    bool opened_ = false;
    bool closing_ = false;
    QImage shown_;

    bool panning_ = false;
    QPoint grab_;
    int wheelRest_ = 0;

    PicArea *area_;
    ThumbnailPanel *panel_;
    CropActionBar *bar_;
    QLabel *hint_;
    QTimer hintTimer_;
    int hintTicks_ = 0;
    SlideShow *slideshow_;

    QMenu *menu_ = nullptr;
    QAction *fitAction_ = nullptr;
    QAction *ownAction_ = nullptr;
    QAction *slideAction_ = nullptr;
    QList<QAction *> colourActions_;
};
