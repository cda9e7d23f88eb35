#include "ui/canvas_editor.h"

#include "dialogs/prompter.h"
#include "ui/edit_texts.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kMoveHandleSize = 16; // 240 twips

// The marker laid over the preview: the blue square of move mode, the red round
// handle of the text watermark or the blue bar of the picture watermark.
class CanvasHandle : public QWidget {
public:
    CanvasHandle(MarkHit kind, QWidget *parent)
        : QWidget(parent)
        , kind_(kind)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        switch (kind) {
        case MarkHit::Text:
            setObjectName(QStringLiteral("textHandle"));
            resize(14, 14);
            break;
        case MarkHit::Picture:
            setObjectName(QStringLiteral("pictureHandle"));
            resize(30, 10);
            break;
        case MarkHit::None:
            setObjectName(QStringLiteral("moveHandle"));
            resize(kMoveHandleSize, kMoveHandleSize);
            break;
        }
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1));
        if (kind_ == MarkHit::Text) {
            p.setBrush(QColor(220, 20, 20));
            p.drawEllipse(rect().adjusted(0, 0, -1, -1));
        } else {
            p.setBrush(QColor(20, 60, 220));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    MarkHit kind_;
};

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

CanvasEditor::CanvasEditor(QWidget *preview, JobSettings &job, Host host, QObject *parent)
    : QObject(parent)
    , preview_(preview)
    , job_(job)
    , host_(std::move(host))
{
    for (MarkHit kind : {MarkHit::None, MarkHit::Text, MarkHit::Picture})
        handles_[int(kind)] = new CanvasHandle(kind, preview);
    handle_ = handles_[0];
    preview->setMouseTracking(true);
    preview->setFocusPolicy(Qt::StrongFocus);
    preview->installEventFilter(this);

    mMove_ = new QAction(QCoreApplication::translate("tuvo", "移动图片"), this);
    mMove_->setObjectName(QStringLiteral("mMove"));
    mReset_ = new QAction(QCoreApplication::translate("tuvo", "恢复原点"), this);
    mReset_->setObjectName(QStringLiteral("mResetOrigin"));
    mLocate_ = new QAction(QCoreApplication::translate("tuvo", "坐标定位"), this);
    mLocate_->setObjectName(QStringLiteral("mLocate"));
    mLocate_->setEnabled(false);
    connect(mMove_, &QAction::triggered, this, &CanvasEditor::enterMoveMode);
    connect(mReset_, &QAction::triggered, this, &CanvasEditor::resetOrigin);
    connect(mLocate_, &QAction::triggered, this, &CanvasEditor::locate);
}

QWidget *CanvasEditor::buildButtonBar(QWidget *parent)
{
    auto *bar = new QFrame(parent);
    bar->setObjectName(QStringLiteral("buttonBar"));
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setAutoFillBackground(true);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 3, 4, 3);
    const auto add = [&](const char *name, const QString &text, auto slot) {
        auto *b = new QPushButton(text, bar);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    };
    add("cmdMove", QCoreApplication::translate("tuvo", "移动图片"), &CanvasEditor::enterMoveMode);
    add("cmdAlignX", QCoreApplication::translate("tuvo", "设置图片左右与画布重合"), &CanvasEditor::alignLeft);
    add("cmdAlignY", QCoreApplication::translate("tuvo", "设置图片上下与画布重合"), &CanvasEditor::alignTop);
    add("cmdCrop", QCoreApplication::translate("tuvo", "裁剪图片"), &CanvasEditor::cropRequested);
    bar->adjustSize();
    bar->hide();
    buttonBar_ = bar;
    placeOverlays();
    return bar;
}

void CanvasEditor::setToolPanel(QWidget *panel)
{
    toolPanel_ = panel;
    toolPanel_->hide();
    placeOverlays();
}

bool CanvasEditor::handleVisible() const
{
    return !handle_->isHidden();
}

QRect CanvasEditor::handleGeometry() const
{
    return handle_->geometry();
}

void CanvasEditor::flashWait()
{
    QEventLoop loop;
    QTimer::singleShot(flashMs_, &loop, &QEventLoop::quit);
    loop.exec();
}

void CanvasEditor::enterMoveMode()
{
    moveMode_ = true;
    selected_ = MarkHit::None;
    setMovePointer(true);
    emit hint(edittexts::moveModeHint());
    handle_ = handles_[0];
    handle_->move(preview_->width() / 2, preview_->height() / 2);
    for (int i = 0; i < 5; ++i) {
        handle_->setVisible(i % 2 == 0);
        if (i < 4)
            flashWait();
    }
    mLocate_->setEnabled(true);
    preview_->setFocus();
}

void CanvasEditor::leaveMoveMode()
{
    moveMode_ = false;
    dragging_ = false;
    setMovePointer(false);
}

