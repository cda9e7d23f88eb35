#include "render/text_watermark.h"

#include "imaging/chinese_fonts.h"
#include "render/layout.h"
#include "render/mark_position.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

// Points are taken at 96 dpi, so the output does not depend on the screen.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr int kMaxPixelSize = 8000;

} // namespace

QFont markFont(const JobSettings &job)
{
    installChineseFontSubstitutes();
    QFont font(job.sFont);
    font.setPixelSize(std::clamp(qRound(job.iSize * kPixelsPerPoint), 1, kMaxPixelSize));
    font.setBold(job.sBold);
    font.setItalic(job.sItalic);
    font.setUnderline(job.sUnderline);
    // Colour fringes of sub-pixel smoothing would show on a saved picture.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

QColor markColour(qint32 lColor)
{
    return QColor(lColor & 0xFF, (lColor >> 8) & 0xFF, (lColor >> 16) & 0xFF);
}

QRectF placeTextMark(const JobSettings &job, QSize surfaceSize, QSize textSize, MarkPlacement &marks)
{
    const double W = surfaceSize.width();
    const double H = surfaceSize.height();
    QPointF corner;
    if (isPresetPosition(job.iuTxtPos)) {
        corner = presetCorner(job.iuTxtPos, QSizeF(W, H), QSizeF(textSize));
        marks.iuTSyX = corner.x() / W;
        marks.iuTSyY = corner.y() / H;
    } else {
        corner = QPointF(job.iuTSyX * W, job.iuTSyY * H);
        marks.iuTSyX = job.iuTSyX;
        marks.iuTSyY = job.iuTSyY;
    }
    marks.textDrawn = true;
    marks.textBox = QRectF(corner, QSizeF(textSize));
    return marks.textBox;
}

void drawTextMark(const JobSettings &job, const QString &text, QImage &surface, MarkPlacement &marks)
{
    if (surface.isNull() || text.isEmpty())
        return;
    const QFont font = markFont(job);
    const QFontMetrics metrics(font, &surface);
    const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
    const QRectF box = placeTextMark(job, surface.size(), textSize, marks);

    QPainter painter(&surface);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(markColour(job.lColor));
    painter.drawText(QPoint(roundEven(box.x()), roundEven(box.y()) + metrics.ascent()), text);
}
