#include "viewer/thumbnail_panel.h"

#include "viewer/thumbnail_loader.h"
#include "viewer/viewer_texts.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <functional>

namespace {

constexpr int kRowGap = 2; // 30 twips
constexpr int kColumnGap = 2; // 35 twips
constexpr int kMargin = 2;
constexpr int kButtonHeight = 30;
constexpr int kButtonWidth = 80;
constexpr int kMaxThumbHeight = 150;

} // namespace

// One thumbnail place: the picture fitted and centred in a thin frame.
class ThumbPlace : public QWidget {
public:
    using Press = std::function<void(Qt::MouseButton, QPoint globalPos)>;

    ThumbPlace(QWidget *parent, Press press)
        : QWidget(parent)
        , press_(std::move(press))
    {
        setCursor(Qt::PointingHandCursor);
    }

    void setImage(const QImage &image)
    {
        image_ = image;
        update();
    }
    const QImage &image() const { return image_; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 0, 0, 40));
        if (!image_.isNull()) {
            const QSize s = image_.size().scaled(size() - QSize(4, 4), Qt::KeepAspectRatio);
            const QRect target(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
            p.drawImage(target, image_);
        }
        p.setPen(QColor(128, 128, 128));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent *e) override { press_(e->button(), e->globalPosition().toPoint()); }
    void mouseDoubleClickEvent(QMouseEvent *e) override { e->accept(); }

private:
    Press press_;
    QImage image_;
};

ThumbnailPanel::ThumbnailPanel(QWidget *parent)
    : QWidget(parent)
    , placeMenu_(new QMenu(this))
    , loader_(new ThumbnailLoader(this))
{
    for (int i = 0; i < ThumbPager::kPlaces; ++i) {
        places_ << new ThumbPlace(this, [this, i](Qt::MouseButton button, QPoint globalPos) {
            if (button == Qt::LeftButton)
                choose(i);
            else if (button == Qt::RightButton)
                showPlaceMenu(i, globalPos);
        });
    }
    const auto button = [this](const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    previous_ = button(viewer_texts::previousPage());
    next_ = button(viewer_texts::nextPage());
    slide_ = button(viewer_texts::slideButton());
    back_ = button(viewer_texts::backButton());
    connect(previous_, &QPushButton::clicked, this, &ThumbnailPanel::showPreviousPage);
    connect(next_, &QPushButton::clicked, this, &ThumbnailPanel::showNextPage);
    connect(slide_, &QPushButton::clicked, this, &ThumbnailPanel::slideshowRequested);
    connect(back_, &QPushButton::clicked, this, &ThumbnailPanel::closeRequested);
    placeMenu_->addAction(viewer_texts::removePicture(), this, [this] { removeAt(ThumbIndex); });
    connect(loader_, &ThumbnailLoader::thumbnailReady, this, &ThumbnailPanel::placeThumbnail);
    setScreenSize(QSize(800, 600));
    updateButtons();
}

ThumbnailPanel::~ThumbnailPanel() = default;

void ThumbnailPanel::setScreenSize(QSize screen)
{
    const int rows = ThumbPager::kPlaces / ThumbPager::kPerRow;
    int h = (screen.height() - 2 * kMargin - 3 * kButtonHeight) / rows - kRowGap;
    h = std::min(h, kMaxThumbHeight);
    int w = h * 4 / 3;
    const int widest = (screen.width() - 40) / ThumbPager::kPerRow - kColumnGap;
    if (w > widest) {
        w = widest;
        h = w * 3 / 4;
    }
    thumbSize_ = QSize(std::max(w, 16), std::max(h, 12));

    for (int i = 0; i < places_.size(); ++i) {
        const int row = i / ThumbPager::kPerRow, column = i % ThumbPager::kPerRow;
        places_[i]->setGeometry(kMargin + column * (thumbSize_.width() + kColumnGap),
            kMargin + row * (thumbSize_.height() + kRowGap), thumbSize_.width(), thumbSize_.height());
    }
    const int width
        = 2 * kMargin + ThumbPager::kPerRow * thumbSize_.width() + (ThumbPager::kPerRow - 1) * kColumnGap;
    const int buttonsTop = kMargin + rows * (thumbSize_.height() + kRowGap) + kButtonHeight / 2;
    const QList<QPushButton *> buttons = {previous_, next_, slide_, back_};
    const int buttonsWidth = int(buttons.size()) * kButtonWidth + (int(buttons.size()) - 1) * 10;
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setGeometry(
            (width - buttonsWidth) / 2 + i * (kButtonWidth + 10), buttonsTop, kButtonWidth, kButtonHeight);
    resize(width, buttonsTop + kButtonHeight + kMargin);
}

void ThumbnailPanel::open(const QStringList &paths)
{
    paths_ = paths;
    pager_.reset(int(paths_.size()));
    loadPage();
}

void ThumbnailPanel::showPreviousPage()
{
    if (!pager_.canGoBack())
        return;
    pager_.previous();
    loadPage();
}

void ThumbnailPanel::showNextPage()
{
    if (!pager_.canGoForward())
        return;
    pager_.next();
    loadPage();
}

void ThumbnailPanel::closePanel()
{
    loader_->cancel();
    for (ThumbPlace *place : places_) {
        place->setImage(QImage());
        place->hide();
    }
}

void ThumbnailPanel::loadPage()
{
    loader_->cancel();
    for (int i = 0; i < places_.size(); ++i) {
        const int position = pager_.positionAt(i);
        places_[i]->setImage(QImage());
        places_[i]->setVisible(position >= 0);
        if (position >= 0)
            loader_->request(i, paths_[position], thumbSize_);
    }
    updateButtons();
}

void ThumbnailPanel::updateButtons()
{
    previous_->setEnabled(pager_.canGoBack());
    next_->setEnabled(pager_.canGoForward());
}

void ThumbnailPanel::placeThumbnail(int place, const QImage &image)
{
    if (place >= 0 && place < places_.size() && pager_.positionAt(place) >= 0)
        places_[place]->setImage(image);
}

void ThumbnailPanel::showPlaceMenu(int place, QPoint globalPos)
{
    ThumbIndex = place;
    placeMenu_->popup(globalPos);
}

void ThumbnailPanel::removeAt(int place)
{
    const int position = pager_.positionAt(place);
    if (position < 0)
        return;
    pager_.removePosition(position);
    paths_.removeAt(position);
    places_[place]->setImage(QImage());
    updateButtons();
    emit removeRequested(position);
}

void ThumbnailPanel::choose(int place)
{
    const int position = pager_.positionAt(place);
    if (position >= 0)
        emit pictureChosen(position);
}

QImage ThumbnailPanel::placeImage(int place) const
{
    return place >= 0 && place < places_.size() ? places_[place]->image() : QImage();
}

bool ThumbnailPanel::isPlaceShown(int place) const
{
    return place >= 0 && place < places_.size() && !places_[place]->isHidden();
}

void ThumbnailPanel::waitForThumbnails()
{
    loader_->waitForDone();
}
