#include "ui/frm_txt_set.h"

#include "dialogs/prompter.h"
#include "render/text_watermark.h"
#include "ui/colour_chart.h"
#include "ui/edit_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Only the first click into the size field after the program started selects it.
bool sizeFieldClickedBefore = false;

qint32 packedColour(const QColor &c)
{
    return qint32(c.red()) + 256 * qint32(c.green()) + 65536 * qint32(c.blue());
}

// Jobs name the Windows Chinese fonts by their Chinese names (stored as they
// are); the list shows them by the name the user's language uses.
QString fontDisplayName(const QString &family)
{
    static const char *const chineseNames[]
        = {QT_TRANSLATE_NOOP("tuvo", "宋体"), QT_TRANSLATE_NOOP("tuvo", "新宋体"),
            QT_TRANSLATE_NOOP("tuvo", "黑体"), QT_TRANSLATE_NOOP("tuvo", "楷体"),
            QT_TRANSLATE_NOOP("tuvo", "仿宋"), QT_TRANSLATE_NOOP("tuvo", "微软雅黑")};
    for (const char *name : chineseNames) {
        if (family == QString::fromUtf8(name))
            return QCoreApplication::translate("tuvo", name);
    }
    return family;
}

} // namespace

FrmTxtSet::FrmTxtSet(JobSettings &job, QWidget *parent)
    : QDialog(parent)
    , job_(job)
{
    setObjectName(QStringLiteral("frmTxtSet"));
    setWindowTitle(edittexts::txtSetCaption());
    setMouseTracking(true);
    buildUi();
    load();
}

