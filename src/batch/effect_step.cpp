#include "batch/pipeline_steps.h"

void effectStep(const JobSettings &job, QImage &surface)
{
    Q_UNUSED(job);
    Q_UNUSED(surface);
}
