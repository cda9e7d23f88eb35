#include "ui/frm_option.h"

#include "dialogs/prompter.h"
#include "job/job_fields.h"
#include "job/settings_store.h"
#include "ui/edit_texts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include <climits>

namespace {

QCheckBox *box(const char *name, const QString &text, QWidget *parent)
{
    auto *c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

int ticked(const QCheckBox *c)
{
    return c->isChecked() ? 1 : 0;
}

// Index of the checked option of a group, or -1.
int chosen(QRadioButton *const (&group)[3])
{
    for (int i = 0; i < 3; ++i) {
        if (group[i]->isChecked())
            return i;
    }
    return -1;
}

constexpr qint64 kAnyNumber = 1000000000000000LL;
constexpr qint64 kMaxKB = INT_MAX / 1024;

QString kilobytesText(int bytes)
{
    return bytes > 0 ? QString::number((qint64(bytes) + 1023) / 1024) : QString();
}

// The typed KB as bytes; a box left as it was keeps the exact stored bytes (200k
// from tuvo-cli is 204800, not a multiple the box would round to).
int typedBytes(const QLineEdit *box, int stored)
{
    if (box->text().trimmed() == kilobytesText(stored))
        return stored;
    const std::optional<qint64> kb = wholeNumberFromText(box->text(), 0, kMaxKB);
    return kb ? int(*kb * 1024) : 0;
}

} // namespace

FrmOption::FrmOption(
    JobSettings &job, StoredOptions &stored, Panel panel, OptionWriter writer, QWidget *parent)
    : QDialog(parent)
    , job_(job)
    , stored_(stored)
    , write_(std::move(writer))
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(panel == PdfPanel ? edittexts::pdfOptionsCaption() : edittexts::optionsCaption());

    auto *column = new QVBoxLayout(this);
    column->addWidget(buildGeneralPanel());
    column->addWidget(buildPdfPanel());
    generalPanel_->setVisible(panel == GeneralPanel);
    pdfPanel_->setVisible(panel == PdfPanel);

