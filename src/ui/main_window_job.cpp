// The controls that write JobSettings: size, offsets, frame, watermarks, format,
// names and output folder. Each change redraws the preview.
#include "dialogs/prompter.h"
#include "job/naming.h"
#include "job/settings_store.h"
#include "render/texts.h"
#include "settings/display_texts.h"
#include "ui/edit_texts.h"
#include "ui/frm_dlg.h"
#include "ui/ftp_account_dialog.h"
#include "ui/main_window.h"
#include "ui/preview_canvas.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>

void MainWindow::connectJobControls()
{
    connect(cmbSize_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!syncing_ && i >= 0)
            cmbSize_Click(i);
    });
    connect(txtWidth_, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (!syncing_)
            job_.iTargetW = t.toDouble();
    });
    connect(txtWidth_, &QLineEdit::returnPressed, this, [this] { redrawPreview(); });
    connect(txtHeight_, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (syncing_)
            return;
        job_.iTargetH = t.toDouble();
        redrawPreview();
    });
    const auto offset = [this](float JobSettings::*field) {
        return [this, field](const QString &t) {
            if (syncing_)
                return;
            job_.*field = t.toFloat();
            redrawPreview();
        };
    };
    connect(txtLeft_, &QLineEdit::textChanged, this, offset(&JobSettings::sngOffsetX));
    connect(txtTop_, &QLineEdit::textChanged, this, offset(&JobSettings::sngOffsetY));

    connect(cmbBk_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!syncing_ && i >= 0)
            cmbBk_Click(i);
    });

    connect(chkInfoTxt_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_)
            chkInfoTxt_Click(on);
    });
    connect(chkInfoImg_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_)
            chkInfoImg_Click(on);
    });
    connect(cmbTxtPos_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (syncing_ || i < 0)
            return;
        job_.iuTxtPos = i;
        if (i == kCustom)
            showStatus(QCoreApplication::translate(
                "tuvo", "【提示】按住鼠标左键拖动红色圆块即可调整位置,方向键微调。"));
        redrawPreview();
    });
    connect(cmbImgPos_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (syncing_ || i < 0)
            return;
        job_.iuImgPos = i;
        if (i == kCustom)
            showStatus(QCoreApplication::translate(
                "tuvo", "【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。"));
        redrawPreview();
    });
    connect(txtSize_, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (syncing_ || t.isEmpty())
            return;
        job_.iSize = leadingNumber(t);
        redrawPreview();
    });
    connect(txtAlpha_, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (syncing_ || t.isEmpty())
            return;
        job_.setMarkAlpha(qBound(0, leadingNumber(t), 100));
        redrawPreview();
    });
    connect(sldMarkScale_, &QSlider::valueChanged, this, [this](int v) {
        job_.sngMarkScale = JobSettings::markScaleForSlider(v);
        if (!syncing_)
            redrawPreview();
    });

    connect(cmbFormat_, &QComboBox::currentTextChanged, this, [this](const QString &shown) {
        if (syncing_ || shown.isEmpty())
            return;
        const QString t = cmbFormat_->currentIndex() == 0 ? QStringLiteral("原格式") : shown;
        job_.sFormat = t;
        job_.sOutExt = t;
    });
    connect(chkRename_, &QCheckBox::toggled, this, [this](bool on) {
        txtPrefix_->setEnabled(on);
        txtDigits_->setEnabled(on);
        if (!syncing_)
            job_.bRename = on ? 1 : 0;
    });
    connect(txtPrefix_, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (!syncing_)
            job_.sPrefix = t;
    });
    connect(txtDigits_, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (!syncing_)
            job_.iNumDigits = t;
    });
    connect(cmdODir_, &QPushButton::clicked, this, &MainWindow::cmdODir_Click);

    connect(chkPDF_, &QCheckBox::toggled, this, [this](bool on) {
        cmdPDFSet_->setEnabled(on);
        if (!syncing_)
            job_.bMakePDF = on ? 1 : 0;
    });
    connect(cmdPDFSet_, &QPushButton::clicked, this, &MainWindow::pdfSettingsRequested);
    connect(chkUpload_, &QCheckBox::toggled, this, [this](bool ticked) {
        if (syncing_)
            return;
        const bool on = uploadBoxToggled(
            ticked, job_, this, Prompter::instance(), [this](const QString &hint) { showStatus(hint); });
        job_.bUpload = on ? 1 : 0;
        if (on != ticked) {
            const QSignalBlocker quiet(chkUpload_);
            chkUpload_->setChecked(on);
        }
        if (settings_ && on) {
            settings_->beginGroup(QStringLiteral("Options"));
            saveFtpAccount(*settings_, job_);
            settings_->endGroup();
        }
    });
}

