#include "ui/adjust_menus.h"

#include "core/effect_presets.h"
#include "ui/edit_texts.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <string>

namespace {

// The effect captions as the core names them, listed here for the translation.
[[maybe_unused]] const char *const kEffectCaptions[] = {QT_TRANSLATE_NOOP("tuvo", "一键美容"),
    QT_TRANSLATE_NOOP("tuvo", "棱角分明"), QT_TRANSLATE_NOOP("tuvo", "暖黄记忆"),
    QT_TRANSLATE_NOOP("tuvo", "华贵绛紫"), QT_TRANSLATE_NOOP("tuvo", "棕褐怀旧"),
    QT_TRANSLATE_NOOP("tuvo", "夜色朦胧"), QT_TRANSLATE_NOOP("tuvo", "陈旧往事"),
    QT_TRANSLATE_NOOP("tuvo", "扫描线"), QT_TRANSLATE_NOOP("tuvo", "浮雕"), QT_TRANSLATE_NOOP("tuvo", "灰度"),
    QT_TRANSLATE_NOOP("tuvo", "黑白"), QT_TRANSLATE_NOOP("tuvo", "底片")};

QPushButton *toolButton(const QString &name, const QString &text, const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(44);
    return b;
}

// Shows a hint on the status line when the widget gets the focus by a click.
class ClickHint : public QObject {
public:
    ClickHint(QObject *target, std::function<void()> onClick)
        : QObject(target)
        , onClick_(std::move(onClick))
    {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            onClick_();
        return false;
    }

private:
    std::function<void()> onClick_;
};

} // namespace

AdjustMenus::AdjustMenus(JobSettings &job, QWidget *panelParent, QObject *parent)
    : QObject(parent)
    , job_(job)
{
    effectGroup_ = new QActionGroup(this);
    effectGroup_->setExclusive(true);
    noEffect_ = new QAction(QCoreApplication::translate("tuvo", "无特效"), this);
    noEffect_->setObjectName(QStringLiteral("mNoEffect"));
    noEffect_->setCheckable(true);
    noEffect_->setChecked(true);
    effectGroup_->addAction(noEffect_);
    connect(noEffect_, &QAction::triggered, this, [this] { chooseEffect(std::nullopt); });
    for (int i = 0; i < kEffectPresetCount; ++i) {
        const QString caption = i == kBrightnessPreset
            ? QStringLiteral("BR_NotShow")
            : QCoreApplication::translate("tuvo", std::string(effectPresetCaption(i)).c_str());
        QAction *a = new QAction(caption, this);
        a->setObjectName(QStringLiteral("mEffect%1").arg(i));
        a->setCheckable(true);
        a->setVisible(i != kBrightnessPreset);
        effectGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { chooseEffect(i); });
        effects_[i] = a;
    }
    for (int i = 0; i < 3; ++i) {
        QAction *a = new QAction(edittexts::channelMenuCaption(i), this);
        a->setObjectName(QStringLiteral("mChannel%1").arg(i));
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::toggled, this, [this, i](bool on) {
            if (channelButtons_[i])
                channelButtons_[i]->setChecked(on);
            factorBoxes_[i]->setText(on ? QStringLiteral("1") : QStringLiteral("0"));
        });
        channels_[i] = a;

        auto *box = new QLineEdit(QStringLiteral("1"), panelParent);
        box->setObjectName(QStringLiteral("txtChannel%1").arg(i));
        box->setToolTip(edittexts::channelFactorTip(i));
        box->setMaximumWidth(44);
        box->hide();
        connect(box, &QLineEdit::textChanged, this, &AdjustMenus::factorsChanged);
        new ClickHint(box, [this] { emit hint(edittexts::channelFactorHint()); });
        factorBoxes_[i] = box;
    }
    buildBrightnessPanel(panelParent);
    buildMatrixPanel(panelParent);
}

QWidget *AdjustMenus::brightnessPanel() const
{
    return brightPanel_;
}

QWidget *AdjustMenus::matrixPanel() const
{
    return matrixPanel_;
}

void AdjustMenus::buildBrightnessPanel(QWidget *parent)
{
    brightPanel_ = new QGroupBox(QCoreApplication::translate("tuvo", "调整亮度"), parent);
    brightPanel_->setObjectName(QStringLiteral("frameBright"));
    brightPanel_->setAutoFillBackground(true);
    sldBright_ = new QSlider(Qt::Horizontal, brightPanel_);
    sldBright_->setObjectName(QStringLiteral("sldBright"));
    sldBright_->setRange(-75, 75);
    sldBright_->setValue(0);
    sldBright_->setMinimumWidth(180);
    auto *cmdDefault = new QPushButton(QCoreApplication::translate("tuvo", "默认"), brightPanel_);
    cmdDefault->setObjectName(QStringLiteral("cmdBrightDefault"));
    auto *cmdClose = new QPushButton(QCoreApplication::translate("tuvo", "关闭"), brightPanel_);
    cmdClose->setObjectName(QStringLiteral("cmdBrightClose"));
    auto *row = new QHBoxLayout(brightPanel_);
    row->addWidget(sldBright_, 1);
    row->addWidget(cmdDefault);
    row->addWidget(cmdClose);
    brightPanel_->adjustSize();
    brightPanel_->hide();

    connect(sldBright_, &QSlider::valueChanged, this, [this](int v) {
        job_.iBrightness = v;
        chooseEffect(kBrightnessPreset);
    });
    connect(cmdDefault, &QPushButton::clicked, this, [this] { sldBright_->setValue(0); });
    connect(cmdClose, &QPushButton::clicked, brightPanel_, &QWidget::hide);
}

