#include "imaging/encoders.h"

#include <QCoreApplication>

#include <memory>
#include <spng.h>

// 8-bit RGB through libspng. zlib level 1 with the "average" filter on every row:
// on an 800 x 600 photo 839 KB in about 95 ms, where Qt's writer (adaptive filters,
// level 6) takes 650 ms for 723 KB and vipsthumbnail's (no filter, level 6) 170 ms
// for 1286 KB (bench/RESULTS.md).
QByteArray encodePng(const QImage &picture, QString *error)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const std::unique_ptr<spng_ctx, void (*)(spng_ctx *)> ctx(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
    if (!ctx || rgb.isNull()) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "PNG编码器无法启动");
        return {};
    }
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_AVG);
    spng_ihdr ihdr {};
    ihdr.width = quint32(rgb.width());
    ihdr.height = quint32(rgb.height());
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(ctx.get(), &ihdr);
    spng_phys phys {quint32(qMax(0, rgb.dotsPerMeterX())), quint32(qMax(0, rgb.dotsPerMeterY())), 1};
    if (phys.ppu_x > 0 && phys.ppu_y > 0)
        spng_set_phys(ctx.get(), &phys);

    int rc = spng_encode_image(
        ctx.get(), nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    for (int y = 0; rc == 0 && y < rgb.height(); ++y) {
        rc = spng_encode_row(ctx.get(), rgb.constScanLine(y), size_t(rgb.width()) * 3);
        if (rc == SPNG_EOI)
            rc = 0;
    }
    size_t size = 0;
    void *png = rc == 0 ? spng_get_png_buffer(ctx.get(), &size, &rc) : nullptr;
    if (!png) {
        if (error)
            *error = QString::fromLatin1(spng_strerror(rc));
        return {};
    }
    QByteArray bytes(static_cast<const char *>(png), qsizetype(size));
    free(png);
    return bytes;
}
