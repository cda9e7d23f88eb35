#pragma once

#include <QImage>
#include <QWidget>

// The text dialog's 223 x 120 colour chart: hue columns running from dark to
// light on the left, rows of basic colour swatches on a grey ground on the right.
// Moving over it reports the colour under the pointer; releasing the button picks it.
class ColourChart : public QWidget {
    Q_OBJECT
public:
    explicit ColourChart(QWidget *parent = nullptr);

    static const QImage &chartImage();
    // The chart's colour at p; the grey ground outside the chart.
    static QColor colourAt(QPoint p);

    QSize sizeHint() const override { return chartImage().size(); }

signals:
    void hovered(const QColor &colour);
    void picked(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
