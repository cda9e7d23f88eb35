#include "run/file_size_fit.h"

#include "imaging/resample.h"

#include <QtMath>

namespace {

constexpr int kMaxEncodes = 7;

struct Probe {
    QByteArray bytes;
    int quality = -1;
};

// One pixel size: the job's quality first, then a search down or up from it.
bool searchQuality(
    const QImage &picture, const SizeLimits &limits, const PictureEncoder &encode, FittedPicture &out)
{
    int encodes = 0;
    const auto encodeAt = [&](int quality, Probe *probe) {
        ++encodes;
        ++out.encodes;
        probe->quality = limits.lossy ? quality : -1;
        probe->bytes = encode(picture, quality, &out.error);
        return !probe->bytes.isEmpty();
    };
    const auto fits = [&](const Probe &p) {
        return limits.maxBytes <= 0 || p.bytes.size() <= limits.maxBytes;
    };
    const auto bigEnough = [&](const Probe &p) {
        return p.bytes.size() >= limits.minBytes;
    };

    Probe first;
    if (!encodeAt(limits.quality, &first))
        return false;
    Probe chosen = first;
    if (limits.lossy && !fits(first) && limits.quality > limits.minQuality) {
        // lo: highest quality known to fit (or minQuality - 1); hi: lowest known not to.
        Probe lo {QByteArray(), limits.minQuality - 1};
        Probe hi = first;
        while (hi.quality - lo.quality > 1 && encodes < kMaxEncodes) {
            Probe mid;
            if (!encodeAt((lo.quality + hi.quality + 1) / 2, &mid))
                return false;
            (fits(mid) ? lo : hi) = mid;
        }
        // Out of encodes before the floor was tried: it decides between fitting and scaling.
        if (lo.bytes.isEmpty() && hi.quality > limits.minQuality) {
            Probe floor;
            if (!encodeAt(limits.minQuality, &floor))
                return false;
            (fits(floor) ? lo : hi) = floor;
        }
        chosen = lo.bytes.isEmpty() ? hi : lo;
    } else if (limits.lossy && fits(first) && limits.minBytes > 0 && !bigEnough(first)
        && limits.quality < 100) {
        // lo: highest quality known too small; hi: lowest known big enough (101: none yet).
        Probe lo = first;
        Probe hi {QByteArray(), 101};
        while (hi.quality - lo.quality > 1 && encodes < kMaxEncodes) {
            Probe mid;
            if (!encodeAt((lo.quality + hi.quality) / 2, &mid))
                return false;
            (bigEnough(mid) ? hi : lo) = mid;
        }
        chosen = !hi.bytes.isEmpty() && fits(hi) ? hi : lo;
    }
    out.bytes = chosen.bytes;
    out.quality = chosen.quality;
    out.tooBig = !fits(chosen);
    out.tooSmall = limits.minBytes > 0 && !bigEnough(chosen);
    return true;
}

} // namespace

FittedPicture fitFileSize(const QImage &picture, const SizeLimits &limits, const PictureEncoder &encode)
{
    FittedPicture out;
    QImage current = picture;
    // Once scaling has begun, each smaller size is tried at the floor alone; the
    // full search runs only where the floor fits.
    SizeLimits atFloor = limits;
    atFloor.quality = limits.minQuality;
    for (int step = 0;; ++step) {
        bool floorTooBig = false;
        if (step > 0 && limits.lossy) {
            if (!searchQuality(current, atFloor, encode, out)) {
                out.bytes.clear();
                return out;
            }
            floorTooBig = out.tooBig;
        }
        if (!floorTooBig && !searchQuality(current, limits, encode, out)) {
            out.bytes.clear();
            return out;
        }
        if (!out.tooBig || !limits.mayScale || qMax(current.width(), current.height()) <= 16 || step >= 40)
            return out;
        // Size goes roughly with the pixel count: aim a little under the limit,
        // but never less than a tenth off or more than half per step.
        const double factor
            = qBound(0.5, std::sqrt(double(limits.maxBytes) / double(out.bytes.size())) * 0.97, 0.9);
        const QSize size(
            qMax(1, qRound(current.width() * factor)), qMax(1, qRound(current.height() * factor)));
        if (current.format() != QImage::Format_RGB32 && current.format() != QImage::Format_ARGB32
            && current.format() != QImage::Format_ARGB32_Premultiplied)
            current = current.convertToFormat(
                current.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        current = resampleLanczos(current, current.rect(), size);
        out.scaled = current;
    }
}

bool isLossyExtension(const QString &extension)
{
    static const QStringList lossy = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("webp"),
        QStringLiteral("avif"), QStringLiteral("heic"), QStringLiteral("heif")};
    return lossy.contains(extension.toLower());
}

QString fileSizeText(qint64 bytes)
{
    return bytes < 1024 ? QStringLiteral("%1 B").arg(bytes)
                        : QStringLiteral("%1 KB").arg(double(bytes) / 1024.0, 0, 'f', 1);
}
