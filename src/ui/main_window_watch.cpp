#include "ui/main_window_watch.h"

#include "dialogs/prompter.h"
#include "fs/file_names.h"
#include "publish/publishing.h"
#include "run/batch_run.h"
#include "run/file_list.h"
#include "run/watch_run.h"
#include "ui/main_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>

#include <memory>

namespace {

QString watchCaption()
{
    return QCoreApplication::translate("tuvo", "监视文件夹…");
}

// The window's side of a watch: no questions and no wait window, as nobody
// pressed start; pictures join the list as they are done.
class WindowWatch : public QObject, public BatchHost {
public:
    WindowWatch(MainWindow &window, QAction *action)
        : QObject(&window)
        , window_(window)
        , action_(action)
    {
        connect(action, &QAction::triggered, this, &WindowWatch::toggle);
    }

    void showStatus(const QString &) override { }
    void setStartCaption(const QString &) override { }
    void setRunning(bool) override { }
    void showError(const QString &text) override { window_.showError(text); }
    bool askYesNo(const QString &) override { return false; }
    void showMessage(const QString &text) override { window_.showMessage(text); }
    void pictureDone(const PictureReport &report) override
    {
        if (!window_.fileList().contains(report.source))
            window_.appendPictures({report.source});
    }

private:
    void toggle()
    {
        if (run_ && run_->isWatching()) {
            run_->stop();
            return;
        }
        const QString folder = Prompter::instance().chooseFolder(
            &window_, QCoreApplication::translate("tuvo", "监视文件夹"), window_.job().sODIR);
        if (folder.isEmpty())
            return;
        if (const StartCheck check = BatchRun::checkStart({folder}, window_.job()); check != StartCheck::Ok) {
            window_.showError(BatchRun::startCheckText(check));
            return;
        }
        // The job is read before every run: a control changed now applies from the next picture.
        run_ = std::make_unique<WatchRun>(*this, [this] {
            JobSettings job = window_.job();
            job.PicCaptions.clear();
            return job;
        });
        run_->setPublishSteps(makePublishSteps(window_.paths().userDir()));
        run_->setPicturesPerRun(1);
        connect(run_.get(), &WatchRun::batchEnded, this, &WindowWatch::showProgress);
        connect(
            run_.get(), &WatchRun::problem, this, [this](const QString &text) { window_.showError(text); });
        connect(run_.get(), &WatchRun::stopped, this, [this] {
            action_->setText(watchCaption());
            window_.showStatus(
                QCoreApplication::translate("tuvo", "监视结束: 处理了 %1 张图片").arg(run_->picturesDone()));
        });
        QString error;
        if (!run_->start({QDir::cleanPath(folder)}, false, &error)) {
            window_.showError(error);
            run_.reset();
            return;
        }
        action_->setText(QCoreApplication::translate("tuvo", "停止监视"));
        showProgress();
    }

    void showProgress()
    {
        if (!run_->isWatching())
            return;
        window_.showStatus(QCoreApplication::translate("tuvo", "正在监视 %1: 已处理 %2 张图片")
                               .arg(shownName(run_->folders().value(0)))
                               .arg(run_->picturesDone()));
    }

    MainWindow &window_;
    QAction *action_;
    std::unique_ptr<WatchRun> run_;
};

// The file menu is the one that ends with 退出 (mExit).
QMenu *fileMenuOf(MainWindow &window)
{
    const auto *exit = window.findChild<QAction *>(QStringLiteral("mExit"));
    for (QMenu *menu : window.findChildren<QMenu *>())
        if (exit && menu->actions().contains(const_cast<QAction *>(exit)))
            return menu;
    return nullptr;
}

} // namespace

QAction *installFolderWatch(MainWindow &window)
{
    QMenu *file = fileMenuOf(window);
    if (!file)
        return nullptr;
    QAction *action = file->addAction(watchCaption());
    action->setObjectName(QStringLiteral("mWatchFolder"));
    new WindowWatch(window, action);
    return action;
}
