#include "cli_inputs.h"

#include "capture/word_import.h"
#include "fs/file_names.h"
#include "imaging/picture_files.h"
#include "job/frame_list.h"
#include "job/job_restore.h"
#include "job/settings_store.h"
#include "publish/ftp_account.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

bool isWordDocument(const QFileInfo &info)
{
    const QString suffix = info.suffix().toLower();
    return info.isFile() && (suffix == QLatin1String("docx") || suffix == QLatin1String("doc"));
}

// The document's pictures go to the user folder and join the run in document order.
void addWordPictures(const QString &input, const AppPaths &paths, CliInputs &out)
{
    paths.ensureWritableFolders();
    const WordImportResult imported = importWordPictures(input, paths.userDir());
    out.pictures << imported.pictures;
    out.madeFiles << imported.pictures;
    out.messages << imported.errorLines;
    if (!imported.message.isEmpty())
        out.messages << input + QStringLiteral(": ") + imported.message;
    if (imported.messageIsError || !imported.errorLines.isEmpty())
        out.hadProblem = true;
}

// Whether the folder sub below root is the output folder or lies inside it;
// answers are kept by folder, a scan asks once per picture.
class OutputFolderTest {
public:
    explicit OutputFolderTest(const QString &outputDir)
        : output_(outputDir.isEmpty() ? std::nullopt : fileIdentity(outputDir))
    {
    }

    bool holds(const QString &root, const QString &sub)
    {
        if (!output_ || sub.isEmpty())
            return false;
        QString walked = root;
        for (const QString &part : sub.split(QLatin1Char('/'))) {
            walked += QLatin1Char('/') + part;
            auto known = isOutput_.constFind(walked);
            if (known == isOutput_.constEnd())
                known = isOutput_.insert(walked, fileIdentity(walked) == output_);
            if (*known)
                return true;
        }
        return false;
    }

private:
    std::optional<FileIdentity> output_;
    QHash<QString, bool> isOutput_;
};

} // namespace

QString absoluteFileName(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    const std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    const QString base = cwd ? decodeFileName(QByteArray(cwd.get())) : QDir::currentPath();
    return QDir::cleanPath(path.isEmpty() ? base : base + QLatin1Char('/') + path);
}

CliInputs collectInputs(
    const QStringList &inputs, bool recursive, const AppPaths &paths, const QString &outputDir)
{
    CliInputs out;
    OutputFolderTest outputFolder(outputDir);
    // Inputs are looked at by the bytes of their names, which need not be UTF-8.
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (isDirectoryPath(input)) {
            const QString root = absoluteFileName(input);
            const QStringList found = scanPictureFolder(root, recursive);
            if (found.isEmpty())
                out.messages << QCoreApplication::translate("tuvo", "文件夹里没有图片: ") + shownName(input);
            int leftOut = 0;
            for (const QString &picture : found) {
                // The scan joins real names below root, so this never holds "..".
                const QString below = picture.mid(root.size() + (root.endsWith(QLatin1Char('/')) ? 0 : 1));
                const QString subFolder = below.left(qMax(0, int(below.lastIndexOf(QLatin1Char('/')))));
                if (outputFolder.holds(root, subFolder)) {
                    ++leftOut;
                    continue;
                }
                out.pictures << picture;
                out.subFolders << subFolder;
                out.given << (input.endsWith(QLatin1Char('/')) ? input : input + QLatin1Char('/')) + below;
            }
            if (leftOut > 0)
                out.messages << QCoreApplication::translate(
                    "tuvo", "输出文件夹在输入文件夹%1之内, 其中的%2张图片不作为输入。")
                                    .arg(shownName(input))
                                    .arg(leftOut);
        } else if (isWordDocument(info)) {
            addWordPictures(input, paths, out);
            while (out.subFolders.size() < out.pictures.size()) {
                out.subFolders << QString();
                out.given << out.pictures[out.given.size()];
            }
        } else if (isPictureFileName(input)) {
            // Even a missing or broken picture goes into the list: the run reports it.
            out.pictures << absoluteFileName(input);
            out.subFolders << QString();
            out.given << input;
        } else if (!pathExists(input)) {
            out.messages << QCoreApplication::translate("tuvo", "找不到: ") + shownName(input);
            out.hadProblem = true;
        } else {
            out.messages << QCoreApplication::translate("tuvo", "不是图片文件,已跳过: ") + shownName(input);
            out.hadProblem = true;
        }
    }
    return out;
}

bool readFileList(const QString &from, bool nullSeparated, QStringList *paths, QString *error)
{
    QFile list;
    // Any readable file will do, a pipe from find included.
    const int fd = from == QLatin1String("-")
        ? STDIN_FILENO
        : ::open(encodeFileName(from).constData(), O_RDONLY | O_CLOEXEC);
    const int openError = errno;
    if (fd < 0
        || !list.open(fd, QIODevice::ReadOnly,
            fd == STDIN_FILENO ? QFileDevice::DontCloseHandle : QFileDevice::AutoCloseHandle)) {
        *error = QStringLiteral("tuvo-cli: --files-from: ")
            + QCoreApplication::translate("tuvo", "无法读取文件列表: ") + shownName(from)
            + (fd < 0 ? QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(openError)) : QString());
        return false;
    }
    const QByteArray bytes = list.readAll();
    for (QByteArray entry : bytes.split(nullSeparated ? '\0' : '\n')) {
        if (!nullSeparated && entry.endsWith('\r'))
            entry.chop(1);
        if (!entry.isEmpty())
            *paths << decodeFileName(entry);
    }
    return true;
}

RunShare shareOfList(const CliInputs &inputs, int shard, int shards, int firstNumber, bool keepTree)
{
    RunShare share;
    share.placement.firstNumber = firstNumber;
    for (int p = 0; p < inputs.pictures.size(); ++p) {
        if (shards > 0 && p % shards != shard - 1)
            continue;
        share.pictures << inputs.pictures[p];
        share.placement.positions << p;
        if (keepTree)
            share.placement.subFolders << inputs.subFolders.value(p);
    }
    return share;
}

QString firstFrameIn(const QString &bkDir)
{
    FrameList frames;
    frames.loadFolder(bkDir);
    return frames.frameCount() > 0 ? frames.path(1) : QString();
}

bool loadCliJobFromSettings(JobSettings &job, const AppPaths &paths, QString *error)
{
    Q_UNUSED(error);
    const std::unique_ptr<QSettings> store = openSettingsStore(desktopSettingsName());
    job = loadJobFromSettings(*store, paths);
    store->beginGroup(QStringLiteral("Options"));
    loadFtpAccount(*store, job);
    return true;
}
