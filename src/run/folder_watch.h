#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QSocketNotifier;
class QTimer;

// Tells when a picture has arrived in watched folders and is complete: written
// in place and closed, or moved in (a rename of "x.jpg.part" to "x.jpg" counts).
// Hidden files and names that are no picture's (editors' and browsers'
// temporaries) are passed over. On a local file system the kernel reports every
// change, so an idle watch costs nothing; where it does not (network and FUSE
// file systems), the folders are looked at once a second and a picture counts as
// complete when its size and time stayed the same between two looks.
class FolderWatch : public QObject {
    Q_OBJECT
public:
    explicit FolderWatch(QObject *parent = nullptr);
    ~FolderWatch() override;

    // Watches folders, and with recursive their sub-folders, also those made
    // later; skipFolder (the output folder) and hidden folders are left out.
    // False with *error when a folder cannot be watched.
    bool start(const QStringList &folders, bool recursive, const QString &skipFolder, QString *error);
    void stop();
    // The folders are looked at now and then, as the kernel does not report them.
    bool isPolling() const { return pollTimer_ != nullptr; }
    // Look at the folders this often instead of waiting for the kernel (tests,
    // and file systems whose reports are known to be missing).
    void setPollInterval(int ms) { forcedPollMs_ = ms; }
    // Whether path, below the watched root, lies below a hidden name or in the
    // output folder: what the watch passes over.
    bool passesOver(const QString &root, const QString &path) const;

signals:
    // A complete picture, by its absolute path.
    void pictureArrived(const QString &path);

private:
    struct Seen {
        qint64 size = -1;
        qint64 mtimeNs = -1;
        bool reported = false;
    };

    void addFolder(const QString &folder, bool announceContents);
    void readEvents();
    void pollFolders();
    bool wanted(const QString &folder, const QString &name) const;
    QStringList subFoldersOf(const QString &folder) const;

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer *pollTimer_ = nullptr;
    int forcedPollMs_ = 0;
    bool recursive_ = false;
    QString skipFolder_;
    QHash<int, QString> folders_; // watch descriptor -> folder
    QStringList polledFolders_;
    QHash<QString, Seen> seen_; // polling only: what each file looked like last time
};