void AdjustMenus::buildMatrixPanel(QWidget *parent)
{
    matrixPanel_ = new QGroupBox(QCoreApplication::translate("tuvo", "颜色矩阵调整"), parent);
    matrixPanel_->setObjectName(QStringLiteral("frameMatrix"));
    matrixPanel_->setAutoFillBackground(true);
    auto *grid = new QGridLayout;
    for (int k = 0; k < 25; ++k) {
        auto *box = new QLineEdit(matrixPanel_);
        box->setObjectName(QStringLiteral("txtMatrix%1").arg(k));
        box->setFixedWidth(48);
        grid->addWidget(box, k / 5, k % 5);
        connect(box, &QLineEdit::textChanged, this, [this, k] { matrixBoxChanged(k); });
        matrixBoxes_[k] = box;
    }
    auto *cmdOK = new QPushButton(QCoreApplication::translate("tuvo", "确定"), matrixPanel_);
    cmdOK->setObjectName(QStringLiteral("cmdMatrixOK"));
    auto *cmdCancel = new QPushButton(QCoreApplication::translate("tuvo", "取消"), matrixPanel_);
    cmdCancel->setObjectName(QStringLiteral("cmdMatrixCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *column = new QVBoxLayout(matrixPanel_);
    column->addLayout(grid);
    column->addLayout(buttons);
    matrixPanel_->adjustSize();
    matrixPanel_->hide();
    connect(cmdOK, &QPushButton::clicked, this, &AdjustMenus::confirmMatrix);
    connect(cmdCancel, &QPushButton::clicked, this, &AdjustMenus::cancelMatrix);
}

void AdjustMenus::populateRotationMenu(QMenu *menu)
{
    rotations_ = menu->actions();
    ownRotationMenu_ = rotations_.isEmpty();
    for (int i = 0; ownRotationMenu_ && i <= kMirrorVertical; ++i) {
        if (i == 1) {
            rotations_ << menu->addSeparator();
            continue;
        }
        static const char *const captions[] = {QT_TRANSLATE_NOOP("tuvo", "取消旋转"), "",
            QT_TRANSLATE_NOOP("tuvo", "智能旋转数码照片"), QT_TRANSLATE_NOOP("tuvo", "顺转90度"),
            QT_TRANSLATE_NOOP("tuvo", "逆转90度"), QT_TRANSLATE_NOOP("tuvo", "旋转180度"),
            QT_TRANSLATE_NOOP("tuvo", "水平镜像"), QT_TRANSLATE_NOOP("tuvo", "垂直镜像")};
        QAction *a = menu->addAction(QCoreApplication::translate("tuvo", captions[i]));
        a->setCheckable(true);
        a->setChecked(i == job_.iRotateMode);
        connect(a, &QAction::triggered, this, [this, i] { chooseRotation(i); });
        rotations_ << a;
    }
    for (int i : {kRotateNone, kRotateAuto}) {
        if (i < rotations_.size())
            connect(
                rotations_[i], &QAction::hovered, this, [this, i] { emit hint(edittexts::rotationHint(i)); });
    }
}

void AdjustMenus::chooseRotation(int mode)
{
    if (mode < 0 || mode > kMirrorVertical || mode == 1 || !shown())
        return;
    if (!ownRotationMenu_ && mode < rotations_.size()) {
        // The window's own items choose the mode and redraw.
        rotations_[mode]->trigger();
        return;
    }
    job_.iRotateMode = mode;
    for (int i = 0; i < rotations_.size(); ++i)
        rotations_[i]->setChecked(i == mode);
    emit changed();
}

void AdjustMenus::populateEffectMenu(QMenu *menu)
{
    effectMenu_ = menu;
    menu->addAction(noEffect_);
    menu->addSeparator();
    for (QAction *a : effects_)
        menu->addAction(a);
    menu->addSeparator();
    QAction *bright = menu->addAction(QCoreApplication::translate("tuvo", "调整亮度..."));
    bright->setObjectName(QStringLiteral("mBright"));
    connect(bright, &QAction::triggered, this, &AdjustMenus::showBrightnessPanel);
}

void AdjustMenus::chooseEffect(std::optional<int> preset)
{
    job_.iEffect = preset;
    if (preset && *preset >= 0 && *preset < kEffectPresetCount)
        effects_[*preset]->setChecked(true);
    else
        noEffect_->setChecked(true);
    emit changed();
}

void AdjustMenus::showBrightnessPanel()
{
    brightPanel_->move(10, 10);
    brightPanel_->show();
    brightPanel_->raise();
}

void AdjustMenus::populateColourMenu(QMenu *menu)
{
    for (QAction *a : channels_)
        menu->addAction(a);
    menu->addSeparator();
    QAction *advanced = menu->addAction(QCoreApplication::translate("tuvo", "高级..."));
    advanced->setObjectName(QStringLiteral("mMatrix"));
    connect(advanced, &QAction::triggered, this, &AdjustMenus::openMatrixPanel);
}

void AdjustMenus::toggleChannel(int channel)
{
    channels_[channel]->toggle();
}

void AdjustMenus::factorsChanged()
{
    if (!setChannelFactors(job_.sngColorMatrix, factorBoxes_[0]->text().toStdString(),
            factorBoxes_[1]->text().toStdString(), factorBoxes_[2]->text().toStdString()))
        return;
    if (shown())
        emit changed();
}

void AdjustMenus::openMatrixPanel()
{
    backup_.emplace(job_.sngColorMatrix);
    // Filled while hidden: the boxes write the same values back without a redraw.
    for (int k = 0; k < 25; ++k)
        matrixBoxes_[k]->setText(QString::fromStdString(matrixBoxText(job_.sngColorMatrix, k)));
    matrixPanel_->move(10, 10);
    matrixPanel_->show();
    matrixPanel_->raise();
}

void AdjustMenus::matrixBoxChanged(int k)
{
    if (!setMatrixBox(job_.sngColorMatrix, k, matrixBoxes_[k]->text().toStdString()))
        return;
    if (matrixPanel_->isVisible())
        emit changed();
}

void AdjustMenus::confirmMatrix()
{
    matrixPanel_->hide();
}

void AdjustMenus::cancelMatrix()
{
    if (backup_)
        backup_->restore(job_.sngColorMatrix);
    matrixPanel_->hide();
    if (shown())
        emit changed();
}

QWidget *AdjustMenus::buildToolPanel(QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("toolPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(3);

    auto *rotate = new QGridLayout;
    int slot = 0;
    for (int i = 0; i <= kMirrorVertical; ++i) {
        if (i == 1)
            continue;
        QPushButton *b = toolButton(QStringLiteral("cmdRotate%1").arg(i), edittexts::rotationButtonCaption(i),
            edittexts::rotationHint(i), panel);
        connect(b, &QPushButton::clicked, this, [this, i] { chooseRotation(i); });
        rotate->addWidget(b, slot / 2, slot % 2);
        ++slot;
    }
    column->addWidget(new QLabel(QCoreApplication::translate("tuvo", "旋转"), panel));
    column->addLayout(rotate);

    auto *effects = new QHBoxLayout;
    QPushButton *beauty = toolButton(QStringLiteral("cmdBeauty"), QCoreApplication::translate("tuvo", "美容"),
        QCoreApplication::translate("tuvo", "快速人像美容"), panel);
    QPushButton *more = toolButton(QStringLiteral("cmdMoreEffects"), QStringLiteral(">"),
        QCoreApplication::translate("tuvo", "更多特效"), panel);
    connect(beauty, &QPushButton::clicked, this, [this] { chooseEffect(0); });
    connect(more, &QPushButton::clicked, this, [this] {
        if (effectMenu_)
            effectMenu_->popup(QCursor::pos());
    });
    effects->addWidget(beauty);
    effects->addWidget(more);
    column->addWidget(new QLabel(QCoreApplication::translate("tuvo", "特效"), panel));
    column->addLayout(effects);

    auto *colours = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        QPushButton *b = toolButton(QStringLiteral("cmdChannel%1").arg(i), edittexts::channelButtonCaption(i),
            edittexts::channelButtonCaption(i) + QCoreApplication::translate("tuvo", "色通道开关"), panel);
        b->setCheckable(true);
        b->setChecked(channels_[i]->isChecked());
        // The menu item holds the state; the button only asks it to toggle.
        connect(b, &QPushButton::clicked, this, [this, b, i] {
            b->setChecked(channels_[i]->isChecked());
            toggleChannel(i);
        });
        channelButtons_[i] = b;
        colours->addWidget(b, 0, i);
        colours->addWidget(factorBoxes_[i], 1, i);
        factorBoxes_[i]->setParent(panel);
        factorBoxes_[i]->show();
    }
    column->addWidget(new QLabel(QCoreApplication::translate("tuvo", "色彩"), panel));
    column->addLayout(colours);
    column->addStretch(1);
    panel->adjustSize();
    return panel;
}
