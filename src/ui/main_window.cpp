#include "ui/main_window.h"

#include "job/settings_store.h"
#include "publish/ftp_account.h"
#include "publish/publishing.h"
#include "render/texts.h"
#include "run/file_list.h"
#include "settings/display_texts.h"
#include "settings/single_instance.h"
#include "ui/file_list_view.h"
#include "ui/frm_wait.h"
#include "ui/preview_canvas.h"
#include "ui/preview_renderer.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QUrl>

bool takesWheelOnlyFocused(const QObject *control)
{
    return qobject_cast<const QComboBox *>(control) || qobject_cast<const QAbstractSpinBox *>(control)
        || qobject_cast<const QAbstractSlider *>(control);
}

MainWindow::MainWindow(const AppPaths &paths, QSettings *settings, QWidget *parent)
    : QMainWindow(parent)
    , paths_(paths)
    , settings_(settings)
    , options_(settings)
{
    files_ = &session_.files();
    session_.setHost(this);
    session_.setPublishFactory([userDir = paths_.userDir()](const std::atomic<bool> *stop) {
        return makePublishSteps(userDir, stop);
    });
    renderer_ = new PreviewRenderer(this);
    openExternal_ = [](const QString &path) {
        const QUrl url = path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path);
        QDesktopServices::openUrl(url);
    };
    buildUi();
    frmWait_ = new FrmWait(this);
    frmWait_->hide();
    connectFileList();
    connectJobControls();
    connect(&session_, &JobSession::jobChanged, this, &MainWindow::redrawPreview);
    connect(&session_, &JobSession::runFinished, this, &MainWindow::runFinished);
    connect(&session_, &JobSession::scanProgress, this, [this](int found) {
        fileCountLabel_->setText(
            QCoreApplication::translate("tuvo", "图片数量:%1个").arg(countBeforeScan_ + found));
    });
    connect(&session_, &JobSession::scanFinished, this, &MainWindow::folderScanned);
    connect(renderer_, &PreviewRenderer::rendered, this, &MainWindow::previewRendered);
    connect(renderer_, &PreviewRenderer::busyChanged, canvas_, &PreviewCanvas::setBusy);
    setWindowTitle(windowTitleText());
}

MainWindow::~MainWindow()
{
    renderer_->cancel();
}

void MainWindow::load(const QStringList &commandLinePictures)
{
    bMainLoaded_ = 0;
    syncing_ = true;
    // Fresh job: prefix, empty frame and watermark, output folder zp, sODIR.
    job_ = startJobSettings(paths_);
    state_ = RunState();
    // At start the label names the whole zp path; a chosen folder is shown shortened.
    outputLabel_->setText(QCoreApplication::translate("tuvo", "输出文件夹:") + job_.sOutDir);
    outputLabel_->setToolTip(job_.sOutDir);
    cmbFormat_->clear();
    cmbFormat_->addItems(
        {QCoreApplication::translate("tuvo", "原格式"), QStringLiteral("jpg"), QStringLiteral("png"),
            QStringLiteral("tiff"), QStringLiteral("bmp"), QStringLiteral("webp"), QStringLiteral("avif")});
    cmbFormat_->setCurrentIndex(1);
    fillSizeList();
    frames_.loadFolder(paths_.bkDir());
    fillFrameList(0);

    if (settings_) {
        restored_ = restoreJobSettings(*settings_, paths_, frames_, job_);
        settings_->beginGroup(QStringLiteral("Options"));
        loadFtpAccount(*settings_, job_);
        settings_->endGroup();
    } else {
        restored_ = RestoredSettings();
    }
    syncing_ = false;
    syncControlsFromJob();

    if (!commandLinePictures.isEmpty())
        appendPictures(commandLinePictures);
    paths_.ensureWritableFolders();
    setWindowTitle(windowTitleText());
    showStatus(texts::idle());
    updateRemovalControls();
    bMainLoaded_ = 1;
}

