#include "job/frame_list.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QStringList pngFilesOf(const QString &folder)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    // Name filters ignore letter case, so a.PNG counts as well.
    return dir.entryList(
        {QStringLiteral("*.png")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
}

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

QString FrameList::noFrameText()
{
    return QCoreApplication::translate("tuvo", "无边框");
}

QString FrameList::addLocalText()
{
    return QCoreApplication::translate("tuvo", "添加本地边框...");
}

QString FrameList::downloadText()
{
    return QCoreApplication::translate("tuvo", "网络下载边框...");
}

void FrameList::loadFolder(const QString &folder)
{
    names_.clear();
    paths_.clear();
    addFolder(folder);
}

int FrameList::addFolder(const QString &folder)
{
    int added = 0;
    const QDir dir(folder);
    for (const QString &name : pngFilesOf(folder)) {
        if (append(dir.filePath(name)))
            ++added;
    }
    return added;
}

bool FrameList::append(const QString &path)
{
    const QString full = cleanAbsolute(path);
    if (names_.size() >= kMaxFrames || paths_.contains(full))
        return false;
    const QString name = QFileInfo(full).fileName();
    names_ << name.left(name.size() - 4); // without ".png"
    paths_ << full;
    return true;
}

QStringList FrameList::entries() const
{
    QStringList list;
    list.reserve(count());
    list << noFrameText() << names_ << addLocalText() << downloadText();
    return list;
}

QString FrameList::path(int k) const
{
    return isFrame(k) ? paths_.at(k - 1) : QString();
}

int FrameList::indexOf(const QString &path) const
{
    if (path.isEmpty())
        return -1;
    const int i = int(paths_.indexOf(cleanAbsolute(path)));
    return i < 0 ? -1 : i + 1;
}

FrameChoice chooseFrame(JobSettings &job, const FrameList &frames, int k)
{
    if (frames.isDownload(k)) {
        chooseFrame(job, frames, 0);
        return FrameChoice::OpenDownloadPage;
    }
    if (frames.isAddLocal(k))
        return FrameChoice::ChooseFolder;
    if (!frames.isFrame(k))
        k = 0;
    // The fit-frame size mode has nothing to fit without a frame.
    if (k == 0 && job.iuSize == kFitFrame)
        chooseSizeMode(job, kLimitWidth);
    job.iuBk = k;
    job.sFrameFile = frames.path(k);
    return FrameChoice::Selected;
}

void pickFrameForFitMode(JobSettings &job, const FrameList &frames)
{
    // Only a real frame picture: entry 1 of an empty list is the folder command.
    if (job.iuSize == kFitFrame && !frames.isFrame(job.iuBk) && frames.frameCount() > 0)
        chooseFrame(job, frames, 1);
}

QString frameDownloadUrl()
{
    // An image search for transparent PNG photo frames.
    return QStringLiteral("https://www.bing.com/images/search?q=%E5%9B%BE%E7%89%87%E8%BE%B9%E6%A1%86+png+"
                          "%E9%80%8F%E6%98%8E");
}
