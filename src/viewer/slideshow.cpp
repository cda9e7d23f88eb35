#include "viewer/slideshow.h"

#include <cmath>
#include <limits>

std::optional<int> slideTimeFromAnswer(const QString &answer)
{
    bool ok = false;
    const double value = answer.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double whole = std::floor(value);
    if (whole <= 0 || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return int(whole);
}

SlideShow::SlideShow(QObject *parent)
    : QObject(parent)
{
    timer_.setInterval(kDefaultIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &SlideShow::tick);
}

bool SlideShow::setIntervalSeconds(int seconds)
{
    const qint64 ms = qint64(seconds) * 1000;
    if (seconds <= 0 || ms > std::numeric_limits<qint16>::max())
        return false;
    timer_.setInterval(int(ms));
    return true;
}

int SlideShow::nextPosition(int count)
{
    if (count <= 0)
        return -1;
    const int position = SlideCounter % count;
    SlideCounter = position + 1;
    return position;
}
