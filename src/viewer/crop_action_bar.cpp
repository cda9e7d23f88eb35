#include "viewer/crop_action_bar.h"

#include "viewer/viewer_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CropActionBar::CropActionBar(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("cropActionBar"));
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet(QStringLiteral("#cropActionBar { background: #f4f4f4; border: 1px solid #707070; }"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(new QLabel(viewer_texts::nextStep(), this));
    const QStringList names = viewer_texts::cropActions();
    for (int i = 0; i < names.size(); ++i) {
        auto *b = new QPushButton(names[i], this);
        // The viewer keeps the keyboard: Esc must still reach it.
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, i] { emit chosen(i); });
        layout->addWidget(b);
        buttons_ << b;
    }
    adjustSize();
}
