// The file list commands: add, scan, drop, remove, undo, clear, copy, selection
// and the preview that follows the current entry.
#include "capture/capture_texts.h"
#include "dialogs/prompter.h"
#include "fs/committed_file.h"
#include "imaging/encoders.h"
#include "imaging/picture_files.h"
#include "render/mark_position.h"
#include "render/texts.h"
#include "run/file_list.h"
#include "settings/display_texts.h"
#include "ui/file_list_view.h"
#include "ui/frm_dlg.h"
#include "ui/main_window.h"
#include "ui/preview_canvas.h"
#include "ui/preview_renderer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

void MainWindow::connectFileList()
{
    connect(lstFile_->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this] { currentEntryChanged(); });
    connect(lstFile_, &FileListView::deleteRequested, this, &MainWindow::cmdDel_Click);
    connect(lstFile_, &FileListView::undoRequested, this, [this] {
        if (mUndoDel_->isEnabled())
            undoRemoval();
    });
    connect(lstFile_, &FileListView::contextMenuRequested, this, &MainWindow::showListMenu);
    connect(lstFile_, &FileListView::dropped, this, &MainWindow::dropPictures);
    connect(lstFile_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) {
        lstFile_->setCurrentRow(i.row());
        emit viewerRequested(ViewerCommand::Pictures);
    });
    connect(canvas_, &PreviewCanvas::stepRequested, this, &MainWindow::stepEntry);
    connect(canvas_, &PreviewCanvas::contextMenuRequested, this, &MainWindow::showCanvasMenu);
    connect(canvas_, &PreviewCanvas::dropped, this, &MainWindow::dropPictures);
    connect(txtCaption_, &QLineEdit::returnPressed, this, [this] {
        files_->setCaption(lstFile_->currentRow(), txtCaption_->text());
        lstFile_->setFocus();
    });

    connect(cmdAdd_, &QPushButton::clicked, this, &MainWindow::cmdAdd_Click);
    connect(cmdAdds_, &QPushButton::clicked, this, &MainWindow::cmdAdds_Click);
    connect(cmdDel_, &QPushButton::clicked, this, &MainWindow::cmdDel_Click);
    connect(cmdClr_, &QPushButton::clicked, this, &MainWindow::cmdClr_Click);
    connect(cmdStart_, &QPushButton::clicked, this, &MainWindow::cmdStart_Click);
    connect(cmdStop_, &QPushButton::clicked, this, &MainWindow::cmdStop_Click);
    mUndoDel_->setEnabled(false);
    mUndoDelFile_->setEnabled(false);
    fileCountLabel_->setText(files_->countText());
}

void MainWindow::updateRemovalControls()
{
    const bool any = !files_->isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(cmdDel_), static_cast<QWidget *>(cmdClr_)})
        w->setEnabled(any);
    mDelFile_->setEnabled(any);
    mClear_->setEnabled(any);
    fileCountLabel_->setText(files_->countText());
}

void MainWindow::afterAdding()
{
    updateRemovalControls();
    if (!files_->isEmpty())
        lstFile_->setCurrentRow(files_->count() - 1);
    lstFile_->setFocus();
}

void MainWindow::appendPictures(const QStringList &paths)
{
    for (const QString &p : paths)
        files_->append(p);
    afterAdding();
}

void MainWindow::cmdAdd_Click()
{
    showStatus(QCoreApplication::translate("tuvo", "【提示】选择要添加的图片,可多选。"));
    FrmDlg dlg(settings_, this);
    dlg.setMode(FrmDlg::AddFilesMode);
    dlg.setPrompt(QCoreApplication::translate("tuvo", "选择要添加的图片,可多选。"));
    dlg.setCurrentFolder(job_.sODIR);
    if (Prompter::instance().exec(&dlg) == QDialog::Accepted) {
        for (const QString &path : dlg.selectedFilePaths()) {
            if (isPictureFileName(path))
                files_->appendUnique(path);
        }
    }
    redrawPreview();
    afterAdding();
}

void MainWindow::cmdAdds_Click()
{
    if (session_.isScanning())
        return;
    FrmDlg dlg(settings_, this);
    dlg.setMode(FrmDlg::FolderMode);
    dlg.setPrompt(QCoreApplication::translate("tuvo", "请选择文件夹,该文件夹内所有图片将被添加。"));
    dlg.setSubFolderOptionVisible(true);
    dlg.setCurrentFolder(job_.sODIR);
    bool accepted = false;
    const QString folder = runFolderDialog(dlg, &accepted);
    if (!accepted || folder.isEmpty())
        return;
    addFolder(folder, dlg.includeSubFolders());
}