void MainWindow::syncControlsFromJob()
{
    const bool was = syncing_;
    syncing_ = true;
    cmbSize_->setCurrentIndex(job_.iuSize);
    syncSizeControls();
    cmbBk_->setCurrentIndex(job_.iuBk);
    txtLeft_->setText(QString::number(double(job_.sngOffsetX)));
    txtTop_->setText(QString::number(double(job_.sngOffsetY)));
    txtSize_->setText(QString::number(job_.iSize));
    txtAlpha_->setText(QString::number(job_.iuSYAlpha));
    chkInfoTxt_->setChecked(job_.bTextMark == 1 && !job_.sText.isEmpty());
    chkInfoImg_->setChecked(job_.bPicMark == 1 && !job_.suISyF.isEmpty());
    cmbTxtPos_->setCurrentIndex(job_.iuTxtPos);
    cmbImgPos_->setCurrentIndex(job_.iuImgPos);
    updateTextMarkControls();
    updatePictureMarkControls();
    // The first entry keeps the source format; its stored name is 原格式 in every language.
    const int fmt = job_.sFormat == QStringLiteral("原格式") ? 0 : cmbFormat_->findText(job_.sFormat);
    cmbFormat_->setCurrentIndex(fmt >= 0 ? fmt : 1);
    chkRename_->setChecked(job_.bRename == 1);
    txtPrefix_->setText(job_.sPrefix);
    txtDigits_->setText(job_.iNumDigits);
    txtPrefix_->setEnabled(job_.bRename == 1);
    txtDigits_->setEnabled(job_.bRename == 1);
    if (outputLabel_->toolTip() != job_.sOutDir) {
        outputLabel_->setText(outputFolderLabel(job_.sOutDir));
        outputLabel_->setToolTip(job_.sOutDir);
    }
    chkPDF_->setChecked(job_.bMakePDF == 1);
    cmdPDFSet_->setEnabled(job_.bMakePDF == 1);
    chkUpload_->setChecked(job_.bUpload == 1);
    syncing_ = was;
}

QString MainWindow::statusText() const
{
    return statusLabel_->text();
}

void MainWindow::setOffsets(float x, float y)
{
    job_.sngOffsetX = x;
    job_.sngOffsetY = y;
    const bool was = syncing_;
    syncing_ = true;
    txtLeft_->setText(QString::number(double(x)));
    txtTop_->setText(QString::number(double(y)));
    syncing_ = was;
}

void MainWindow::setExternalOpener(std::function<void(const QString &path)> opener)
{
    openExternal_ = std::move(opener);
}

void MainWindow::openExternal(const QString &path)
{
    if (openExternal_)
        openExternal_(path);
}

void MainWindow::listenTo(SingleInstance &instance)
{
    connect(&instance, &SingleInstance::pathsReceived, this, [this](const QStringList &received) {
        if (!received.isEmpty())
            appendPictures(received);
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        raise();
        activateWindow();
        // An open dialog stays above the window it belongs to and keeps the keyboard.
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != this) {
            modal->raise();
            modal->activateWindow();
        }
    });
}

void MainWindow::mExit_Click()
{
    exitWithoutSave_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (session_.isRunning()) {
        // The run finishes its current pictures first; the window closes after it.
        closeAfterRun_ = true;
        cmdStop_Click();
        event->ignore();
        return;
    }
    renderer_->cancel();
    if (!exitWithoutSave_ && settings_)
        saveAtShutdown(*settings_, job_, cmbBk_->count(), txtAlpha_->text(), restored_.alphaAtStart);
    frmWait_->hide();
    event->accept();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::Enter) {
        const auto it = hints_.constFind(watched);
        if (it != hints_.constEnd() && !session_.isRunning())
            showStatus(it.value());
    }
    if (watched == txtPrefix_ && event->type() == QEvent::MouseButtonDblClick && txtPrefix_->isEnabled()) {
        showPrefixMenu();
        return true;
    }
    if (watched == txtCaption_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        txtCaption_->hide();
        lstFile_->setFocus();
        return true;
    }
    if (event->type() == QEvent::Wheel && takesWheelOnlyFocused(watched)
        && !static_cast<QWidget *>(watched)->hasFocus()) {
        // Ignored, the wheel goes on to the scrolling column behind the control.
        event->ignore();
        return true;
    }
    if (watched == cmbBk_ && event->type() == QEvent::Wheel) {
        // The wheel steps through the frames but never lands on the two commands.
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const int step = wheel->angleDelta().y() < 0 ? 1 : (wheel->angleDelta().y() > 0 ? -1 : 0);
        const int next = qBound(0, cmbBk_->currentIndex() + step, frames_.frameCount());
        if (step != 0 && next != cmbBk_->currentIndex())
            cmbBk_->setCurrentIndex(next);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsPictureDrop(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (!acceptsPictureDrop(event->mimeData()))
        return;
    dropPictures(event->mimeData());
    event->acceptProposedAction();
}
