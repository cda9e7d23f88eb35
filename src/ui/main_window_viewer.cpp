#include "ui/main_window_viewer.h"

#include "dialogs/prompter.h"
#include "run/file_list.h"
#include "ui/main_window.h"
#include "ui/preview_canvas.h"
#include "ui/window_options.h"
#include "viewer/frm_pic.h"

#include <QApplication>
#include <QCoreApplication>

namespace {

bool sizeIsZero(const JobSettings &job)
{
    return job.iTargetW == 0 && job.iTargetH == 0 && job.iuSize != kFitFrame && job.iuSize != kOriginalSize;
}

void connectViewer(AddOnHost &host, FrmPic *viewer)
{
    QWidget *window = host.widget();
    QObject::connect(
        viewer, &FrmPic::pictureAdded, window, [&host](const QString &path) { host.appendPictures({path}); });
    QObject::connect(viewer, &FrmPic::entryRemoved, window, [&host](int row) { host.removeEntry(row); });
    const auto select = [&host](int row) {
        if (row >= 0 && row < host.session().files().count())
            host.setCurrentRow(row);
    };
    QObject::connect(viewer, &FrmPic::currentChanged, window, select);
    QObject::connect(viewer, &FrmPic::closed, window, select);
    QObject::connect(
        viewer, &FrmPic::statusChanged, window, [&host](const QString &text) { host.showStatus(text); });
    QObject::connect(viewer, &FrmPic::slideTimeChanged, &host.options(), &WindowOptions::setTypedSlideTime);
}

} // namespace

void installViewerCommands(MainWindow &window)
{
    AddOnHost &host = window;
    QObject::connect(&window, &MainWindow::viewerRequested, &window,
        [&host](ViewerCommand command) { openViewer(host, command); });
}

FrmPic *openViewer(AddOnHost &host, ViewerCommand command)
{
    if (host.session().files().isEmpty()) {
        host.showStatus(QCoreApplication::translate("tuvo", "【操作错误】当前没有图片可以浏览。"));
        return nullptr;
    }
    const JobSettings &job = host.session().job();
    const WindowOptions &options = host.options();
    ViewerRequest request;
    switch (command) {
    case ViewerCommand::Processed:
        if (sizeIsZero(job)) {
            host.showError(QCoreApplication::translate("tuvo", "图片尺寸不能同时为0！"));
            return nullptr;
        }
        if (!host.canvas()->hasImage()) {
            host.showStatus(QCoreApplication::translate("tuvo", "【操作错误】没有可预览的图片。"));
            return nullptr;
        }
        request.iViewSource = ViewSourceProcessed;
        request.job = job;
        break;
    case ViewerCommand::Thumbnails:
        host.showStatus(QCoreApplication::translate("tuvo", "【提示】正在启动多图浏览模式，请稍后……"));
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
    host.paths().ensureWritableFolders();
    request.paths = host.session().files().paths();
    request.current = qMax(0, host.currentRow());
    request.userDir = host.paths().userDir();
    request.iSlideTime = options.slideTime();
    request.settings = options.settings();
    request.prompter = &Prompter::instance();
    request.owner = host.widget();

    auto *viewer = new FrmPic;
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    connectViewer(host, viewer);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = viewer->open(request);
    QApplication::restoreOverrideCursor();
    if (!opened) {
        delete viewer;
        return nullptr;
    }
    return viewer;
}
