#include "batch/pipeline_steps.h"

void rotationStep(const JobSettings &job, const QString &path, QImage &surface)
{
    Q_UNUSED(job);
    Q_UNUSED(path);
    Q_UNUSED(surface);
}
