#include "batch/output_plan.h"

#include "batch/texts.h"

#include <QDir>
#include <QHash>

OutputPlan planOutputs(const JobSettings &job, const QStringList &pictures)
{
    OutputPlan plan;
    plan.outputs.reserve(pictures.size());
    QHash<QString, int> owner; // output path -> the list position holding it so far
    const QDir outDir(job.sOutDir);
    for (int i = 0; i < pictures.size(); ++i) {
        PlannedOutput out;
        out.target = outputTargetFor(job, pictures[i]);
        out.path
            = outDir.filePath(outputBaseName(job, pictures[i], i) + QLatin1Char('.') + out.target.extension);
        const auto taken = owner.constFind(out.path);
        if (taken != owner.constEnd()) {
            plan.outputs[*taken].write = false;
            plan.warnings << texts::clashWarning(pictures[*taken], pictures[i], out.path);
        }
        owner.insert(out.path, i);
        plan.outputs << out;
    }
    return plan;
}
