#include "batch/output_plan.h"

#include "batch/file_names.h"
#include "batch/texts.h"

#include <QDir>
#include <QHash>

namespace {

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

OutputPlan planOutputs(const JobSettings &job, const QStringList &pictures, const ListPlacement &placement)
{
    OutputPlan plan;
    plan.outputs.reserve(pictures.size());
    QHash<QString, int> owner; // output path -> the picture holding it so far
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
        out.path = joinPath(folder, base + extension);
        const auto taken = owner.constFind(out.path);
        const bool inRun = taken != owner.constEnd();
        if (job.iOnClash == kClashOverwrite) {
            if (inRun) {
                plan.outputs[*taken].write = false;
                plan.warnings << texts::clashWarning(pictures[*taken], pictures[i], out.path);
            }
        } else if (inRun || pathExists(out.path)) {
            if (job.iOnClash == kClashNumber) {
                for (int n = 2;; ++n) {
                    const QString numbered
                        = joinPath(folder, base + QStringLiteral("_%1").arg(n) + extension);
                    if (!owner.contains(numbered) && !pathExists(numbered)) {
                        out.path = numbered;
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
