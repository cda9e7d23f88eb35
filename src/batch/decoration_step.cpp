#include "batch/frame_layer.h"
#include "batch/mark_tokens.h"
#include "batch/picture_watermark.h"
#include "batch/pipeline_steps.h"
#include "batch/text_watermark.h"
#include "batch/texts.h"

void decorationStep(const JobSettings &job, const QString &path, QImage &surface, RenderResult &result)
{
    if (surface.isNull())
        return;
    // Layers from the bottom up: the watermarks always lie on the frame.
    if (hasFrame(job) && !drawFrame(surface, job.sFrameFile))
        result.errorLines << texts::drawError(path, QStringLiteral("无法加载边框图片") + job.sFrameFile);
    if (job.bPicMark && !job.suISyF.isEmpty())
        drawPictureMark(job, path, surface, result);
    if (job.bTextMark && !job.sText.isEmpty())
        drawTextMark(job, markText(job.sText, path), surface, result.marks);
}
