#include "run/output_plan.h"

#include "fs/file_names.h"
#include "render/texts.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <dirent.h>

namespace {

// The names in each output folder, read once: a plan of 100,000 pictures then
// asks the file system per folder, not per picture and candidate number. What
// another program adds later is caught when the file is committed.
class ExistingNames {
public:
    bool contains(const QString &path)
    {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        const QString folder = slash > 0 ? path.left(slash) : QStringLiteral("/");
        auto names = folders_.find(folder);
        if (names == folders_.end())
            names = folders_.insert(folder, namesIn(folder));
        return names->contains(encodeFileName(path.mid(slash + 1)));
    }

private:
    static QSet<QByteArray> namesIn(const QString &folder)
    {
        QSet<QByteArray> names;
        if (DIR *dir = ::opendir(encodeFileName(folder).constData())) {
            while (const dirent *entry = ::readdir(dir))
                names.insert(QByteArray(entry->d_name));
            ::closedir(dir);
        }
        return names;
    }

    QHash<QString, QSet<QByteArray>> folders_;
};

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

QString PlannedOutput::numberedPath(int n) const
{
    return stem + QStringLiteral("_%1.").arg(n) + target.extension;
}

OutputPlan planOutputs(const JobSettings &job, const QStringList &pictures, const ListPlacement &placement)
{
    OutputPlan plan;
    plan.outputs.reserve(pictures.size());
    QHash<QString, int> owner; // output path -> the picture holding it so far
    QHash<QString, int> nextNumber; // stem + extension -> the first number not yet tried
    ExistingNames existing;
    bool saidAvif = false; // once per run
    for (int i = 0; i < pictures.size(); ++i) {
        PlannedOutput out;
        out.target = outputTargetFor(job, pictures[i]);
        if (out.target.avifForHeic && !saidAvif) {
            plan.warnings << texts::avifForHeic();
            saidAvif = true;
        }
        out.subFolder = placement.subFolderOf(i);
        const QString folder = out.subFolder.isEmpty() ? job.sOutDir : joinPath(job.sOutDir, out.subFolder);
        const QString base
            = outputBaseName(job, pictures[i], placement.firstNumber + placement.positionOf(i));
        const QString extension = QLatin1Char('.') + out.target.extension;
        out.stem = joinPath(folder, base);
        out.path = out.stem + extension;
        const auto taken = owner.constFind(out.path);
        const bool inRun = taken != owner.constEnd();
        if (job.iOnClash == kClashOverwrite) {
            if (inRun) {
                plan.outputs[*taken].write = false;
                plan.warnings << texts::clashWarning(pictures[*taken], pictures[i], out.path);
            }
        } else if (inRun || existing.contains(out.path)) {
            if (job.iOnClash == kClashNumber) {
                int &n = nextNumber[out.path];
                for (n = qMax(n, 2);; ++n) {
                    const QString numbered = out.numberedPath(n);
                    if (!owner.contains(numbered) && !existing.contains(numbered)) {
                        out.path = numbered;
                        out.number = n++;
                        break;
                    }
                }
            } else {
                out.write = false;
                if (job.iOnClash == kClashFail)
                    out.errorLine = texts::saveError(pictures[i], texts::clashRefused(out.path));
                else
                    plan.warnings << texts::clashSkipped(pictures[i], out.path);
            }
        }
        if (out.write)
            owner.insert(out.path, i);
        plan.outputs << out;
    }
    return plan;
}
