#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

// Decodes thumbnails on worker threads, each scaled while decoding where the
// format allows it, and hands each one to the UI thread as soon as it is ready.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    // Starts decoding path for place, fitted into box. Requests before the last
    // cancel() are dropped when they finish.
    void request(int place, const QString &path, QSize box);
    void cancel();
    // Blocks until the workers are idle, then delivers what they made (tests).
    void waitForDone();

    // The picture at path fitted into box, or a null image; safe on any thread.
    static QImage makeThumbnail(const QString &path, QSize box);

signals:
    void thumbnailReady(int place, const QImage &image);

private:
    QThreadPool pool_;
    std::shared_ptr<std::atomic<int>> generation_;
};