void CanvasEditor::setMovePointer(bool on)
{
    movePointer_ = on;
    if (on)
        preview_->setCursor(Qt::SizeAllCursor);
    else
        preview_->unsetCursor();
}

void CanvasEditor::setOffsets(float x, float y)
{
    job_.sngOffsetX = x;
    job_.sngOffsetY = y;
    emit offsetsChanged(x, y);
}

void CanvasEditor::resetOrigin()
{
    setOffsets(0, 0);
    emit changed();
}

void CanvasEditor::alignLeft()
{
    setOffsets(0, job_.sngOffsetY);
    emit changed();
}

void CanvasEditor::alignTop()
{
    setOffsets(job_.sngOffsetX, 0);
    emit changed();
}

void CanvasEditor::locate()
{
    QString answer;
    const QString start = QString::number(double(job_.sngOffsetX)) + QLatin1Char(',')
        + QString::number(double(job_.sngOffsetY));
    if (!Prompter::instance().askText(
            preview_, edittexts::coordinatesTitle(), edittexts::coordinatesPrompt(), start, &answer))
        return;
    if (answer.isEmpty() || answer.size() < 3)
        return;
    const int comma = answer.indexOf(QLatin1Char(','));
    if (comma < 0)
        return;
    bool okX = false;
    bool okY = false;
    const double x = answer.left(comma).trimmed().toDouble(&okX);
    const double y = answer.mid(comma + 1).trimmed().toDouble(&okY);
    if (!okX || !okY || !(x >= 0) || !(y >= 0))
        return;
    setOffsets(float(x), float(y));
    emit changed();
}

void CanvasEditor::placeHandle(QPoint centre)
{
    handle_->move(centre - QPoint(handle_->width() / 2, handle_->height() / 2));
}

void CanvasEditor::showMarkHandle(MarkHit which)
{
    const QRect shown = host_.imageRect ? host_.imageRect() : QRect();
    if (which == MarkHit::None || shown.isEmpty())
        return;
    selected_ = which;
    handle_ = handles_[int(which)];
    const bool text = which == MarkHit::Text;
    // The text handle sits on the text's left edge, the picture handle on its centre.
    const double fx = text ? job_.iuTSyX : job_.iuISyX;
    const double fy = text ? job_.iuTSyY : job_.iuISyY;
    const QPoint at(qRound(shown.x() + fx * shown.width() + (text ? handle_->width() / 2.0 : 0.0)),
        qRound(shown.y() + fy * shown.height()));
    placeHandle(at);
    handle_->show();
    handle_->raise();
}

void CanvasEditor::dragTo(QPoint pos)
{
    const QRect shown = host_.imageRect ? host_.imageRect() : QRect();
    if (shown.isEmpty())
        return;
    const QPointF p = pos - shown.topLeft();
    placeHandle(pos);
    if (moveMode_) {
        // The picture's corner goes where the handle's corner is, in work-surface pixels.
        const QSize surface = host_.surfaceSize ? host_.surfaceSize() : QSize();
        const double scale = surface.width() > 0 ? double(shown.width()) / surface.width() : 1.0;
        const double half = handle_->width() / 2.0;
        setOffsets(float((p.x() - half) / scale), float((p.y() - half) / scale));
    } else if (selected_ == MarkHit::Picture) {
        job_.iuISyX = p.x() / shown.width();
        job_.iuISyY = p.y() / shown.height();
    } else if (selected_ == MarkHit::Text) {
        job_.iuTSyX = (p.x() - handle_->width() / 2.0) / shown.width();
        job_.iuTSyY = p.y() / shown.height();
    }
}

bool CanvasEditor::mousePress(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (!movePointer_)
            return false; // the preview opens its menu
        leaveMoveMode();
        handles_[0]->hide();
        swallowMenu_ = true;
        return true;
    }
    swallowMenu_ = false;
    if (event->button() != Qt::LeftButton)
        return false;
    if (moveMode_) {
        handle_ = handles_[0];
        placeHandle(pos);
        handle_->show();
        dragging_ = true;
        emit hint(edittexts::moveDragHint());
        return true;
    }
    const QRect shown = host_.imageRect ? host_.imageRect() : QRect();
    const QSize surface = host_.surfaceSize ? host_.surfaceSize() : QSize();
    const MarkHit hit
        = PinRect(pos, QRectF(shown), surface, host_.marks ? host_.marks() : MarkPlacement(), job_);
    if (hit == MarkHit::None) {
        setMovePointer(false);
        handle_->hide();
        dragging_ = false;
        return false;
    }
    emit positionSwitched(hit);
    showMarkHandle(hit);
    setMovePointer(true);
    dragging_ = true;
    emit hint(edittexts::markDragHint());
    return true;
}

void CanvasEditor::mouseMove(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    hoverOverlays(pos);
    if (dragging_ && movePointer_ && (event->buttons() & Qt::LeftButton))
        dragTo(pos);
}

