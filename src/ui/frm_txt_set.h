#pragma once

#include "job/job_settings.h"

#include <QColor>
#include <QDialog>
#include <QFont>

class ColourChart;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

// frmTxtSet, "设置文本水印": the watermark text, its font, size, styles and
// colour. The preview box is the authority: OK stores what it shows.
class FrmTxtSet : public QDialog {
    Q_OBJECT
public:
    enum class Ending { Open, Confirmed, Cancelled, Escaped };

    explicit FrmTxtSet(JobSettings &job, QWidget *parent = nullptr);

    Ending ending() const { return ending_; }

    void cmdOK_Click();
    void cmdNO_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void reject() override;

private:
    void buildUi();
    void load();
    void txtSize_Change(const QString &text);
    void setPreviewFont(const QFont &font);
    void setPreviewColour(const QColor &colour);
    // Lays the preview's font and colour onto the preview box.
    void showPreview();
    void showSwatch(const QColor &colour);
    // Leaving the chart without a click: the swatch returns to the preview's colour.
    void dropPick();

    JobSettings &job_;
    QString textOnEntry_;
    // What the preview box shows; OK stores these.
    QFont previewFont_;
    QColor previewColour_;
    Ending ending_ = Ending::Open;

    QComboBox *txtText_;
    QComboBox *cmbFont_;
    QLineEdit *txtSize_;
    QCheckBox *chkBold_;
    QCheckBox *chkItalic_;
    QCheckBox *chkUnderline_;
    QPushButton *colourButton_;
    ColourChart *colourChart_;
    QTextEdit *previewBox_;
    QGroupBox *frameParams_;
    QPushButton *cmdOK_;
    QPushButton *cmdNO_;
};

// What the main window's text watermark check box and label show.
struct TextMarkControls {
    bool ticked = false;
    QString label;
    bool positionListEnabled = false;
    QString hint; // for the status line; empty when nothing is to be said
};

// The menu "文字水印..." and the canvas menu "设置文字水印": runs the dialog;
// afterwards the text watermark is on whenever sText is non-empty.
void editTextWatermark(JobSettings &job, QWidget *parent);

// Ticking "文字水印": with an empty sText the dialog opens (only once the main
// window has loaded); the outcome is what the box, label and list then show.
// A text that is set turns the position list to "居中" unless it is custom.
TextMarkControls tickTextWatermark(JobSettings &job, QWidget *parent, bool mainLoaded);
// Unticking "文字水印" empties the text.
TextMarkControls untickTextWatermark(JobSettings &job);