void MainWindow::fillSizeList()
{
    const bool was = syncing_;
    syncing_ = true;
    cmbSize_->clear();
    cmbSize_->addItems({QCoreApplication::translate("tuvo", "限制宽度"),
        QCoreApplication::translate("tuvo", "适应边框"), QCoreApplication::translate("tuvo", "原始尺寸")});
    for (const SizePreset &p : job_.SizePresets)
        cmbSize_->addItem(p.name);
    cmbSize_->addItem(QCoreApplication::translate("tuvo", "自定义尺寸..."));
    cmbSize_->addItem(texts::fitInsideName());
    syncing_ = was;
}

void MainWindow::fillFrameList(int select)
{
    const bool was = syncing_;
    syncing_ = true;
    cmbBk_->clear();
    cmbBk_->addItems(frames_.entries());
    cmbBk_->setCurrentIndex(qBound(0, select, cmbBk_->count() - 1));
    syncing_ = was;
}

// Box states and texts follow the size mode.
void MainWindow::syncSizeControls()
{
    const bool was = syncing_;
    syncing_ = true;
    const int mode = job_.iuSize;
    const bool custom = mode == job_.customSizeIndex() || mode == job_.fitInsideIndex();
    txtWidth_->setEnabled(mode == kLimitWidth || custom);
    txtHeight_->setEnabled(custom);
    txtWidth_->setText(QString::number(job_.iTargetW));
    txtHeight_->setText(QString::number(job_.iTargetH));
    if (cmbSize_->currentIndex() != mode)
        cmbSize_->setCurrentIndex(mode);
    if (cmbBk_->currentIndex() != job_.iuBk && job_.iuBk < cmbBk_->count())
        cmbBk_->setCurrentIndex(job_.iuBk);
    syncing_ = was;
}

void MainWindow::cmbSize_Click(int index)
{
    chooseSizeMode(job_, index);
    pickFrameForFitMode(job_, frames_);
    syncSizeControls();
    if (index == kLimitWidth) {
        showStatus(QCoreApplication::translate("tuvo", "【提示】输入图片宽度,高度将按原图片比例自动换算。"));
        txtWidth_->setFocus();
        redrawPreview();
    } else if (index == job_.customSizeIndex() || index == job_.fitInsideIndex()) {
        showStatus(QCoreApplication::translate("tuvo", "【提示】请输入图片宽度和高度。"));
        txtWidth_->setFocus();
        txtWidth_->selectAll();
        if (index == job_.fitInsideIndex())
            redrawPreview();
    } else {
        redrawPreview();
    }
}