void CanvasEditor::mouseRelease(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !handle_->isHidden()) {
        if (!dragging_ || !movePointer_)
            return;
        dragTo(event->position().toPoint());
        dragging_ = false;
        handle_->hide();
        emit changed();
        return;
    }
    handle_->hide();
}

bool CanvasEditor::customMarkActive() const
{
    return (job_.bTextMark == 1 && !job_.sText.isEmpty() && job_.iuTxtPos == kCustom)
        || (job_.bPicMark == 1 && !job_.suISyF.isEmpty() && job_.iuImgPos == kCustom);
}

bool CanvasEditor::keyPress(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (host_.openProcessedView)
            host_.openProcessedView();
        return true;
    }
    if (!isArrow(key))
        return false;
    const int dx = key == Qt::Key_Right ? 1 : (key == Qt::Key_Left ? -1 : 0);
    const int dy = key == Qt::Key_Down ? 1 : (key == Qt::Key_Up ? -1 : 0);
    if (!moveMode_ && !customMarkActive()) {
        const int delta = (key == Qt::Key_Right || key == Qt::Key_Down) ? 1 : -1;
        if (!(host_.stepList && host_.stepList(delta))) {
            if (host_.beep)
                host_.beep();
            else
                QApplication::beep();
        }
        return true;
    }
    handle_->hide();
    if (moveMode_) {
        setOffsets(job_.sngOffsetX + dx, job_.sngOffsetY + dy);
    } else {
        // One preview pixel of the watermark.
        const QRect shown = host_.imageRect ? host_.imageRect() : QRect();
        const double pw = qMax(1, shown.width());
        const double ph = qMax(1, shown.height());
        const bool picture
            = selected_ == MarkHit::Picture || (selected_ == MarkHit::None && job_.iuTxtPos != kCustom);
        if (picture) {
            job_.iuISyX += dx / pw;
            job_.iuISyY += dy / ph;
        } else {
            job_.iuTSyX += dx / pw;
            job_.iuTSyY += dy / ph;
        }
    }
    emit changed();
    return true;
}

void CanvasEditor::placeOverlays()
{
    if (toolPanel_) {
        toolPanel_->adjustSize();
        toolPanel_->move(preview_->width() - toolPanel_->width() - 2, 4);
    }
    if (buttonBar_) {
        buttonBar_->adjustSize();
        buttonBar_->move(
            (preview_->width() - buttonBar_->width()) / 2, preview_->height() - buttonBar_->height() - 4);
    }
}

bool CanvasEditor::overMark(QPoint pos) const
{
    for (const QWidget *h : handles_) {
        if (!h->isHidden() && h->geometry().adjusted(-4, -4, 4, 4).contains(pos))
            return true;
    }
    const QRect shown = host_.imageRect ? host_.imageRect() : QRect();
    if (shown.isEmpty())
        return false;
    // The hit test may switch a position list; hovering must change nothing.
    JobSettings probe = job_;
    return PinRect(pos, QRectF(shown), host_.surfaceSize ? host_.surfaceSize() : QSize(),
               host_.marks ? host_.marks() : MarkPlacement(), probe)
        != MarkHit::None;
}

void CanvasEditor::hoverOverlays(QPoint pos)
{
    const bool inPanelBand = toolPanel_ && pos.x() > preview_->width() - toolPanel_->width();
    const QRect bar = buttonBar_ ? buttonBar_->geometry() : QRect();
    const bool inBarBand
        = buttonBar_ && pos.y() >= bar.top() && pos.x() >= bar.left() && pos.x() <= bar.right();
    // A panel opened over a watermark would cover it and its handle, and take the
    // press meant for dragging it.
    const bool blocked = (inPanelBand || inBarBand) && overMark(pos);
    if (toolPanel_) {
        toolPanel_->setVisible(inPanelBand && !blocked);
        if (toolPanel_->isVisible())
            toolPanel_->raise();
    }
    if (buttonBar_) {
        buttonBar_->setVisible(inBarBand && !blocked);
        if (buttonBar_->isVisible())
            buttonBar_->raise();
    }
}

bool CanvasEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != preview_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return mousePress(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        mouseMove(static_cast<QMouseEvent *>(event));
        return false;
    case QEvent::MouseButtonRelease:
        mouseRelease(static_cast<QMouseEvent *>(event));
        return false;
    case QEvent::ContextMenu:
        if (swallowMenu_) {
            swallowMenu_ = false;
            return true;
        }
        return false;
    case QEvent::KeyPress:
        return keyPress(static_cast<QKeyEvent *>(event));
    case QEvent::Resize:
        placeOverlays();
        return false;
    case QEvent::Leave:
        if (toolPanel_)
            toolPanel_->hide();
        if (buttonBar_)
            buttonBar_->hide();
        return false;
    default:
        return false;
    }
}
