// The metadata copy step: arbitrary bytes as a source JPEG's EXIF (APP1) and XMP
// (APP1) segments, carried into a JPEG and a PNG output. Damaged metadata must
// give an error, never a crash, and a successful copy must leave a readable picture.
#include "imaging/encoders.h"
#include "imaging/picture_metadata.h"
#include "qt_app.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray segment(char marker, const QByteArray &header, const QByteArray &body)
{
    const QByteArray payload = (header + body).left(65533);
    QByteArray s;
    s.append(char(0xFF)).append(marker);
    s.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    return s + payload;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startQtOnce("fuzz_metadata");
    static const QImage picture = [] {
        QImage p(16, 12, QImage::Format_RGB32);
        p.fill(qRgb(90, 140, 200));
        return p;
    }();
    static const QByteArray jpeg = encodeJpeg(picture, 80, nullptr);
    static const QByteArray png = encodePicture(picture, QStringLiteral("png"), 0, nullptr);

    // The first byte splits the input between the EXIF and the XMP segment.
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = size > 0 ? qsizetype(uchar(input[0])) * (input.size() - 1) / 255 + 1 : 0;
    const QByteArray source = jpeg.left(2)
        + segment(char(0xE1), QByteArray("Exif\0\0", 6), input.mid(1, split - 1))
        + segment(char(0xE1), QByteArray("http://ns.adobe.com/xap/1.0/\0", 29), input.mid(split))
        + jpeg.mid(2);

    const SourceMetadata metadata = SourceMetadata::fromBytes(source);
    for (int choice = 0; choice < 3; ++choice) {
        MetadataPlan plan;
        plan.choice = choice;
        plan.outputSize = picture.size();
        for (const QByteArray &encoded : {jpeg, png}) {
            QByteArray out = encoded;
            carryMetadata(out, metadata, plan);
            if (QImage::fromData(out).size() != picture.size())
                __builtin_trap();
        }
    }
    return 0;
}