void MainWindow::addFolder(const QString &folder, bool withSubFolders)
{
    // The walk runs beside the window, which keeps repainting and shows the count grow.
    countBeforeScan_ = files_->count();
    if (!session_.scanFolder(folder, withSubFolders))
        return;
    cmdAdd_->setEnabled(false);
    cmdAdds_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

void MainWindow::folderScanned()
{
    QApplication::restoreOverrideCursor();
    cmdAdd_->setEnabled(true);
    cmdAdds_->setEnabled(true);
    afterAdding();
}

void MainWindow::dropPictures(const QMimeData *data)
{
    if (!data)
        return;
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull()) {
            QDir().mkpath(paths_.userDir());
            const QString path = droppedBitmapPath(paths_.userDir(), QDateTime::currentDateTime());
            // Written whole or not at all: a full disk must not leave a cut-off bitmap in the list.
            QString error;
            if (writeFileAtomically(path, encodeBmp24(image), &error)) {
                files_->append(QDir::toNativeSeparators(path));
                lstFile_->setCurrentRow(files_->count() - 1);
            } else {
                showStatus(captureTexts::saveFailed(path, error));
            }
        }
    } else if (data->hasUrls()) {
        for (const QUrl &url : data->urls()) {
            const QString path = QDir::toNativeSeparators(url.toLocalFile());
            if (!path.isEmpty() && isPictureFileName(path) && files_->appendUnique(path))
                lstFile_->setCurrentRow(files_->count() - 1);
        }
    }
    updateRemovalControls();
}

void MainWindow::cmdDel_Click()
{
    const QList<int> rows = lstFile_->selectedRows();
    if (rows.isEmpty())
        return;
    const int current = lstFile_->currentRow();
    files_->removeEntries(rows);
    fileCountLabel_->setText(files_->countText());
    lstFile_->setFocus();
    if (files_->isEmpty()) {
        updateRemovalControls();
        canvas_->clearImage();
        pictureInfoLabel_->clear();
        renderer_->cancel();
        showStatus(texts::idle());
    } else {
        // The entry after the removed ones becomes current, as the Down key would do.
        const int removedBefore
            = int(std::count_if(rows.begin(), rows.end(), [&](int r) { return r < current; }));
        lstFile_->setCurrentRow(qMin(current - removedBefore, files_->count() - 1));
        currentEntryChanged();
    }
    mUndoDel_->setEnabled(true);
    mUndoDelFile_->setEnabled(true);
}

void MainWindow::undoRemoval()
{
    if (!files_->canUndo())
        return;
    const int current = lstFile_->currentRow();
    files_->undoRemovals();
    updateRemovalControls();
    lstFile_->setCurrentRow(qBound(0, current, files_->count() - 1));
    currentEntryChanged();
    mUndoDel_->setEnabled(false);
    mUndoDelFile_->setEnabled(false);
}

void MainWindow::cmdClr_Click()
{
    files_->clear();
    updateRemovalControls();
    mUndoDel_->setEnabled(false);
    mUndoDelFile_->setEnabled(false);
    cmdAdds_->setFocus();
    canvas_->clearImage();
    pictureInfoLabel_->clear();
    renderer_->cancel();
    txtCaption_->hide();
    setWindowTitle(windowTitleText());
    showStatus(texts::idle());
}

void MainWindow::stepEntry(int delta)
{
    if (files_->isEmpty())
        return;
    const int row = lstFile_->currentRow() < 0 ? 0 : lstFile_->currentRow() + delta;
    lstFile_->setCurrentRow(qBound(0, row, files_->count() - 1));
}

void MainWindow::currentEntryChanged()
{
    const int row = lstFile_->currentRow();
    if (files_->isEmpty() || row < 0) {
        showStatus(texts::idle());
        return;
    }
    const QString path = files_->path(row);
    txtCaption_->setText(files_->caption(row));
    setWindowTitle(windowTitleText(path));
    redrawPreview();
}

void MainWindow::redrawPreview()
{
    if (!bMainLoaded_ && files_->isEmpty())
        return;
    const int row = lstFile_->currentRow();
    if (state_.bPreviewOff || row < 0 || row >= files_->count())
        return;
    renderer_->request(job_, files_->path(row));
}

void MainWindow::waitForPreview()
{
    renderer_->waitForIdle();
    QCoreApplication::processEvents();
}

void MainWindow::previewRendered(const RenderResult &result, const QString &path)
{
    if (path != files_->path(lstFile_->currentRow()))
        return;
    if (!result.ok()) {
        canvas_->showUnavailable(result.errorLines.join(QString()));
        pictureInfoLabel_->setText(
            QFileInfo(path).fileName() + QCoreApplication::translate("tuvo", "  无法显示"));
        return;
    }
    canvas_->setImage(result.surface);
    lastMarks_ = result.marks;
    keepMarkPlacement(job_, result.marks);
    showPictureInfo(path, result.surface.size());
}

