#include "imaging/encoders.h"

#include <QCoreApplication>

#include <gif_lib.h>
#include <libimagequant.h>
#include <vector>

namespace {

int appendToArray(GifFileType *gif, const GifByteType *data, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(data), length);
    return length;
}

} // namespace

// Qt reads GIF but cannot write it: quantise to 256 colours with libimagequant
// (dithered) and write one frame with giflib.
QByteArray encodeGif(const QImage &picture, QString *error)
{
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    const int w = rgba.width();
    const int h = rgba.height();
    if (w > 65535 || h > 65535) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "GIF图片的宽和高不能超过65535像素");
        return {};
    }
    std::vector<const unsigned char *> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[size_t(y)] = rgba.constScanLine(y);

    liq_attr *attr = liq_attr_create();
    liq_set_speed(attr, 8);
    liq_image *image = liq_image_create_rgba_rows(
        attr, reinterpret_cast<void **>(const_cast<unsigned char **>(rows.data())), w, h, 0);
    liq_result *result = nullptr;
    std::vector<unsigned char> indexed(size_t(w) * size_t(h));
    QByteArray bytes;
    if (!image || liq_image_quantize(image, attr, &result) != LIQ_OK) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "GIF调色板生成失败");
    } else {
        liq_set_dithering_level(result, 1.0f);
        liq_write_remapped_image(result, image, indexed.data(), indexed.size());
        const liq_palette *palette = liq_get_palette(result);

        GifColorType colours[256] = {};
        for (unsigned i = 0; i < palette->count; ++i)
            colours[i] = {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
        ColorMapObject *map = GifMakeMapObject(256, colours);

        int gifError = 0;
        GifFileType *gif = EGifOpen(&bytes, appendToArray, &gifError);
        bool ok = gif && map;
        ok = ok && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
        ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < h; ++y)
            ok = EGifPutLine(gif, indexed.data() + size_t(y) * size_t(w), w) == GIF_OK;
        if (gif)
            EGifCloseFile(gif, &gifError);
        GifFreeMapObject(map);
        if (!ok) {
            bytes.clear();
            if (error)
                *error = QCoreApplication::translate("tuvo", "GIF编码失败:")
                    + QString::fromLatin1(GifErrorString(gifError));
        }
    }
    if (result)
        liq_result_destroy(result);
    if (image)
        liq_image_destroy(image);
    liq_attr_destroy(attr);
    return bytes;
}