    auto *cmdOK = new QPushButton(QCoreApplication::translate("tuvo", "确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdNO = new QPushButton(QCoreApplication::translate("tuvo", "取消"), this);
    cmdNO->setObjectName(QStringLiteral("cmdNO"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdNO);
    column->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &FrmOption::cmdOK_Click);
    connect(cmdNO, &QPushButton::clicked, this, &QDialog::reject);

    load();
}

QWidget *FrmOption::buildGeneralPanel()
{
    generalPanel_ = new QGroupBox(QCoreApplication::translate("tuvo", "根据你的需要设置下列参数"), this);
    generalPanel_->setObjectName(QStringLiteral("frameSet"));
    auto *grid = new QGridLayout(generalPanel_);

    jpegQualityBox_ = new QLineEdit(generalPanel_);
    jpegQualityBox_->setObjectName(QStringLiteral("hsOpt0"));
    slideTimeBox_ = new QLineEdit(generalPanel_);
    slideTimeBox_->setObjectName(QStringLiteral("hsOpt1"));
    for (QLineEdit *e : {jpegQualityBox_, slideTimeBox_}) {
        e->setMaximumWidth(56);
        e->installEventFilter(this);
    }
    grid->addWidget(
        new QLabel(
            QCoreApplication::translate("tuvo", "输出JPG图片质量(0-100,质量越好文件越大):"), generalPanel_),
        0, 0);
    grid->addWidget(jpegQualityBox_, 0, 1);
    grid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "幻灯片播放时图片切换的时间间隔(1-30秒):"),
                        generalPanel_),
        1, 0);
    grid->addWidget(slideTimeBox_, 1, 1);

    chkResizeOpt_ = box(
        "chkResizeOpt", QCoreApplication::translate("tuvo", "小图片不放大（保持原有尺寸）。"), generalPanel_);
    chkCrop_ = box("chkJQ",
        QCoreApplication::translate("tuvo", "图片缩放不合比例时剪切图片(不选则扩充画布)。"), generalPanel_);
    grid->addWidget(chkResizeOpt_, 2, 0, 1, 2);
    grid->addWidget(chkCrop_, 3, 0, 1, 2);

    const QStringList xCaptions = {QCoreApplication::translate("tuvo", "左优先"),
        QCoreApplication::translate("tuvo", "中间优先"), QCoreApplication::translate("tuvo", "右优先")};
    const QStringList yCaptions = {QCoreApplication::translate("tuvo", "上优先"),
        QCoreApplication::translate("tuvo", "中间优先"), QCoreApplication::translate("tuvo", "下优先")};
    auto *crop = new QGridLayout;
    crop->setContentsMargins(24, 0, 0, 0);
    // Two separate groups: each axis keeps its own choice.
    auto *xGroup = new QButtonGroup(this);
    auto *yGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        cropXOptions_[i] = new QRadioButton(xCaptions[i], generalPanel_);
        cropXOptions_[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        cropYOptions_[i] = new QRadioButton(yCaptions[i], generalPanel_);
        cropYOptions_[i]->setObjectName(QStringLiteral("Option%1").arg(i + 4));
        xGroup->addButton(cropXOptions_[i]);
        yGroup->addButton(cropYOptions_[i]);
        crop->addWidget(cropXOptions_[i], 0, i);
        crop->addWidget(cropYOptions_[i], 1, i);
    }
    grid->addLayout(crop, 4, 0, 1, 2);

    chkAutoODir_ = box("chkAutoODir",
        QCoreApplication::translate("tuvo", "处理结束后自动打开输出目录查看处理好的图片。"), generalPanel_);
    chkAutoURL_ = box("chkAutoURL",
        QCoreApplication::translate("tuvo", "上传结束后自动打开PicURL.htm查看上传好的图片。"), generalPanel_);
    chkShowURL_ = box(
        "chkShowURL", QCoreApplication::translate("tuvo", "PicURL.htm输出网络图片地址。"), generalPanel_);
    chkShowURLPic_ = box("chkShowURLPic",
        QCoreApplication::translate("tuvo", "PicURL.htm输出并显示网络图片。"), generalPanel_);
    chkSaveErr_ = box(
        "chkSaveErr", QCoreApplication::translate("tuvo", "输出图片处理过程中的错误记录。"), generalPanel_);
    chkShowToday_ = box(
        "chkShowToday", QCoreApplication::translate("tuvo", "软件启动时显示最新消息和广告。"), generalPanel_);
    chkNewVer_
        = box("chkNewVer", QCoreApplication::translate("tuvo", "软件启动时自动检测新版本。"), generalPanel_);
    int row = 5;
    for (QCheckBox *c : {chkAutoODir_, chkAutoURL_}) {
        grid->addWidget(c, row++, 0, 1, 2);
    }
    for (QCheckBox *c : {chkShowURL_, chkShowURLPic_}) {
        auto *indent = new QHBoxLayout;
        indent->setContentsMargins(24, 0, 0, 0);
        indent->addWidget(c);
        grid->addLayout(indent, row++, 0, 1, 2);
    }
    for (QCheckBox *c : {chkSaveErr_, chkShowToday_, chkNewVer_}) {
        grid->addWidget(c, row++, 0, 1, 2);
    }
    // Entries in the order of the stored indexes.
    metadataBox_ = new QComboBox(generalPanel_);
    metadataBox_->setObjectName(QStringLiteral("metadataBox"));
    metadataBox_->addItems({QCoreApplication::translate("tuvo", "全部保留"),
        QCoreApplication::translate("tuvo", "保留但去掉位置信息"),
        QCoreApplication::translate("tuvo", "全部去掉")});
    colourBox_ = new QComboBox(generalPanel_);
    colourBox_->setObjectName(QStringLiteral("colourBox"));
    colourBox_->addItems({QCoreApplication::translate("tuvo", "保留原图的颜色配置文件"),
        QCoreApplication::translate("tuvo", "转换为sRGB")});
    grid->addWidget(
        new QLabel(QCoreApplication::translate("tuvo", "元数据(EXIF/XMP/IPTC):"), generalPanel_), row, 0);
    grid->addWidget(metadataBox_, row++, 1);
    grid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "颜色:"), generalPanel_), row, 0);
    grid->addWidget(colourBox_, row++, 1);
    // Appended below the original rows: what a run does with a name that exists.
    clashPolicyBox_ = new QComboBox(generalPanel_);
    clashPolicyBox_->setObjectName(QStringLiteral("clashPolicyBox"));
    clashPolicyBox_->addItems({QCoreApplication::translate("tuvo", "覆盖"),
        QCoreApplication::translate("tuvo", "自动编号(名称_2、名称_3…)"),
        QCoreApplication::translate("tuvo", "跳过,保留原有文件"),
        QCoreApplication::translate("tuvo", "报错")});
    grid->addWidget(
        new QLabel(QCoreApplication::translate("tuvo", "输出文件夹中已有同名文件时:"), generalPanel_), row,
        0);
    grid->addWidget(clashPolicyBox_, row++, 1);
    // The longest entries ("自动编号(名称_2、名称_3…)") are shown whole: a skin's
    // frame and arrow take more room than the box's own size hint allows for.
    for (QComboBox *b : {metadataBox_, colourBox_, clashPolicyBox_}) {
        int widest = 0;
        for (int i = 0; i < b->count(); ++i)
            widest = qMax(widest, b->fontMetrics().horizontalAdvance(b->itemText(i)));
        b->setMinimumWidth(widest + 44);
    }
    chkKeepFileTime_ = box("chkKeepFileTime",
        QCoreApplication::translate("tuvo", "输出图片保留原图片的修改时间。"), generalPanel_);
    grid->addWidget(chkKeepFileTime_, row++, 0, 1, 2);
    maxKBBox_ = fileSizeRow(grid, row++, "txtMaxKB", QCoreApplication::translate("tuvo", "输出文件不大于"));
    minKBBox_ = fileSizeRow(grid, row++, "txtMinKB", QCoreApplication::translate("tuvo", "输出文件不小于"));

    connect(chkCrop_, &QCheckBox::toggled, this, [this](bool on) {
        for (int i = 0; i < 3; ++i) {
            cropXOptions_[i]->setEnabled(on);
            cropYOptions_[i]->setEnabled(on);
        }
    });
    connect(chkAutoURL_, &QCheckBox::toggled, this, [this](bool on) {
        chkShowURL_->setEnabled(on);
        chkShowURLPic_->setEnabled(on);
    });
    return generalPanel_;
}