void MainWindow::cmbBk_Click(int index)
{
    switch (chooseFrame(job_, frames_, index)) {
    case FrameChoice::OpenDownloadPage:
        fillFrameList(0);
        openExternal(frameDownloadUrl());
        syncSizeControls();
        redrawPreview();
        return;
    case FrameChoice::ChooseFolder: {
        showStatus(
            QCoreApplication::translate("tuvo", "【提示】请选择文件夹,该文件夹内所有图片边框将被添加。"));
        FrmDlg dlg(settings_, this);
        dlg.setMode(FrmDlg::FolderMode);
        dlg.setPrompt(QCoreApplication::translate("tuvo", "请选择文件夹,该文件夹内所有图片边框将被添加。"));
        dlg.setFileFilter(QStringLiteral("*.png"));
        dlg.setCurrentFolder(paths_.bkDir());
        bool accepted = false;
        const QString folder = runFolderDialog(dlg, &accepted);
        int select = job_.iuBk;
        if (accepted && !folder.isEmpty()) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const int before = frames_.frameCount();
            if (frames_.addFolder(folder) > 0)
                select = before + 1;
            QApplication::restoreOverrideCursor();
        }
        fillFrameList(select);
        chooseFrame(job_, frames_, select);
        syncSizeControls();
        redrawPreview();
        return;
    }
    case FrameChoice::Selected:
        syncSizeControls();
        redrawPreview();
        showStatus(QCoreApplication::translate("tuvo", "【提示】滚动鼠标滚轮可以选择不同的边框。"));
        return;
    }
}

void MainWindow::updateTextMarkControls()
{
    const bool on = !job_.sText.isEmpty() && job_.bTextMark == 1;
    textMarkLabel_->setText(QCoreApplication::translate("tuvo", "文字水印:")
        + (job_.sText.isEmpty() ? QCoreApplication::translate("tuvo", "无") : job_.sText));
    textMarkLabel_->setToolTip(job_.sText);
    cmbTxtPos_->setEnabled(on);
}

void MainWindow::updatePictureMarkControls()
{
    const bool on = !job_.suISyF.isEmpty() && job_.bPicMark == 1;
    pictureMarkLabel_->setText(QCoreApplication::translate("tuvo", "图片水印:")
        + (job_.suISyF.isEmpty() ? QCoreApplication::translate("tuvo", "无") : shortPathText(job_.suISyF)));
    pictureMarkLabel_->setToolTip(job_.suISyF);
    cmbImgPos_->setEnabled(on);
}

void MainWindow::chkInfoTxt_Click(bool checked)
{
    if (!checked) {
        job_.bTextMark = 0;
        job_.sText.clear();
        updateTextMarkControls();
        redrawPreview();
        return;
    }
    job_.bTextMark = 1;
    if (job_.sText.isEmpty() && mainLoaded() && answered(&MainWindow::textWatermarkRequested)) {
        emit textWatermarkRequested();
        {
            const QSignalBlocker quiet(txtSize_);
            txtSize_->setText(QString::number(job_.iSize));
        }
        // Ticking the box with no text is the one opener that reports success.
        if (!job_.sText.isEmpty())
            showStatus(edittexts::textMarkSet(job_.sText));
    }
    const bool was = syncing_;
    syncing_ = true;
    if (job_.sText.isEmpty()) {
        job_.bTextMark = 0;
        chkInfoTxt_->setChecked(false);
    } else if (job_.iuTxtPos != kCustom) {
        job_.iuTxtPos = kCentre;
        cmbTxtPos_->setCurrentIndex(kCentre);
    }
    syncing_ = was;
    updateTextMarkControls();
    redrawPreview();
}

void MainWindow::chkInfoImg_Click(bool checked)
{
    if (!checked) {
        job_.bPicMark = 0;
        job_.suISyF.clear();
        updatePictureMarkControls();
        redrawPreview();
        return;
    }
    job_.bPicMark = 1;
    if (job_.suISyF.isEmpty() && mainLoaded())
        runWatermarkChooser();
    const bool was = syncing_;
    syncing_ = true;
    if (job_.suISyF.isEmpty()) {
        job_.bPicMark = 0;
        chkInfoImg_->setChecked(false);
    } else {
        if (job_.iuImgPos != kCustom) {
            job_.iuImgPos = kTopRight;
            cmbImgPos_->setCurrentIndex(kTopRight);
        }
        showStatus(QCoreApplication::translate("tuvo", "【提示】已设置图片水印:") + job_.suISyF
            + QCoreApplication::translate("tuvo", "。"));
    }
    syncing_ = was;
    updatePictureMarkControls();
    redrawPreview();
}

