#include "imaging/colour_profiles.h"
#include "render/frame_layer.h"
#include "render/mark_tokens.h"
#include "render/picture_watermark.h"
#include "render/pipeline_steps.h"
#include "render/text_watermark.h"
#include "render/texts.h"

#include <QCoreApplication>

void decorationStep(const JobSettings &job, const QString &path, QImage &surface, RenderResult &result)
{
    if (surface.isNull())
        return;
    // Layers from the bottom up: the watermarks always lie on the frame.
    if (hasFrame(job) && !drawFrame(surface, job.sFrameFile, result.iccProfile))
        result.errorLines << texts::drawError(
            path, QCoreApplication::translate("tuvo", "无法加载边框图片") + job.sFrameFile);
    if (job.bPicMark && !job.suISyF.isEmpty())
        drawPictureMark(job, path, surface, result);
    if (job.bTextMark && !job.sText.isEmpty()) {
        // The chosen colour is sRGB; a surface that keeps another profile gets it in that one.
        JobSettings text = job;
        if (!actsAsSrgb(result.iccProfile)) {
            const QRgb c
                = srgbColourIn(qRgb(job.lColor & 0xFF, (job.lColor >> 8) & 0xFF, (job.lColor >> 16) & 0xFF),
                    result.iccProfile);
            text.lColor = qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16);
        }
        drawTextMark(text, markText(job.sText, path), surface, result.marks);
    }
}