void MainWindow::showPictureInfo(const QString &path, QSize outputSize)
{
    // After a run with a file-size target: the size and quality each picture was
    // written with (smaller than the preview when it was scaled to fit).
    const auto written = writtenSizes_.constFind(path);
    const bool wasWritten = written != writtenSizes_.constEnd();
    const QSize size = wasWritten ? written->size : outputSize;
    QString info = QCoreApplication::translate("tuvo", "%1    输出尺寸 %2 × %3")
                       .arg(QFileInfo(path).fileName())
                       .arg(size.width())
                       .arg(size.height());
    if (wasWritten) {
        const QString kb = QString::number(double(written->bytes) / 1024.0, 'f', 1);
        info += written->quality >= 0
            ? QCoreApplication::translate("tuvo", "    已写入 %1 KB，质量 %2").arg(kb).arg(written->quality)
            : QCoreApplication::translate("tuvo", "    已写入 %1 KB").arg(kb);
    }
    pictureInfoLabel_->setText(info);
}

void MainWindow::mCopyFileName_Click()
{
    const QString path = files_->path(lstFile_->currentRow());
    if (path.isEmpty())
        return;
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setText(path);
    showStatus(QCoreApplication::translate("tuvo", "【提示】文件路径已复制:") + path);
}

void MainWindow::mCopyPic_Click()
{
    if (!canvas_->hasImage())
        return;
    QApplication::clipboard()->clear();
    QApplication::clipboard()->setImage(canvas_->image());
}

void MainWindow::showCaptionBox()
{
    if (lstFile_->currentRow() < 0)
        return;
    txtCaption_->setText(files_->caption(lstFile_->currentRow()));
    txtCaption_->show();
    txtCaption_->setFocus();
}

void MainWindow::showListMenu(const QPoint &globalPos)
{
    QMenu mLst(this);
    mLst.setObjectName(QStringLiteral("mLst"));
    mLst.addAction(QCoreApplication::translate("tuvo", "移除图片"), this, &MainWindow::cmdDel_Click);
    QAction *undo
        = mLst.addAction(QCoreApplication::translate("tuvo", "取消移除"), this, &MainWindow::undoRemoval);
    undo->setEnabled(mUndoDel_->isEnabled());
    mLst.addAction(QCoreApplication::translate("tuvo", "全部清空"), this, &MainWindow::cmdClr_Click);
    mLst.addSeparator();
    QAction *view = mLst.addAction(QCoreApplication::translate("tuvo", "全屏查看"), this,
        [this] { emit viewerRequested(ViewerCommand::Pictures); });
    view->setEnabled(answered(&MainWindow::viewerRequested));
    mLst.addAction(
        QCoreApplication::translate("tuvo", "复制文件路径"), this, &MainWindow::mCopyFileName_Click);
    mLst.exec(globalPos);
}

void MainWindow::showCanvasMenu(const QPoint &globalPos)
{
    QMenu menu(this);
    QAction *caption
        = menu.addAction(QCoreApplication::translate("tuvo", "图片说明"), this, &MainWindow::showCaptionBox);
    caption->setEnabled(lstFile_->currentRow() >= 0);
    QAction *copy
        = menu.addAction(QCoreApplication::translate("tuvo", "复制图片"), this, &MainWindow::mCopyPic_Click);
    copy->setEnabled(canvas_->hasImage());
    menu.addSeparator();
    menu.addAction(QCoreApplication::translate("tuvo", "设置文字水印"), mSetTxt_, &QAction::trigger);
    menu.addAction(QCoreApplication::translate("tuvo", "设置图片水印"), this, &MainWindow::mSetImg_Click);
    if (!canvasEditActions_.isEmpty()) {
        menu.addSeparator();
        menu.addActions(canvasEditActions_);
    }
    menu.addSeparator();
    QAction *view = menu.addAction(QCoreApplication::translate("tuvo", "全屏查看"), this,
        [this] { emit viewerRequested(ViewerCommand::Processed); });
    view->setEnabled(answered(&MainWindow::viewerRequested) && lstFile_->currentRow() >= 0);
    menu.exec(globalPos);
}

int MainWindow::currentRow() const
{
    return lstFile_->currentRow();
}

void MainWindow::setCurrentRow(int row)
{
    lstFile_->setCurrentRow(row);
}

void MainWindow::removeEntry(int row)
{
    lstFile_->setCurrentRow(row);
    cmdDel_Click();
}

QMenu *MainWindow::menu(Menu which) const
{
    switch (which) {
    case Menu::Image:
        return imageMenu_;
    case Menu::Rotation:
        return rotationMenu_;
    case Menu::Effect:
        return effectMenu_;
    case Menu::Colour:
        return colourMenu_;
    }
    return nullptr;
}

QComboBox *MainWindow::positionList(MarkHit which) const
{
    return which == MarkHit::Picture ? cmbImgPos_ : cmbTxtPos_;
}
