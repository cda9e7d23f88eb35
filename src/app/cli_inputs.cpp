#include "cli_inputs.h"

#include "batch/file_names.h"
#include "batch/frame_list.h"
#include "batch/picture_files.h"
#include "capture/word_import.h"
#include "publish/ftp_account.h"
#include "settings/job_restore.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>

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
    out.messages << imported.errorLines;
    if (!imported.message.isEmpty())
        out.messages << input + QStringLiteral(": ") + imported.message;
    if (imported.messageIsError || !imported.errorLines.isEmpty())
        out.hadProblem = true;
}

} // namespace

CliInputs collectInputs(const QStringList &inputs, bool recursive, const AppPaths &paths)
{
    CliInputs out;
    // Inputs are looked at by the bytes of their names, which need not be UTF-8.
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (isDirectoryPath(input)) {
            const QString root = info.absoluteFilePath();
            const QStringList found = scanPictureFolder(root, recursive);
            if (found.isEmpty())
                out.messages << QCoreApplication::translate("tuvo", "文件夹里没有图片: ") + shownName(input);
            for (const QString &picture : found) {
                // The scan joins real names below root, so this never holds "..".
                const QString below = picture.mid(root.size() + (root.endsWith(QLatin1Char('/')) ? 0 : 1));
                out.subFolders << below.left(qMax(0, int(below.lastIndexOf(QLatin1Char('/')))));
                out.given << (input.endsWith(QLatin1Char('/')) ? input : input + QLatin1Char('/')) + below;
            }
            out.pictures << found;
        } else if (isWordDocument(info)) {
            addWordPictures(input, paths, out);
            while (out.subFolders.size() < out.pictures.size()) {
                out.subFolders << QString();
                out.given << out.pictures[out.given.size()];
            }
        } else if (isPictureFileName(input)) {
            // Even a missing or broken picture goes into the list: the run reports it.
            out.pictures << info.absoluteFilePath();
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
    const bool opened = from == QLatin1String("-")
        ? list.open(stdin, QIODevice::ReadOnly)
        : list.open(::open(encodeFileName(from).constData(), O_RDONLY | O_CLOEXEC), QIODevice::ReadOnly,
            QFileDevice::AutoCloseHandle);
    if (!opened) {
        *error = QCoreApplication::translate("tuvo", "无法读取文件列表: ") + shownName(from);
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