// "输出文件不大于 [   ] KB": a box for a whole number of KB, empty or 0 for no limit.
QLineEdit *FrmOption::fileSizeRow(QGridLayout *grid, int row, const char *name, const QString &caption)
{
    auto *edit = new QLineEdit(generalPanel_);
    edit->setObjectName(QLatin1String(name));
    edit->setMaximumWidth(80);
    edit->installEventFilter(this);
    auto *boxAndUnit = new QHBoxLayout;
    boxAndUnit->addWidget(edit);
    boxAndUnit->addWidget(new QLabel(QStringLiteral("KB"), generalPanel_));
    boxAndUnit->addStretch(1);
    grid->addWidget(new QLabel(caption, generalPanel_), row, 0);
    grid->addLayout(boxAndUnit, row, 1);
    return edit;
}

QWidget *FrmOption::buildPdfPanel()
{
    pdfPanel_ = new QGroupBox(QCoreApplication::translate("tuvo", "请设置下列参数"), this);
    pdfPanel_->setObjectName(QStringLiteral("framePDF"));
    auto *page = new QFrame(pdfPanel_);
    page->setObjectName(QStringLiteral("pdfSketch"));
    page->setFrameShape(QFrame::Box);
    // A white sheet of paper in every skin.
    page->setStyleSheet(QStringLiteral("QFrame#pdfSketch { background: white; color: #333333; }"));
    page->setMinimumSize(380, 440); // a page in A4 proportions
    auto *sketch = new QVBoxLayout(page);
    for (int i = 0; i < 3; ++i) {
        pdfCoverTexts_[i] = new QLineEdit(page);
        pdfCoverTexts_[i]->setObjectName(QStringLiteral("txtPDF%1").arg(i + 1));
        // Its own sheet: the main window's sheet sets the weight of every text box
        // in a panel, and a style sheet's weight beats a font set in code.
        pdfCoverTexts_[i]->setStyleSheet(QStringLiteral("font-weight: bold;"));
        pdfCoverTexts_[i]->setAlignment(Qt::AlignCenter);
    }
    pdfCoverTexts_[0]->setToolTip(QCoreApplication::translate("tuvo", "图片集标题"));
    pdfCoverTexts_[1]->setToolTip(QCoreApplication::translate("tuvo", "署名"));
    pdfCoverTexts_[2]->setToolTip(QCoreApplication::translate("tuvo", "日期"));
    pdfCoverTexts_[0]->installEventFilter(this);
    pdfCoverTexts_[1]->installEventFilter(this);
    auto *pictures = new QLabel(QCoreApplication::translate("tuvo", "<<<<图片及说明区域>>>>"), page);
    pictures->setStyleSheet(QStringLiteral("color: #333333; background: white;"));
    pictures->setAlignment(Qt::AlignCenter);
    pictures->setMinimumHeight(120);
    sketch->addWidget(pdfCoverTexts_[0]);
    sketch->addWidget(pictures, 1);
    sketch->addWidget(pdfCoverTexts_[1]);
    sketch->addWidget(pdfCoverTexts_[2]);
    auto *layout = new QVBoxLayout(pdfPanel_);
    layout->addWidget(page);
    return pdfPanel_;
}

