#include "batch/pipeline_steps.h"

void decorationStep(const JobSettings &job, const QString &path, QImage &surface, RenderResult &result)
{
    Q_UNUSED(job);
    Q_UNUSED(path);
    Q_UNUSED(surface);
    Q_UNUSED(result);
}