void FrmTxtSet::buildUi()
{
    frameParams_ = new QGroupBox(QCoreApplication::translate("tuvo", "参数设置"), this);
    frameParams_->setObjectName(QStringLiteral("frameParams"));
    frameParams_->setMouseTracking(true);
    frameParams_->installEventFilter(this);

    txtText_ = new QComboBox(frameParams_);
    txtText_->setObjectName(QStringLiteral("txtText"));
    txtText_->setEditable(true);
    txtText_->setInsertPolicy(QComboBox::NoInsert);
    txtText_->setMinimumWidth(260);
    txtText_->setEditText(edittexts::txtSetDefaultText());
    txtText_->setToolTip(QCoreApplication::translate("tuvo", "输入水印文字,或从列表中选择"));

    cmbFont_ = new QComboBox(frameParams_);
    cmbFont_->setObjectName(QStringLiteral("cmbFont"));
    cmbFont_->setMaxVisibleItems(20);

    txtSize_ = new QLineEdit(QStringLiteral("9"), frameParams_);
    txtSize_->setObjectName(QStringLiteral("txtSize"));
    txtSize_->setMaximumWidth(60);
    txtSize_->installEventFilter(this);

    chkBold_ = new QCheckBox(QCoreApplication::translate("tuvo", "加粗"), frameParams_);
    chkBold_->setObjectName(QStringLiteral("chkB"));
    chkItalic_ = new QCheckBox(QCoreApplication::translate("tuvo", "斜体"), frameParams_);
    chkItalic_->setObjectName(QStringLiteral("chkI"));
    chkUnderline_ = new QCheckBox(QCoreApplication::translate("tuvo", "下划线"), frameParams_);
    chkUnderline_->setObjectName(QStringLiteral("chkU"));

    colourButton_ = new QPushButton(frameParams_);
    colourButton_->setObjectName(QStringLiteral("txtColor"));
    colourButton_->setFixedSize(60, 22);
    colourButton_->setToolTip(QCoreApplication::translate("tuvo", "单击选择文字颜色"));

    auto *grid = new QGridLayout(frameParams_);
    grid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "水印文字:"), frameParams_), 0, 0);
    grid->addWidget(txtText_, 0, 1, 1, 4);
    grid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "字体:"), frameParams_), 1, 0);
    grid->addWidget(cmbFont_, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "大小:"), frameParams_), 1, 3);
    grid->addWidget(txtSize_, 1, 4);
    auto *styles = new QHBoxLayout;
    styles->addWidget(chkBold_);
    styles->addWidget(chkItalic_);
    styles->addWidget(chkUnderline_);
    styles->addStretch(1);
    grid->addLayout(styles, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "颜色:"), frameParams_), 2, 3);
    grid->addWidget(colourButton_, 2, 4);
    grid->setColumnStretch(1, 1);

    auto *framePre = new QGroupBox(QCoreApplication::translate("tuvo", "预览"), this);
    previewBox_ = new QTextEdit(framePre);
    previewBox_->setObjectName(QStringLiteral("txtPre"));
    previewBox_->setReadOnly(true);
    previewBox_->setMinimumHeight(110);
    previewBox_->setPlainText(txtText_->currentText());
    previewFont_ = previewBox_->font();
    previewColour_ = QColor(Qt::black);
    auto *preLayout = new QVBoxLayout(framePre);
    preLayout->addWidget(previewBox_);

    cmdOK_ = new QPushButton(QCoreApplication::translate("tuvo", "确定"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdNO_ = new QPushButton(QCoreApplication::translate("tuvo", "取消"), this);
    cmdNO_->setObjectName(QStringLiteral("cmdNO"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdNO_);

    auto *column = new QVBoxLayout(this);
    column->addWidget(frameParams_);
    column->addWidget(framePre, 1);
    column->addLayout(buttons);

    // The chart floats over the dialog below the swatch.
    colourChart_ = new ColourChart(this);
    colourChart_->hide();

    connect(txtText_, &QComboBox::editTextChanged, this,
        [this](const QString &t) { previewBox_->setPlainText(t); });
    connect(txtText_, &QComboBox::textActivated, this, [this](const QString &t) {
        txtText_->setEditText(t);
        previewBox_->setPlainText(t);
    });
    connect(cmbFont_, &QComboBox::activated, this, [this](int i) {
        QFont f = previewFont_;
        f.setFamily(cmbFont_->itemData(i).toString());
        setPreviewFont(f);
    });
    connect(txtSize_, &QLineEdit::textChanged, this, &FrmTxtSet::txtSize_Change);
    const auto style = [this](void (QFont::*set)(bool)) {
        return [this, set](bool on) {
            QFont f = previewFont_;
            (f.*set)(on);
            setPreviewFont(f);
        };
    };
    connect(chkBold_, &QCheckBox::toggled, this, style(&QFont::setBold));
    connect(chkItalic_, &QCheckBox::toggled, this, style(&QFont::setItalic));
    connect(chkUnderline_, &QCheckBox::toggled, this, style(&QFont::setUnderline));
    connect(colourButton_, &QPushButton::clicked, this, [this] {
        if (colourChart_->isVisible()) {
            colourChart_->hide();
            return;
        }
        const QPoint below
            = colourButton_->mapTo(this, QPoint(colourButton_->width(), colourButton_->height() + 2));
        colourChart_->move(
            qBound(0, below.x() - colourChart_->width(), qMax(0, width() - colourChart_->width())),
            below.y());
        colourChart_->show();
        colourChart_->raise();
    });
    connect(colourChart_, &ColourChart::hovered, this, &FrmTxtSet::showSwatch);
    connect(colourChart_, &ColourChart::picked, this, [this](const QColor &c) {
        setPreviewColour(c);
        colourChart_->hide();
    });
    connect(cmdOK_, &QPushButton::clicked, this, &FrmTxtSet::cmdOK_Click);
    connect(cmdNO_, &QPushButton::clicked, this, &FrmTxtSet::cmdNO_Click);
}

void FrmTxtSet::load()
{
    for (const QString &family : QFontDatabase::families())
        cmbFont_->addItem(fontDisplayName(family), family);
    txtText_->addItems(edittexts::markTokens());
    txtText_->setEditText(edittexts::txtSetDefaultText());
    setPreviewColour(markColour(job_.lColor));
    if (!job_.sText.isEmpty())
        txtText_->setEditText(job_.sText);
    if (!job_.sFont.isEmpty()) {
        // A family that is not installed ("宋体" on Linux is a substitute) is still
        // listed, so that OK keeps it instead of taking the first font.
        int i = cmbFont_->findData(job_.sFont, Qt::UserRole, Qt::MatchFixedString);
        if (i < 0) {
            cmbFont_->insertItem(0, fontDisplayName(job_.sFont), job_.sFont);
            i = 0;
        }
        cmbFont_->setCurrentIndex(i);
        QFont f = previewFont_;
        f.setFamily(cmbFont_->itemData(i).toString());
        setPreviewFont(f);
    }
    txtSize_->setText(QString::number(job_.iSize));
    txtSize_Change(txtSize_->text());
    chkBold_->setChecked(job_.sBold);
    chkUnderline_->setChecked(job_.sUnderline);
    chkItalic_->setChecked(job_.sItalic);
    textOnEntry_ = job_.sText;
}

void FrmTxtSet::txtSize_Change(const QString &text)
{
    bool ok = false;
    const double size = text.trimmed().toDouble(&ok);
    // The preview keeps its size for text it cannot take.
    if (!ok || !(size > 0) || size >= 32767.5)
        return;
    QFont f = previewFont_;
    f.setPointSizeF(size);
    setPreviewFont(f);
}

void FrmTxtSet::setPreviewFont(const QFont &font)
{
    previewFont_ = font;
    showPreview();
}

void FrmTxtSet::setPreviewColour(const QColor &colour)
{
    previewColour_ = colour;
    showPreview();
    showSwatch(colour);
}

void FrmTxtSet::showPreview()
{
    // A skin's style sheet repaints every text box in its own colour and weight,
    // and would do so to the preview the moment the dialog is shown; a sheet of
    // the preview's own wins over it.
    QStringList rules;
    rules << QStringLiteral("color: %1;").arg(previewColour_.name());
    if (!previewFont_.family().isEmpty())
        rules << QStringLiteral("font-family: \"%1\";").arg(previewFont_.family());
    rules << QStringLiteral("font-size: %1pt;").arg(previewFont_.pointSizeF())
          << QStringLiteral("font-weight: %1;")
                 .arg(previewFont_.bold() ? QStringLiteral("bold") : QStringLiteral("normal"))
          << QStringLiteral("font-style: %1;")
                 .arg(previewFont_.italic() ? QStringLiteral("italic") : QStringLiteral("normal"))
          << QStringLiteral("text-decoration: %1;")
                 .arg(previewFont_.underline() ? QStringLiteral("underline") : QStringLiteral("none"));
    previewBox_->setStyleSheet(QStringLiteral("QTextEdit#txtPre { %1 }").arg(rules.join(QLatin1Char(' '))));
    previewBox_->setFont(previewFont_);
}

void FrmTxtSet::showSwatch(const QColor &colour)
{
    colourButton_->setStyleSheet(
        QStringLiteral("QPushButton#txtColor { background: %1; border: 1px solid #777; }")
            .arg(colour.name()));
    colourButton_->setProperty("swatch", colour);
}

void FrmTxtSet::dropPick()
{
    if (!colourChart_->isVisible())
        return;
    showSwatch(previewColour_);
    colourChart_->hide();
}

void FrmTxtSet::mouseMoveEvent(QMouseEvent *event)
{
    dropPick();
    QDialog::mouseMoveEvent(event);
}

bool FrmTxtSet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == frameParams_ && event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<QMouseEvent *>(event);
        const int swatchTop = colourButton_->mapTo(frameParams_, QPoint(0, 0)).y();
        if (move->position().y() < swatchTop)
            dropPick();
    }
    if (watched == txtSize_ && event->type() == QEvent::MouseButtonRelease && !sizeFieldClickedBefore) {
        sizeFieldClickedBefore = true;
        txtSize_->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

void FrmTxtSet::cmdOK_Click()
{
    if (txtText_->currentText().isEmpty()) {
        Prompter::instance().message(
            this, QStringLiteral("Tuvo"), edittexts::emptyText(), Prompter::Icon::Error);
        txtText_->setFocus();
        return;
    }
    if (txtSize_->text().isEmpty()) {
        Prompter::instance().message(
            this, QStringLiteral("Tuvo"), edittexts::emptySize(), Prompter::Icon::Error);
        txtSize_->setFocus();
        return;
    }
    job_.sText = previewBox_->toPlainText();
    // Whole points, halves to even, as the preview box took them.
    job_.iSize = int(std::nearbyint(previewFont_.pointSizeF()));
    job_.lColor = packedColour(previewColour_);
    job_.sFont = cmbFont_->currentData().toString();
    job_.sBold = chkBold_->isChecked();
    job_.sUnderline = chkUnderline_->isChecked();
    job_.sItalic = chkItalic_->isChecked();
    ending_ = Ending::Confirmed;
    accept();
}

void FrmTxtSet::cmdNO_Click()
{
    // Unticking the main window's box empties the text; the text on entry then returns.
    job_.bTextMark = 0;
    job_.sText = textOnEntry_;
    ending_ = Ending::Cancelled;
    QDialog::reject();
}

void FrmTxtSet::reject()
{
    if (ending_ == Ending::Open)
        ending_ = Ending::Escaped;
    QDialog::reject();
}

void editTextWatermark(JobSettings &job, QWidget *parent)
{
    FrmTxtSet dlg(job, parent);
    Prompter::instance().exec(&dlg);
    if (!job.sText.isEmpty())
        job.bTextMark = 1;
}

TextMarkControls tickTextWatermark(JobSettings &job, QWidget *parent, bool mainLoaded)
{
    job.bTextMark = 1;
    if (job.sText.isEmpty() && mainLoaded) {
        FrmTxtSet dlg(job, parent);
        Prompter::instance().exec(&dlg);
    }
    if (job.sText.isEmpty()) {
        job.bTextMark = 0;
        return {false, edittexts::textMarkLabel(QString()), false, QString()};
    }
    job.bTextMark = 1;
    if (job.iuTxtPos != kCustom)
        job.iuTxtPos = kCentre;
    return {true, edittexts::textMarkLabel(job.sText), true, edittexts::textMarkSet(job.sText)};
}

TextMarkControls untickTextWatermark(JobSettings &job)
{
    job.bTextMark = 0;
    job.sText.clear();
    return {false, edittexts::textMarkLabel(QString()), false, QString()};
}
