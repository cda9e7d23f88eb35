#pragma once

#include "run/batch_host.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>

// A run's host on the run's own thread: everything the run says is handed to
// target on context's thread, in order. A question waits for its answer there;
// once abandoned is set (the owner is going away) it is answered "no".
class RelayedHost : public BatchHost {
public:
    RelayedHost(QObject *context, BatchHost *target, std::shared_ptr<std::atomic<bool>> abandoned)
        : context_(context)
        , target_(target)
        , abandoned_(std::move(abandoned))
    {
    }

    void showStatus(const QString &text) override
    {
        post([text](BatchHost &h) { h.showStatus(text); });
    }
    void setStartCaption(const QString &caption) override
    {
        post([caption](BatchHost &h) { h.setStartCaption(caption); });
    }
    void setRunning(bool running) override
    {
        post([running](BatchHost &h) { h.setRunning(running); });
    }
    void showError(const QString &text) override
    {
        post([text](BatchHost &h) { h.showError(text); });
    }
    bool askYesNo(const QString &text) override
    {
        return ask([text](BatchHost &h) { return h.askYesNo(text); });
    }
    void minimise() override
    {
        post([](BatchHost &h) { h.minimise(); });
    }
    bool isMinimised() const override
    {
        return ask([](BatchHost &h) { return h.isMinimised(); });
    }
    void maximise() override
    {
        post([](BatchHost &h) { h.maximise(); });
    }
    void showWaitWindow(bool shown) override
    {
        post([shown](BatchHost &h) { h.showWaitWindow(shown); });
    }
    void setPreviewChecked(bool checked) override
    {
        post([checked](BatchHost &h) { h.setPreviewChecked(checked); });
    }
    void openFolder(const QString &path) override
    {
        post([path](BatchHost &h) { h.openFolder(path); });
    }
    void openFile(const QString &path) override
    {
        post([path](BatchHost &h) { h.openFile(path); });
    }
    void openTextFile(const QString &path) override
    {
        post([path](BatchHost &h) { h.openTextFile(path); });
    }
    void showMessage(const QString &text) override
    {
        post([text](BatchHost &h) { h.showMessage(text); });
    }
    void showWarning(const QString &text) override
    {
        post([text](BatchHost &h) { h.showWarning(text); });
    }
    void pictureFinished(int position, const RenderResult &result) override
    {
        post([position, result](BatchHost &h) { h.pictureFinished(position, result); });
    }
    void pictureDone(const PictureReport &report) override
    {
        post([report](BatchHost &h) { h.pictureDone(report); });
    }

private:
    template<typename Call> void post(Call call) const
    {
        if (!target_)
            return;
        QMetaObject::invokeMethod(
            context_, [target = target_, call] { call(*target); }, Qt::QueuedConnection);
    }

    template<typename Call> bool ask(Call call) const
    {
        if (!target_)
            return false;
        auto answer = std::make_shared<std::promise<bool>>();
        std::future<bool> future = answer->get_future();
        QMetaObject::invokeMethod(
            context_, [target = target_, call, answer] { answer->set_value(call(*target)); },
            Qt::QueuedConnection);
        while (future.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
            if (*abandoned_)
                return false;
        }
        return future.get();
    }

    QObject *context_;
    BatchHost *target_;
    std::shared_ptr<std::atomic<bool>> abandoned_;
};
