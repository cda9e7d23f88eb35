#include "imaging/heif_codec.h"

#include "fs/file_names.h"
#include "imaging/heif_boxes.h"
#include "imaging/picture_limits.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <libheif/heif.h>
#include <memory>

namespace {

using Context = std::unique_ptr<heif_context, void (*)(heif_context *)>;
using Handle = std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle *)>;
using Image = std::unique_ptr<heif_image, void (*)(const heif_image *)>;

// Limits for hostile files: no side beyond this, whatever a box declares.
constexpr int kMaxSide = 1 << 15;

QString heifError(const heif_error &e)
{
    return QCoreApplication::translate("tuvo", "HEIF数据有误:")
        + QString::fromUtf8(e.message ? e.message : "").trimmed(); // libheif ends some with a newline
}

Context openContext(const uchar *data, qint64 size, QString *error)
{
    Context ctx(heif_context_alloc(), heif_context_free);
    if (!ctx) {
        *error = QCoreApplication::translate("tuvo", "HEIF解码器无法启动");
        return Context(nullptr, heif_context_free);
    }
    // libheif checks each side alone; a side longer than a 1024-pixel strip of
    // the memory limit holds is refused there, the area is checked before decoding.
    const qint64 side = pictureMemoryLimit() / (4 * 1024);
    heif_context_set_maximum_image_size_limit(ctx.get(), int(std::clamp<qint64>(side, 1024, kMaxSide)));
    const heif_error e = heif_context_read_from_memory_without_copy(ctx.get(), data, size_t(size), nullptr);
    if (e.code != heif_error_Ok) {
        *error = heifError(e);
        return Context(nullptr, heif_context_free);
    }
    return ctx;
}

Handle primaryOf(heif_context *ctx, QString *error)
{
    heif_image_handle *h = nullptr;
    const heif_error e = heif_context_get_primary_image_handle(ctx, &h);
    if (e.code != heif_error_Ok)
        *error = heifError(e);
    return Handle(h, heif_image_handle_release);
}

QByteArray iccOf(const heif_image_handle *h)
{
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(h);
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC)
        return {};
    QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(h)), Qt::Uninitialized);
    if (icc.isEmpty() || heif_image_handle_get_raw_color_profile(h, icc.data()).code != heif_error_Ok)
        return {};
    return icc;
}

QByteArray metadataBlock(const heif_image_handle *h, const char *type)
{
    heif_item_id ids[8];
    const int n = heif_image_handle_get_list_of_metadata_block_IDs(h, type, ids, 8);
    for (int i = 0; i < n; ++i) {
        const size_t size = heif_image_handle_get_metadata_size(h, ids[i]);
        if (size == 0 || size > 64u * 1024 * 1024)
            continue;
        QByteArray block(qsizetype(size), Qt::Uninitialized);
        if (heif_image_handle_get_metadata(h, ids[i], block.data()).code == heif_error_Ok)
            return block;
    }
    return {};
}

} // namespace

bool looksLikeHeif(const uchar *data, qint64 size)
{
    if (size < 12 || std::memcmp(data + 4, "ftyp", 4) != 0)
        return false;
    const heif_filetype_result kind = heif_check_filetype(data, int(qMin<qint64>(size, 64)));
    return kind == heif_filetype_yes_supported || kind == heif_filetype_maybe;
}

QSize probeHeifSize(const uchar *data, qint64 size, QString *error)
{
    QString why;
    const Context ctx = openContext(data, size, &why);
    const Handle primary = ctx ? primaryOf(ctx.get(), &why) : Handle(nullptr, heif_image_handle_release);
    if (!primary) {
        if (error)
            *error = why;
        return {};
    }
    return QSize(heif_image_handle_get_width(primary.get()), heif_image_handle_get_height(primary.get()));
}

LoadedPicture decodeHeif(const uchar *data, qint64 size, QSize minimumSize)
{
    LoadedPicture out;
    // A grid's ispe may claim 100 x 100 for a picture its tiles make 25600 x 25600.
    const QSize declared = readHeifDeclaredSizes(data, size).largest;
    if (!declared.isEmpty() && !pictureFitsLimit(declared, &out.error)) {
        out.originalSize = declared;
        return out;
    }
    const Context ctx = openContext(data, size, &out.error);
    if (!ctx)
        return out;
    const Handle primary = primaryOf(ctx.get(), &out.error);
    if (!primary)
        return out;
    out.originalSize
        = QSize(heif_image_handle_get_width(primary.get()), heif_image_handle_get_height(primary.get()));
    if (!pictureFitsLimit(out.originalSize, &out.error))
        return out;
    out.iccProfile = iccOf(primary.get());

    // The preview and the thumbnails rarely need more than the file's own thumbnail.
    Handle chosen(nullptr, heif_image_handle_release);
    heif_item_id thumbId = 0;
    if (minimumSize.isValid()
        && heif_image_handle_get_list_of_thumbnail_IDs(primary.get(), &thumbId, 1) == 1) {
        heif_image_handle *t = nullptr;
        if (heif_image_handle_get_thumbnail(primary.get(), thumbId, &t).code == heif_error_Ok) {
            Handle thumb(t, heif_image_handle_release);
            if (heif_image_handle_get_width(t) >= minimumSize.width()
                && heif_image_handle_get_height(t) >= minimumSize.height())
                chosen = std::move(thumb);
        }
    }
    const heif_image_handle *source = chosen ? chosen.get() : primary.get();
    const bool alpha = heif_image_handle_has_alpha_channel(source);
    heif_image *decoded = nullptr;
    const heif_error e = heif_decode_image(source, &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr);
    const Image image(decoded, heif_image_release);
    if (e.code != heif_error_Ok || !image) {
        out.error = heifError(e);
        return out;
    }
    int stride = 0;
    const uint8_t *pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || w <= 0 || h <= 0) {
        out.error = QCoreApplication::translate("tuvo", "HEIF图片无法解码");
        return out;
    }
    const QImage view(pixels, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    out.image = view.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (!chosen)
        out.originalSize = out.image.size(); // the transforms are applied now
    return out;
}

