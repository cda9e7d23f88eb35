#pragma once

#include "job/job_settings.h"

#include <QRect>
#include <QRectF>
#include <QSize>

// Output size and the two rectangles of the draw step, in pixels of the
// original picture (source) and of the work surface (destination).
struct Layout {
    double width = 0; // work surface size before rounding
    double height = 0;
    QRectF source;
    QRectF destination;
    int mode = 0; // the size mode actually used for this picture

    QSize outputSize() const;
    QRect roundedSource() const;
    QRect roundedDestination() const;
};

// frameSize is the chosen frame picture's pixel size (used by the fit-frame mode;
// invalid when there is no usable frame).
Layout ComputeLayout(
    double W0, double H0, double a, double b, const JobSettings &job, QSize frameSize = QSize());

// Round half to even, as every float-to-integer conversion of the program does.
int roundEven(double v);
