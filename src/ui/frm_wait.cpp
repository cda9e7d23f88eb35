#include "ui/frm_wait.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
QString waitText()
{
    return QCoreApplication::translate("tuvo", "正在处理，请稍候");
}
const QString kDots = QStringLiteral(" …");
} // namespace

FrmWait::FrmWait(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmWait"));
    setWindowTitle(QStringLiteral("Tuvo"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);

    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(22, 16, 22, 16);
    label_ = new QLabel(waitText() + kDots, this);
    label_->setObjectName(QStringLiteral("lblWait"));
    QFont f = label_->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    label_->setFont(f);
    label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(waitText() + kDots) + 8);
    auto *bar = new QProgressBar(this);
    bar->setRange(0, 0); // busy, without a measure
    bar->setTextVisible(false);
    bar->setFixedHeight(6);
    frame->addWidget(label_);
    frame->addWidget(bar);
    setStyleSheet(QStringLiteral("FrmWait { border: 1px solid palette(mid); }"));

    timer_.setInterval(500);
    connect(&timer_, &QTimer::timeout, this, &FrmWait::blink);
}

QString FrmWait::text() const
{
    return label_->text();
}

void FrmWait::blink()
{
    dotsShown_ = !dotsShown_;
    label_->setText(dotsShown_ ? waitText() + kDots : waitText());
}

void FrmWait::showEvent(QShowEvent *event)
{
    dotsShown_ = true;
    label_->setText(waitText() + kDots);
    timer_.start();
    if (parentWidget()) {
        adjustSize();
        const QRect p = parentWidget()->window()->geometry();
        move(p.center() - rect().center());
    }
    QWidget::showEvent(event);
}

void FrmWait::hideEvent(QHideEvent *event)
{
    timer_.stop();
    QWidget::hideEvent(event);
}