HeifMetadata readHeifMetadata(const QString &path)
{
    HeifMetadata m;
    QFile file;
    if (!openRegularFile(path, file))
        return m;
    const qint64 size = file.size();
    const uchar *data = size > 0 ? file.map(0, size) : nullptr;
    if (!data || !looksLikeHeif(data, size))
        return m;
    QString error;
    const Context ctx = openContext(data, size, &error);
    const Handle primary = ctx ? primaryOf(ctx.get(), &error) : Handle(nullptr, heif_image_handle_release);
    if (!primary)
        return m;
    // The Exif item starts with the offset of the TIFF header behind its first four bytes.
    const QByteArray exif = metadataBlock(primary.get(), "Exif");
    if (exif.size() > 4) {
        const quint32 offset = (quint32(uchar(exif[0])) << 24) | (quint32(uchar(exif[1])) << 16)
            | (quint32(uchar(exif[2])) << 8) | quint32(uchar(exif[3]));
        if (offset < quint32(exif.size() - 4))
            m.exif = exif.mid(4 + offset);
    }
    m.xmp = metadataBlock(primary.get(), "mime");
    m.icc = iccOf(primary.get());
    m.ok = true;
    return m;
}

bool heifEncoderAvailable(bool hevc)
{
    return heif_have_encoder_for_format(hevc ? heif_compression_HEVC : heif_compression_AV1);
}

QByteArray encodeHeif(
    const QImage &picture, int quality, bool hevc, const HeifMetadata &metadata, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const Context ctx(heif_context_alloc(), heif_context_free);
    heif_encoder *rawEncoder = nullptr;
    if (!ctx
        || heif_context_get_encoder_for_format(
               ctx.get(), hevc ? heif_compression_HEVC : heif_compression_AV1, &rawEncoder)
                .code
            != heif_error_Ok)
        return fail(hevc ? QCoreApplication::translate("tuvo", "没有HEVC编码器")
                         : QCoreApplication::translate("tuvo", "没有AV1编码器"));
    const std::unique_ptr<heif_encoder, void (*)(heif_encoder *)> encoder(rawEncoder, heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder.get(), qBound(0, quality, 100));
    if (!hevc)
        heif_encoder_set_parameter_integer(encoder.get(), "speed", 8); // aom: 6 is far slower for little gain
    // From 90 up colour keeps full resolution, as the JPEG writer does.
    heif_encoder_set_parameter_string(encoder.get(), "chroma", quality >= 90 ? "444" : "420");

    heif_image *raw = nullptr;
    if (heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &raw)
            .code
        != heif_error_Ok)
        return fail(QCoreApplication::translate("tuvo", "内存不足"));
    const Image image(raw, heif_image_release);
    heif_image_add_plane(raw, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(raw, heif_channel_interleaved, &stride);
    if (!plane)
        return fail(QCoreApplication::translate("tuvo", "内存不足"));
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + qsizetype(y) * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    if (!metadata.icc.isEmpty())
        heif_image_set_raw_color_profile(raw, "prof", metadata.icc.constData(), size_t(metadata.icc.size()));

    heif_image_handle *rawHandle = nullptr;
    heif_error e = heif_context_encode_image(ctx.get(), raw, encoder.get(), nullptr, &rawHandle);
    const Handle handle(rawHandle, heif_image_handle_release);
    if (e.code != heif_error_Ok)
        return fail(heifError(e));
    if (!metadata.exif.isEmpty())
        heif_context_add_exif_metadata(
            ctx.get(), handle.get(), metadata.exif.constData(), int(metadata.exif.size()));
    if (!metadata.xmp.isEmpty())
        heif_context_add_XMP_metadata(
            ctx.get(), handle.get(), metadata.xmp.constData(), int(metadata.xmp.size()));

    QByteArray bytes;
    heif_writer writer {};
    writer.writer_api_version = 1;
    writer.write = [](heif_context *, const void *data, size_t size, void *userdata) {
        static_cast<QByteArray *>(userdata)->append(static_cast<const char *>(data), qsizetype(size));
        return heif_error {heif_error_Ok, heif_suberror_Unspecified, "ok"};
    };
    e = heif_context_write(ctx.get(), &writer, &bytes);
    if (e.code != heif_error_Ok)
        return fail(heifError(e));
    return bytes;
}
