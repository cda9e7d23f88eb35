// The window as the batch run's host: start and stop, progress, message boxes,
// the wait window and the after-run actions.
#include "dialogs/prompter.h"
#include "run/file_list.h"
#include "settings/display_texts.h"
#include "ui/frm_wait.h"
#include "ui/main_window.h"
#include "ui/preview_canvas.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QString boxTitle()
{
    return QCoreApplication::translate("tuvo", "Tuvo图片批量处理");
}
} // namespace

void MainWindow::cmdStart_Click()
{
    if (session_.isRunning())
        return;
    session_.setRunJobs(runJobs_);
    // The run goes on beside the window on what the job and the list are now.
    if (session_.startRun() != StartCheck::Ok)
        return;
    writtenSizes_.clear();
    runHasSizeTarget_ = job_.iMaxBytes > 0 || job_.iMinBytes > 0;
}

void MainWindow::runFinished()
{
    // Only now may a new run begin: runs never nest.
    cmdStart_->setEnabled(true);
    cmdStart_->setText(QCoreApplication::translate("tuvo", "开始处理"));
    cmdStop_->setEnabled(false);
    // The run showed its own pictures; the preview goes back to the selected entry.
    redrawPreview();
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void MainWindow::cmdStop_Click()
{
    session_.stopRun();
}

void MainWindow::showStatus(const QString &text)
{
    statusLabel_->setText(statusLineText(text));
}

void MainWindow::setStartCaption(const QString &caption)
{
    cmdStart_->setText(caption);
}

void MainWindow::setRunning(bool running)
{
    cmdStop_->setEnabled(running);
    // A stop request ends "running" for the buttons, but the start command waits
    // for the run's closing step.
    cmdStart_->setEnabled(!running && !session_.isRunning());
}

void MainWindow::showError(const QString &text)
{
    Prompter::instance().message(this, boxTitle(), text, Prompter::Icon::Error);
}

bool MainWindow::askYesNo(const QString &text)
{
    return Prompter::instance().askYesNo(this, boxTitle(), text);
}

void MainWindow::startCheckFailed(StartCheck check)
{
    switch (check) {
    case StartCheck::EmptyList:
        cmdAdd_Click();
        break;
    case StartCheck::ZeroSize:
        txtWidth_->setFocus();
        txtWidth_->selectAll();
        break;
    case StartCheck::NoOutputFolder:
        cmdODir_Click();
        break;
    case StartCheck::NoNetworkSettings:
    case StartCheck::PrefixLeavesFolder:
    case StartCheck::Ok:
        break;
    }
}

void MainWindow::minimise()
{
    showMinimized();
}

bool MainWindow::isMinimised() const
{
    return isMinimized();
}

void MainWindow::maximise()
{
    showMaximized();
}

void MainWindow::showWaitWindow(bool shown)
{
    frmWait_->setVisible(shown && isVisible());
}

void MainWindow::setPreviewChecked(bool checked)
{
    const QSignalBlocker block(mPreview_);
    mPreview_->setChecked(checked);
}

void MainWindow::openFolder(const QString &path)
{
    openExternal(path);
}

void MainWindow::openFile(const QString &path)
{
    openExternal(path);
}

void MainWindow::openTextFile(const QString &path)
{
    openExternal(path);
}

void MainWindow::showMessage(const QString &text)
{
    Prompter::instance().message(this, boxTitle(), text, Prompter::Icon::Information);
}

void MainWindow::pictureFinished(int, const RenderResult &result)
{
    // The preview follows the run, as the pictures are written.
    if (result.ok() && !isMinimized())
        canvas_->setImage(result.surface);
}

void MainWindow::pictureDone(const PictureReport &report)
{
    if (!runHasSizeTarget_ || report.output.isEmpty())
        return;
    writtenSizes_.insert(report.source, report);
    showPictureInfo(report.source, report.size);
}
