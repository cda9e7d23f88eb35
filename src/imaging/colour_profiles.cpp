#include "imaging/colour_profiles.h"

#include <QCryptographicHash>

#include <lcms2.h>
#include <map>
#include <mutex>

namespace {

struct Profile {
    cmsHPROFILE h;
    explicit Profile(const QByteArray &icc)
        : h(icc.isEmpty() ? nullptr : cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size())))
    {
    }
    ~Profile()
    {
        if (h)
            cmsCloseProfile(h);
    }
    Profile(const Profile &) = delete;
    Profile &operator=(const Profile &) = delete;
};

enum class Direction { ToSrgb, FromSrgb, CmykToSrgb, InvertedCmykToSrgb };

// Building a transform costs milliseconds; a run meets few profiles, so each is
// built once and shared. NOCACHE makes one transform safe on several threads.
cmsHTRANSFORM transformFor(const QByteArray &icc, Direction direction)
{
    static std::mutex mutex;
    static std::map<QByteArray, cmsHTRANSFORM> transforms;
    const QByteArray key
        = QCryptographicHash::hash(icc, QCryptographicHash::Sha1) + char('0' + int(direction));
    const std::lock_guard lock(mutex);
    if (const auto it = transforms.find(key); it != transforms.end())
        return it->second;
    if (transforms.size() > 64)
        return nullptr; // a run with that many profiles is hostile; convert nothing more
    const Profile profile(icc);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM t = nullptr;
    const cmsUInt32Number flags = cmsFLAGS_NOCACHE;
    switch (direction) {
    case Direction::ToSrgb:
        if (profile.h && cmsGetColorSpace(profile.h) == cmsSigRgbData)
            t = cmsCreateTransform(profile.h, TYPE_BGRA_8, srgb, TYPE_BGRA_8, INTENT_PERCEPTUAL, flags);
        break;
    case Direction::FromSrgb:
        if (profile.h && cmsGetColorSpace(profile.h) == cmsSigRgbData)
            t = cmsCreateTransform(srgb, TYPE_BGRA_8, profile.h, TYPE_BGRA_8, INTENT_PERCEPTUAL, flags);
        break;
    case Direction::CmykToSrgb:
    case Direction::InvertedCmykToSrgb:
        if (profile.h && cmsGetColorSpace(profile.h) == cmsSigCmykData)
            t = cmsCreateTransform(profile.h,
                direction == Direction::CmykToSrgb ? TYPE_CMYK_8 : TYPE_CMYK_8_REV, srgb, TYPE_BGRA_8,
                INTENT_PERCEPTUAL, flags | cmsFLAGS_BLACKPOINTCOMPENSATION);
        break;
    }
    cmsCloseProfile(srgb);
    transforms.emplace(key, t);
    return t;
}

bool transformInPlace(QImage &picture, cmsHTRANSFORM t)
{
    if (!t || picture.isNull())
        return false;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    // In place, lcms leaves the fourth byte (alpha) as it is.
    cmsDoTransformLineStride(t, picture.constBits(), picture.bits(), cmsUInt32Number(picture.width()),
        cmsUInt32Number(picture.height()), cmsUInt32Number(picture.bytesPerLine()),
        cmsUInt32Number(picture.bytesPerLine()), 0, 0);
    return true;
}

} // namespace

bool isReadableProfile(const QByteArray &icc)
{
    return Profile(icc).h != nullptr;
}

QByteArray adobeRgbProfile()
{
    static const QByteArray profile = [] {
        const cmsCIExyY white = {0.3127, 0.3290, 1.0};
        const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
        cmsToneCurve *curve = cmsBuildGamma(nullptr, 563.0 / 256.0);
        cmsToneCurve *curves[3] = {curve, curve, curve};
        cmsHPROFILE h = cmsCreateRGBProfile(&white, &primaries, curves);
        cmsFreeToneCurve(curve);
        QByteArray bytes;
        if (!h)
            return bytes;
        cmsMLU *description = cmsMLUalloc(nullptr, 1);
        cmsMLUsetASCII(description, "en", "US", "Adobe RGB (1998)");
        cmsWriteTag(h, cmsSigProfileDescriptionTag, description);
        cmsMLUfree(description);
        cmsUInt32Number size = 0;
        if (cmsSaveProfileToMem(h, nullptr, &size) && size > 0) {
            bytes.resize(qsizetype(size));
            cmsSaveProfileToMem(h, bytes.data(), &size);
        }
        cmsCloseProfile(h);
        return bytes;
    }();
    return profile;
}

bool isRgbProfile(const QByteArray &icc)
{
    const Profile profile(icc);
    return profile.h && cmsGetColorSpace(profile.h) == cmsSigRgbData;
}

bool actsAsSrgb(const QByteArray &icc)
{
    const Profile profile(icc);
    if (!profile.h || cmsGetColorSpace(profile.h) != cmsSigRgbData)
        return true;
    char description[256] = {};
    cmsGetProfileInfoASCII(profile.h, cmsInfoDescription, "en", "US", description, sizeof description);
    return QByteArray(description).startsWith("sRGB");
}

bool convertToSrgb(QImage &picture, const QByteArray &icc)
{
    return transformInPlace(picture, transformFor(icc, Direction::ToSrgb));
}

bool convertFromSrgb(QImage &picture, const QByteArray &icc)
{
    return transformInPlace(picture, transformFor(icc, Direction::FromSrgb));
}

QRgb srgbColourIn(QRgb colour, const QByteArray &icc)
{
    QImage one(1, 1, QImage::Format_ARGB32);
    one.setPixel(0, 0, colour);
    return convertFromSrgb(one, icc) ? one.pixel(0, 0) : colour;
}

void bringIntoProfile(QImage &picture, const QByteArray &own, const QByteArray &target)
{
    if (own == target)
        return;
    if (!actsAsSrgb(own))
        convertToSrgb(picture, own);
    if (!actsAsSrgb(target))
        convertFromSrgb(picture, target);
}

QImage cmykToSrgb(const uchar *cmyk, int width, int height, int stride, const QByteArray &icc, bool inverted)
{
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(Qt::white);
    if (cmsHTRANSFORM t
        = transformFor(icc, inverted ? Direction::InvertedCmykToSrgb : Direction::CmykToSrgb)) {
        cmsDoTransformLineStride(t, cmyk, out.bits(), cmsUInt32Number(width), cmsUInt32Number(height),
            cmsUInt32Number(stride), cmsUInt32Number(out.bytesPerLine()), 0, 0);
        return out;
    }
    for (int y = 0; y < height; ++y) {
        const uchar *p = cmyk + qsizetype(y) * stride;
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; ++x, p += 4) {
            // Ink coverage to light: (255 - C) * (255 - K) / 255.
            const int k = inverted ? p[3] : 255 - p[3];
            const auto channel = [&](uchar v) {
                return (inverted ? v : 255 - v) * k / 255;
            };
            line[x] = qRgb(channel(p[0]), channel(p[1]), channel(p[2]));
        }
    }
    return out;
}