void FrmOption::load()
{
    jpegQualityBox_->setText(QString::number(job_.iJPGQ));
    slideTimeBox_->setText(QString::number(stored_.iSlideTime));
    chkAutoODir_->setChecked(job_.bAutoODir == 1);
    chkAutoURL_->setChecked(job_.bAutoURL == 1);
    chkShowURL_->setChecked(job_.bShowURL == 1);
    chkShowURLPic_->setChecked(job_.bShowURLPic == 1);
    chkSaveErr_->setChecked(job_.bSaveErr == 1);
    chkCrop_->setChecked(job_.bPicJQ == 1);
    chkNewVer_->setChecked(stored_.bNewVer == 1);
    clashPolicyBox_->setCurrentIndex(qBound(0, job_.iOnClash, clashPolicyBox_->count() - 1));
    chkKeepFileTime_->setChecked(job_.bKeepFileTime == 1);
    maxKBBox_->setText(kilobytesText(job_.iMaxBytes));
    minKBBox_->setText(kilobytesText(job_.iMinBytes));
    chkShowToday_->setChecked(true);
    chkResizeOpt_->setChecked(job_.bChkResizeOpt == 1);
    metadataBox_->setCurrentIndex(job_.iMetadata);
    colourBox_->setCurrentIndex(job_.iColorProfile);
    if (job_.iXCutMode >= 0 && job_.iXCutMode < 3)
        cropXOptions_[job_.iXCutMode]->setChecked(true);
    if (job_.iYCutMode >= 0 && job_.iYCutMode < 3)
        cropYOptions_[job_.iYCutMode]->setChecked(true);
    // The dependent boxes follow even when the governing box did not change.
    for (int i = 0; i < 3; ++i) {
        cropXOptions_[i]->setEnabled(chkCrop_->isChecked());
        cropYOptions_[i]->setEnabled(chkCrop_->isChecked());
    }
    chkShowURL_->setEnabled(chkAutoURL_->isChecked());
    chkShowURLPic_->setEnabled(chkAutoURL_->isChecked());
    pdfCoverTexts_[0]->setText(job_.sPDF1);
    pdfCoverTexts_[1]->setText(job_.sPDF2);
    pdfCoverTexts_[2]->setText(chineseDate(QDate::currentDate()));
}

bool FrmOption::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched))
            edit->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

