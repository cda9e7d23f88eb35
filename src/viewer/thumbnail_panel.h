#pragma once

#include "viewer/thumb_pager.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>

class QMenu;
class QPushButton;
class ThumbnailLoader;
class ThumbPlace;

// The thumbnail list: 56 places, eight to a row, paged with "<" and ">", plus
// "幻灯" and "返回". Thumbnails arrive one by one from worker threads.
class ThumbnailPanel : public QWidget {
    Q_OBJECT
public:
    explicit ThumbnailPanel(QWidget *parent = nullptr);
    ~ThumbnailPanel() override;

    // Chooses the thumbnail size for a screen of this size and lays the places out.
    void setScreenSize(QSize screen);

    // Shows page 0 of paths.
    void open(const QStringList &paths);
    void showPreviousPage();
    void showNextPage();
    // Stops loading and forgets the pictures (the panel is being hidden).
    void closePanel();

    // "移除图片" on place: asks for the removal of its list position and empties it.
    void removeAt(int place);
    // Left click on place.
    void choose(int place);

    const ThumbPager &pager() const { return pager_; }
    QImage placeImage(int place) const;
    bool isPlaceShown(int place) const;
    QPushButton *previousButton() const { return previous_; }
    QPushButton *nextButton() const { return next_; }
    QPushButton *slideButton() const { return slide_; }
    QPushButton *backButton() const { return back_; }

    // Blocks until every requested thumbnail has arrived (tests, screenshots).
    void waitForThumbnails();

signals:
    void pictureChosen(int position);
    void removeRequested(int position);
    void slideshowRequested();
    void closeRequested();

private:
    void loadPage();
    void updateButtons();
    void placeThumbnail(int place, const QImage &image);
    void showPlaceMenu(int place, QPoint globalPos);

    ThumbPager pager_;
    QStringList paths_;
    QSize thumbSize_;
    int ThumbIndex = 0;
    QList<ThumbPlace *> places_;
    QPushButton *previous_;
    QPushButton *next_;
    QPushButton *slide_;
    QPushButton *back_;
    QMenu *placeMenu_;
    ThumbnailLoader *loader_;
};
