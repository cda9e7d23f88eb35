#include "cli_inputs.h"

#include "batch/frame_list.h"
#include "batch/picture_files.h"
#include "capture/word_import.h"
#include "publish/ftp_account.h"
#include "settings/job_restore.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

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
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            const QStringList found = scanPictureFolder(info.absoluteFilePath(), recursive);
            if (found.isEmpty())
                out.messages << QCoreApplication::translate("tuvo", "文件夹里没有图片: ") + input;
            out.pictures << found;
        } else if (isWordDocument(info)) {
            addWordPictures(input, paths, out);
        } else if (isPictureFileName(input)) {
            // Even a missing or broken picture goes into the list: the run reports it.
            out.pictures << (info.exists() ? info.absoluteFilePath() : input);
        } else if (!info.exists()) {
            out.messages << QCoreApplication::translate("tuvo", "找不到: ") + input;
            out.hadProblem = true;
        } else {
            out.messages << QCoreApplication::translate("tuvo", "不是图片文件,已跳过: ") + input;
            out.hadProblem = true;
        }
    }
    return out;
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
    job = loadJobFromDesktopSettings(paths);
    const std::unique_ptr<QSettings> store = openSettingsStore(desktopSettingsName());
    store->beginGroup(QStringLiteral("Options"));
    loadFtpAccount(*store, job);
    return true;
}