void MainWindow::runWatermarkChooser()
{
    showStatus(QCoreApplication::translate("tuvo", "【提示】请选择要添加的水印图片。"));
    FrmDlg dlg(settings_, this);
    dlg.setMode(FrmDlg::WatermarkMode);
    dlg.setPrompt(QCoreApplication::translate("tuvo", "请选择要添加的水印图片。"));
    dlg.setStartAlpha(job_.iuSYAlpha);
    dlg.setCurrentFolder(paths_.syDir());
    if (Prompter::instance().exec(&dlg) != QDialog::Accepted)
        return;
    const QStringList chosen = dlg.selectedFilePaths();
    if (chosen.isEmpty())
        return;
    job_.suISyF = chosen.first();
    job_.setMarkAlpha(qBound(0, dlg.opacity(), 100));
    const bool was = syncing_;
    syncing_ = true;
    txtAlpha_->setText(dlg.opacityText());
    syncing_ = was;
}

void MainWindow::mSetImg_Click()
{
    runWatermarkChooser();
    if (!job_.suISyF.isEmpty()) {
        const bool was = syncing_;
        syncing_ = true;
        chkInfoImg_->setChecked(true);
        syncing_ = was;
        chkInfoImg_Click(true);
    } else {
        redrawPreview();
    }
}

void MainWindow::showPrefixMenu()
{
    QMenu menu(this);
    // The entries show translated; prefixForPreset reads the preset's own name.
    static const char *const presets[]
        = {QT_TRANSLATE_NOOP("tuvo", "#当前日期#"), QT_TRANSLATE_NOOP("tuvo", "#当前时间#"),
            QT_TRANSLATE_NOOP("tuvo", "#日期和时间#"), QT_TRANSLATE_NOOP("tuvo", "#不要前缀#")};
    for (const char *p : presets)
        menu.addAction(QCoreApplication::translate("tuvo", p))->setData(QString::fromUtf8(p));
    const QAction *chosen = menu.exec(QCursor::pos());
    if (chosen)
        txtPrefix_->setText(prefixForPreset(chosen->data().toString(), QDateTime::currentDateTime()));
}

void MainWindow::chooseRotation(int mode)
{
    // Without a picture on the preview nothing turns; the item's own tick is undone.
    if (!canvas_->hasImage())
        mode = job_.iRotateMode;
    job_.iRotateMode = mode;
    for (int i = 0; i < rotationActions_.size(); ++i)
        rotationActions_[i]->setChecked(i == mode);
    redrawPreview();
}

QString MainWindow::runFolderDialog(FrmDlg &dlg, bool *accepted)
{
    const int result = Prompter::instance().exec(&dlg);
    *accepted = result == QDialog::Accepted;
    if (*accepted) {
        if (!dlg.currentFolder().isEmpty())
            job_.sODIR = dlg.currentFolder();
        return job_.sODIR;
    }
    // The cancel button forgets the folder; Esc leaves it.
    if (dlg.cancelledByButton())
        job_.sODIR.clear();
    redrawPreview();
    return QString();
}

void MainWindow::cmdODir_Click()
{
    FrmDlg dlg(settings_, this);
    dlg.setMode(FrmDlg::FolderMode);
    dlg.setPrompt(QCoreApplication::translate("tuvo", "请选择文件夹(处理好的文件将被保存到该文件夹)。"));
    dlg.setCurrentFolder(job_.sOutDir);
    bool accepted = false;
    const QString folder = runFolderDialog(dlg, &accepted);
    if (!accepted || folder.isEmpty())
        return;
    job_.sOutDir = folder;
    outputLabel_->setText(outputFolderLabel(job_.sOutDir));
    outputLabel_->setToolTip(job_.sOutDir);
    redrawPreview();
}
