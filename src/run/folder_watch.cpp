#include "run/folder_watch.h"

#include "fs/file_names.h"
#include "imaging/picture_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

constexpr uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_ONLYDIR;
constexpr int kPollMs = 1000;

// File systems whose changes made on another machine never reach inotify.
bool reportsNoEvents(const QString &folder)
{
    struct statfs fs;
    if (::statfs(encodeFileName(folder).constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969: // NFS
    case 0x517B: // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE (sshfs, rclone, ...)
    case 0x01021997: // 9p (virtual machines' shared folders)
        return true;
    default:
        return false;
    }
}

bool isHidden(const QString &name)
{
    return name.startsWith(QLatin1Char('.'));
}

} // namespace

FolderWatch::FolderWatch(QObject *parent)
    : QObject(parent)
{
}

FolderWatch::~FolderWatch()
{
    stop();
}

bool FolderWatch::start(const QStringList &folders, bool recursive, const QString &skipFolder, QString *error)
{
    stop();
    recursive_ = recursive;
    skipFolder_ = QDir::cleanPath(skipFolder);
    bool poll = forcedPollMs_ > 0;
    for (const QString &folder : folders)
        poll = poll || reportsNoEvents(folder);
    if (!poll) {
        fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ < 0) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &FolderWatch::readEvents);
    }
    for (const QString &folder : folders) {
        const QString clean = QDir::cleanPath(folder);
        if (!isDirectoryPath(clean)) {
            if (error)
                *error = shownName(clean) + QStringLiteral(": ")
                    + QString::fromLocal8Bit(std::strerror(ENOTDIR));
            stop();
            return false;
        }
        if (poll) {
            polledFolders_ << clean;
        } else {
            const int wd = ::inotify_add_watch(fd_, encodeFileName(clean).constData(), kFolderEvents);
            if (wd < 0) {
                if (error)
                    *error = shownName(clean) + QStringLiteral(": ")
                        + QString::fromLocal8Bit(std::strerror(errno));
                stop();
                return false;
            }
            folders_.insert(wd, clean);
        }
        if (recursive_) {
            for (const QString &sub : subFoldersOf(clean))
                addFolder(sub, false);
        }
    }
    if (poll) {
        pollFolders(); // what is there now is the starting point, not news
        for (Seen &s : seen_)
            s.reported = true;
        pollTimer_ = new QTimer(this);
        connect(pollTimer_, &QTimer::timeout, this, &FolderWatch::pollFolders);
        pollTimer_->start(forcedPollMs_ > 0 ? forcedPollMs_ : kPollMs);
    }
    return true;
}

void FolderWatch::stop()
{
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    delete pollTimer_;
    pollTimer_ = nullptr;
    folders_.clear();
    polledFolders_.clear();
    seen_.clear();
}

bool FolderWatch::wanted(const QString &folder, const QString &name) const
{
    if (isHidden(name))
        return false;
    return skipFolder_.isEmpty() || QDir::cleanPath(folder + QLatin1Char('/') + name) != skipFolder_;
}

bool FolderWatch::passesOver(const QString &root, const QString &path) const
{
    return path.mid(root.size()).contains(QLatin1String("/."))
        || (!skipFolder_.isEmpty()
            && (path == skipFolder_ || path.startsWith(skipFolder_ + QLatin1Char('/'))));
}

QStringList FolderWatch::subFoldersOf(const QString &folder) const
{
    QStringList found;
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sub = QDir::cleanPath(it.next());
        // Below a hidden folder or the output folder nothing is watched (outputs
        // written into the tree must not come back as arrivals).
        if (!passesOver(folder, sub))
            found << sub;
    }
    return found;
}

void FolderWatch::addFolder(const QString &folder, bool announceContents)
{
    if (pollTimer_ || fd_ < 0) {
        if (!polledFolders_.contains(folder))
            polledFolders_ << folder;
        return;
    }
    const int wd = ::inotify_add_watch(fd_, encodeFileName(folder).constData(), kFolderEvents);
    if (wd < 0)
        return;
    folders_.insert(wd, folder);
    // Pictures put into a new folder before its watch began were closed unseen.
    if (announceContents) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            if (wanted(folder, name) && isPictureFileName(name))
                emit pictureArrived(dir.filePath(name));
    }
}

void FolderWatch::readEvents()
{
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0)
            return;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->len == 0)
                continue;
            const QString folder = folders_.value(event->wd);
            const QString name = decodeFileName(QByteArray(event->name));
            if (folder.isEmpty() || !wanted(folder, name))
                continue;
            const QString path = folder + QLatin1Char('/') + name;
            if (event->mask & IN_ISDIR) {
                if (recursive_ && (event->mask & (IN_CREATE | IN_MOVED_TO))) {
                    addFolder(path, true);
                    for (const QString &sub : subFoldersOf(path))
                        addFolder(sub, true);
                }
            } else if ((event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) && isPictureFileName(name)) {
                emit pictureArrived(path);
            }
        }
    }
}

void FolderWatch::pollFolders()
{
    QSet<QString> present;
    for (int i = 0; i < polledFolders_.size(); ++i) {
        const QString folder = polledFolders_[i];
        const QDir dir(folder);
        const QStringList names = dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &name : names) {
            if (!wanted(folder, name))
                continue;
            const QString path = dir.filePath(name);
            struct stat st;
            if (::stat(encodeFileName(path).constData(), &st) != 0)
                continue;
            if (S_ISDIR(st.st_mode)) {
                if (recursive_ && !polledFolders_.contains(path))
                    polledFolders_ << path;
                continue;
            }
            if (!S_ISREG(st.st_mode) || !isPictureFileName(name))
                continue;
            present.insert(path);
            const qint64 mtime = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
            auto it = seen_.find(path);
            if (it == seen_.end()) {
                seen_.insert(path, Seen {st.st_size, mtime, false});
            } else if (it->size != st.st_size || it->mtimeNs != mtime) {
                *it = Seen {st.st_size, mtime, false};
            } else if (!it->reported) {
                it->reported = true; // unchanged since the last look: complete
                emit pictureArrived(path);
            }
        }
    }
    for (auto it = seen_.begin(); it != seen_.end();)
        it = present.contains(it.key()) ? std::next(it) : seen_.erase(it);
}
