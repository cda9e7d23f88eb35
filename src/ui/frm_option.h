#pragma once

#include "job/job_settings.h"
#include "ui/stored_options.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSettings;

// Receives each option the moment it is stored: its key and its stored text.
using OptionWriter = std::function<void(const QString &key, const QString &text)>;

// frmOption, "选项": the general options and the PDF cover texts. Opened on one
// panel; OK stores the options of both panels, one after the other.
class FrmOption : public QDialog {
    Q_OBJECT
public:
    enum Panel { GeneralPanel, PdfPanel };

    FrmOption(
        JobSettings &job, StoredOptions &stored, Panel panel, OptionWriter writer, QWidget *parent = nullptr);

    void cmdOK_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildGeneralPanel();
    QWidget *buildPdfPanel();
    void load();
    // A number outside the field's labelled range is refused with the range shown.
    bool refusesRange(QLineEdit *field, qint64 min, qint64 max, const QString &message);
    QLineEdit *fileSizeRow(QGridLayout *grid, int row, const char *name, const QString &caption);

    JobSettings &job_;
    StoredOptions &stored_;
    OptionWriter write_;

    QGroupBox *generalPanel_;
    QGroupBox *pdfPanel_;
    QLineEdit *jpegQualityBox_;
    QLineEdit *slideTimeBox_;
    QCheckBox *chkResizeOpt_;
    QCheckBox *chkCrop_;
    QRadioButton *cropXOptions_[3];
    QRadioButton *cropYOptions_[3];
    QCheckBox *chkAutoODir_;
    QCheckBox *chkAutoURL_;
    QCheckBox *chkShowURL_;
    QCheckBox *chkShowURLPic_;
    QCheckBox *chkSaveErr_;
    QCheckBox *chkShowToday_;
    QCheckBox *chkNewVer_;
    QComboBox *metadataBox_; // "元数据", appended below the behaviour's options
    QComboBox *colourBox_;
    QComboBox *clashPolicyBox_;
    QCheckBox *chkKeepFileTime_;
    QLineEdit *maxKBBox_; // iMaxBytes in KB, empty: no limit
    QLineEdit *minKBBox_;
    QLineEdit *pdfCoverTexts_[3];
};

// Writes options into the settings store's "Options" group.
OptionWriter settingsWriter(QSettings &settings);

// The menus "选项..." and "PDF参数设置...": runs the dialog; true when OK stored
// the options (the caller then redraws its preview).
bool editOptions(
    JobSettings &job, StoredOptions &stored, QSettings *settings, FrmOption::Panel panel, QWidget *parent);
