#include "render/layout.h"

#include "render/pipeline_steps.h"

#include <cmath>
#include <utility>

int roundEven(double v)
{
    if (!std::isfinite(v) || v > 2e9 || v < -2e9)
        return 0;
    // Ties go to the even neighbour, whatever the floating-point rounding mode is.
    const double below = std::floor(v);
    const double fraction = v - below;
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0);
    return int(up ? below + 1 : below);
}

// A very thin picture (3000 x 1 at width 800) must keep one row, not vanish.
static int roundExtent(double v)
{
    const int rounded = roundEven(v);
    return rounded == 0 && v > 0 ? 1 : rounded;
}

QSize Layout::outputSize() const
{
    return QSize(roundExtent(width), roundExtent(height));
}

static QRect roundRect(const QRectF &r)
{
    return QRect(roundEven(r.x()), roundEven(r.y()), roundExtent(r.width()), roundExtent(r.height()));
}

QRect Layout::roundedSource() const
{
    return roundRect(source);
}

QRect Layout::roundedDestination() const
{
    return roundRect(destination);
}

Layout ComputeLayout(double W0, double H0, double a, double b, const JobSettings &job, QSize frameSize)
{
    Layout out;
    // The target numbers are single precision where they are read.
    a = float(a);
    b = float(b);

    int m = job.iuSize;
    // The box is a promise about the finished picture: a quarter turn after
    // sizing turns the box too.
    if (m == job.fitInsideIndex() && rotationTurnsSides(job))
        std::swap(a, b);
    // A picture fits inside the box only when both sides do; the other modes keep
    // a picture that is small in either direction.
    const bool small = m == job.fitInsideIndex() ? W0 <= a && H0 <= b : W0 <= a || H0 <= b;
    if (job.bChkResizeOpt == 1 && (a != 0 || b != 0) && small)
        m = kOriginalSize;
    out.mode = m;

    if (m == kLimitWidth) {
        b = W0 > 0 ? a * H0 / W0 : 0;
    } else if (m == kOriginalSize) {
        a = W0;
        b = H0;
    } else if (m == job.fitInsideIndex() && W0 > 0 && H0 > 0 && a > 0 && b > 0) {
        // The side that meets the box first decides the scale; the other follows.
        if (W0 / H0 >= a / b) {
            b = a * H0 / W0;
        } else {
            a = b * W0 / H0;
        }
    } else if (m == kFitFrame) {
        if (frameSize.isValid()) {
            a = frameSize.width();
            b = frameSize.height();
        }
    }
    out.width = a;
    out.height = b;

    out.source = QRectF(0, 0, W0, H0);
    double dx = job.sngOffsetX;
    double dy = job.sngOffsetY;
    double dw = a;
    double dh = b;

    const bool keepsProportions = m == kLimitWidth || m == kOriginalSize || m == job.fitInsideIndex();
    if (!keepsProportions && a > 0 && b > 0 && W0 > 0 && H0 > 0) {
        const bool sourceWider = W0 / H0 >= a / b;
        if (job.bPicJQ == 1) {
            if (sourceWider) {
                const double sw = H0 * a / b;
                const double sx = job.iXCutMode == 0 ? 0 : job.iXCutMode == 1 ? (W0 - sw) / 2 : W0 - sw;
                out.source = QRectF(sx, 0, sw, H0);
            } else {
                const double sh = W0 * b / a;
                const double sy = job.iYCutMode == 0 ? 0 : job.iYCutMode == 1 ? (H0 - sh) / 2 : H0 - sh;
                out.source = QRectF(0, sy, W0, sh);
            }
        } else {
            if (sourceWider) {
                dx = 0;
                dy = job.sngOffsetY + (b - a * H0 / W0) / 2;
                dh = b - 2 * dy;
            } else {
                dx = job.sngOffsetX + (a - b * W0 / H0) / 2;
                dy = 0;
                dw = a - 2 * dx;
            }
        }
    }
    out.destination = QRectF(dx, dy, dw, dh);
    return out;
}
