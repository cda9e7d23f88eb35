#include "ui/main_window_viewer.h"

#include "batch/file_list.h"
#include "dialogs/prompter.h"
#include "ui/file_list_view.h"
#include "ui/main_window.h"
#include "ui/preview_canvas.h"
#include "viewer/frm_pic.h"

#include <QApplication>
#include <QCoreApplication>

namespace {

bool sizeIsZero(const JobSettings &job)
{
    return job.iTargetW == 0 && job.iTargetH == 0 && job.iuSize != kFitFrame && job.iuSize != kOriginalSize;
}

void connectViewer(MainWindow &window, FrmPic *viewer)
{
    QObject::connect(viewer, &FrmPic::pictureAdded, &window,
        [&window](const QString &path) { window.appendPictures({path}); });
    QObject::connect(viewer, &FrmPic::entryRemoved, &window, [&window](int row) {
        window.listView()->setCurrentRow(row);
        window.cmdDel_Click();
    });
    const auto select = [&window](int row) {
        if (row >= 0 && row < window.fileList().count())
            window.listView()->setCurrentRow(row);
    };
    QObject::connect(viewer, &FrmPic::currentChanged, &window, select);
    QObject::connect(viewer, &FrmPic::closed, &window, select);
    QObject::connect(
        viewer, &FrmPic::statusChanged, &window, [&window](const QString &text) { window.showStatus(text); });
    QObject::connect(viewer, &FrmPic::slideTimeChanged, &window.options(), &WindowOptions::setTypedSlideTime);
}

} // namespace

void installViewerCommands(MainWindow &window)
{
    QObject::connect(&window, &MainWindow::viewerRequested, &window,
        [&window](ViewerCommand command) { openViewer(window, command); });
}

FrmPic *openViewer(MainWindow &window, ViewerCommand command)
{
    if (window.fileList().isEmpty()) {
        window.showStatus(QCoreApplication::translate("tuvo", "【操作错误】当前没有图片可以浏览。"));
        return nullptr;
    }
    const JobSettings &job = window.session().job();
    const WindowOptions &options = window.options();
    ViewerRequest request;
    switch (command) {
    case ViewerCommand::Processed:
        if (sizeIsZero(job)) {
            window.showError(QCoreApplication::translate("tuvo", "图片尺寸不能同时为0！"));
            return nullptr;
        }
        if (!window.canvas()->hasImage()) {
            window.showStatus(QCoreApplication::translate("tuvo", "【操作错误】没有可预览的图片。"));
            return nullptr;
        }
        request.iViewSource = ViewSourceProcessed;
        request.job = job;
        break;
    case ViewerCommand::Thumbnails:
        window.showStatus(QCoreApplication::translate("tuvo", "【提示】正在启动多图浏览模式，请稍后……"));
        request.iViewMode = ViewModeThumbnails;
        break;
    case ViewerCommand::Slideshow:
        request.iViewMode = ViewModeSlideshow;
        break;
    case ViewerCommand::Crop:
        request.bCropMode = true;
        break;
    case ViewerCommand::Pictures:
        break;
    }
    window.paths().ensureWritableFolders();
    request.paths = window.fileList().paths();
    request.current = qMax(0, window.listView()->currentRow());
    request.userDir = window.paths().userDir();
    request.iSlideTime = options.slideTime();
    request.settings = options.settings();
    request.prompter = &Prompter::instance();
    request.owner = &window;

    auto *viewer = new FrmPic;
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    connectViewer(window, viewer);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = viewer->open(request);
    QApplication::restoreOverrideCursor();
    if (!opened) {
        delete viewer;
        return nullptr;
    }
    return viewer;
}
