#include "ui/colour_chart.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kWidth = 223;
constexpr int kHeight = 120;
constexpr int kHueColumns = 160;
const QColor kGround(192, 192, 192);

QImage makeChart()
{
    QImage chart(kWidth, kHeight, QImage::Format_RGB888);
    chart.fill(kGround);
    for (int x = 0; x < kHueColumns; ++x) {
        const int hue = x * 360 / kHueColumns;
        for (int y = 0; y < kHeight; ++y) {
            const int lightness = 12 + y * 230 / (kHeight - 1);
            chart.setPixelColor(x, y, QColor::fromHsl(hue, 255, lightness));
        }
    }
    // Sixteen basic colours, two columns of eight rows.
    static const QRgb basics[] = {0x000000, 0x808080, 0x800000, 0xff0000, 0x808000, 0xffff00, 0x008000,
        0x00ff00, 0x008080, 0x00ffff, 0x000080, 0x0000ff, 0x800080, 0xff00ff, 0xc0c0c0, 0xffffff};
    const int swatchW = 25;
    const int swatchH = 12;
    for (int i = 0; i < 16; ++i) {
        const int left = kHueColumns + 6 + (i % 2) * (swatchW + 4);
        const int top = 4 + (i / 2) * (swatchH + 2);
        for (int y = top; y < top + swatchH; ++y)
            for (int x = left; x < left + swatchW && x < kWidth; ++x)
                chart.setPixel(x, y, basics[i] | 0xff000000u);
    }
    return chart;
}

} // namespace

ColourChart::ColourChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picColor"));
    setFixedSize(chartImage().size());
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

const QImage &ColourChart::chartImage()
{
    static const QImage chart = makeChart();
    return chart;
}

QColor ColourChart::colourAt(QPoint p)
{
    const QImage &chart = chartImage();
    return chart.rect().contains(p) ? chart.pixelColor(p) : kGround;
}

void ColourChart::paintEvent(QPaintEvent *)
{
    QPainter(this).drawImage(0, 0, chartImage());
}

void ColourChart::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered(colourAt(event->position().toPoint()));
}

void ColourChart::mouseReleaseEvent(QMouseEvent *event)
{
    emit picked(colourAt(event->position().toPoint()));
}
