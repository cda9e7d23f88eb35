#include "cli_inputs.h"

#include "batch/frame_list.h"
#include "batch/picture_files.h"

#include <QFileInfo>

CliInputs collectInputs(const QStringList &inputs, bool recursive, const AppPaths &paths)
{
    Q_UNUSED(paths);
    CliInputs out;
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            const QStringList found = scanPictureFolder(info.absoluteFilePath(), recursive);
            if (found.isEmpty())
                out.messages << QStringLiteral("文件夹里没有图片: ") + input;
            out.pictures << found;
        } else if (isPictureFileName(input)) {
            // Even a missing or broken picture goes into the list: the run reports it.
            out.pictures << (info.exists() ? info.absoluteFilePath() : input);
        } else if (!info.exists()) {
            out.messages << QStringLiteral("找不到: ") + input;
            out.hadProblem = true;
        } else {
            out.messages << QStringLiteral("不是图片文件,已跳过: ") + input;
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
    Q_UNUSED(job);
    Q_UNUSED(paths);
    *error = QStringLiteral("--from-settings: not supported yet");
    return false;
}