bool FrmOption::refusesRange(QLineEdit *field, qint64 min, qint64 max, const QString &message)
{
    const std::optional<qint64> n = wholeNumberFromText(field->text(), -kAnyNumber, kAnyNumber);
    if (!n || (*n >= min && *n <= max))
        return false;
    if (!field->isVisible()) {
        generalPanel_->show();
        pdfPanel_->hide();
    }
    Prompter::instance().message(this, windowTitle(), message, Prompter::Icon::Error);
    field->setFocus();
    field->selectAll();
    return true;
}

void FrmOption::cmdOK_Click()
{
    // The quality's range is the job table's, so the dialog and tuvo-cli agree.
    const JobField &quality = *findJobField(QStringLiteral("iJPGQ"));
    if (refusesRange(jpegQualityBox_, qint64(quality.min), qint64(quality.max), edittexts::qualityRange())
        || refusesRange(slideTimeBox_, 1, 30, edittexts::intervalRange())
        || refusesRange(maxKBBox_, 0, kMaxKB, edittexts::fileSizeRange())
        || refusesRange(minKBBox_, 0, kMaxKB, edittexts::fileSizeRange()))
        return;
    // Text that is no number keeps the previous value and is not stored.
    const auto typedQuality
        = wholeNumberFromText(jpegQualityBox_->text(), qint64(quality.min), qint64(quality.max));
    if (typedQuality)
        job_.iJPGQ = int(*typedQuality);
    job_.bAutoODir = ticked(chkAutoODir_);
    job_.bAutoURL = ticked(chkAutoURL_);
    job_.bShowURL = ticked(chkShowURL_);
    job_.bShowURLPic = ticked(chkShowURLPic_);
    job_.bSaveErr = ticked(chkSaveErr_);
    job_.bPicJQ = ticked(chkCrop_);
    job_.bChkResizeOpt = ticked(chkResizeOpt_);
    if (const int x = chosen(cropXOptions_); x >= 0)
        job_.iXCutMode = x;
    if (const int y = chosen(cropYOptions_); y >= 0)
        job_.iYCutMode = y;
    job_.sPDF1 = pdfCoverTexts_[0]->text();
    job_.sPDF2 = pdfCoverTexts_[1]->text();
    job_.sPDF3 = pdfCoverTexts_[2]->text();
    job_.iMetadata = metadataBox_->currentIndex();
    job_.iColorProfile = colourBox_->currentIndex();
    job_.iOnClash = clashPolicyBox_->currentIndex();
    job_.bKeepFileTime = ticked(chkKeepFileTime_);
    job_.iMaxBytes = typedBytes(maxKBBox_, job_.iMaxBytes);
    job_.iMinBytes = typedBytes(minKBBox_, job_.iMinBytes);
    if (const auto t = wholeNumberFromText(slideTimeBox_->text(), -32768, 32767))
        stored_.iSlideTime = int(*t);
    stored_.bShowToday = ticked(chkShowToday_);
    stored_.bNewVer = ticked(chkNewVer_);
    if (write_) {
        for (const JobField &field : jobFields()) {
            if ((field.storage & kSavedByOptions) && (typedQuality || &field != &quality))
                write_(field.name(), field.storedText(job_));
        }
        write_(QStringLiteral("iSlideTime"), QString::number(stored_.iSlideTime));
        write_(QStringLiteral("bShowToday"), QString::number(stored_.bShowToday));
        write_(QStringLiteral("bNewVer"), QString::number(stored_.bNewVer));
    }
    accept();
}

OptionWriter settingsWriter(QSettings &settings)
{
    return [&settings](const QString &key, const QString &text) {
        OptionsStore(settings).setText(key, text);
    };
}

bool editOptions(
    JobSettings &job, StoredOptions &stored, QSettings *settings, FrmOption::Panel panel, QWidget *parent)
{
    FrmOption dlg(job, stored, panel, settings ? settingsWriter(*settings) : OptionWriter(), parent);
    return Prompter::instance().exec(&dlg) == QDialog::Accepted;
}
