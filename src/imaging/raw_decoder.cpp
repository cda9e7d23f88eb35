#include "imaging/raw_decoder.h"

#include "fs/file_names.h"
#include "imaging/picture_limits.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <future>
#include <libraw/libraw.h>
#include <memory>
#include <vector>

namespace {

// LibRaw reports bad data through a callback (and prints it when there is none):
// offset -1 is the end of the file met early.
struct DataTrouble {
    bool truncated = false;
    bool damaged = false;
};

void noteDataError(void *data, const char *, const int offset)
{
    auto *trouble = static_cast<DataTrouble *>(data);
    (offset < 0 ? trouble->truncated : trouble->damaged) = true;
}

// A reader of one file, opened from the mapped bytes.
struct RawFile {
    std::unique_ptr<LibRaw> raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
    DataTrouble trouble;
    int rc = LIBRAW_SUCCESS;

    RawFile(const uchar *data, qint64 size)
    {
        raw->set_dataerror_handler(noteDataError, &trouble);
        // LibRaw refuses its own buffers beyond this; ours are checked before unpacking.
        raw->imgdata.params.max_raw_memory_mb
            = unsigned(qBound(qint64(64), pictureMemoryLimit() / (1024 * 1024), qint64(1) << 20));
        rc = raw->open_buffer(const_cast<uchar *>(data), size_t(size));
    }
    libraw_image_sizes_t &sizes() const { return raw->imgdata.sizes; }
};

QString rawError(int rc, const DataTrouble &trouble)
{
    if (trouble.truncated || rc == LIBRAW_IO_ERROR)
        return QCoreApplication::translate("tuvo", "图片数据不完整(文件被截断)");
    switch (rc) {
    case LIBRAW_FILE_UNSUPPORTED:
    case LIBRAW_REQUEST_FOR_NONEXISTENT_IMAGE:
        return QCoreApplication::translate("tuvo", "无法识别的图片格式");
    case LIBRAW_UNSUFFICIENT_MEMORY:
    case LIBRAW_MEMPOOL_OVERFLOW:
        return QCoreApplication::translate("tuvo", "内存不足,无法解码图片");
    default:
        return QCoreApplication::translate("tuvo", "图片数据有误或不完整");
    }
}

// LibRaw keeps the EXIF orientation as dcraw's flip bits (4: swap rows and
// columns, 2: mirror rows, 1: mirror columns).
Turn turnForFlip(int flip)
{
    static const int orientations[8] = {1, 2, 4, 3, 5, 8, 6, 7};
    return turnForOrientation(orientations[flip & 7]);
}

RawHeader headerOf(const RawFile &file)
{
    RawHeader header;
    if (file.rc != LIBRAW_SUCCESS) {
        header.error = rawError(file.rc, file.trouble);
        return header;
    }
    const libraw_image_sizes_t &s = file.sizes();
    header.sensorSize = QSize(s.width, s.height);
    header.rawPixels = qint64(s.raw_width) * s.raw_height;
    header.rawSamples = file.raw->imgdata.idata.filters ? 1 : qMax(1, int(file.raw->imgdata.idata.colors));
    header.turn = turnForFlip(s.flip);
    if (header.sensorSize.isEmpty())
        header.error = QCoreApplication::translate("tuvo", "图片数据有误或不完整");
    return header;
}

bool halfSizeServes(QSize sensor, QSize minimumStored)
{
    return minimumStored.isValid() && minimumStored.width() <= sensor.width() / 2
        && minimumStored.height() <= sensor.height() / 2;
}

// The sRGB curve from LibRaw's 16-bit linear values to 8 bits, as its own output
// makes it without brightening: 65536 is white, the result is truncated.
const std::array<uchar, 65536> &srgbCurve()
{
    static const std::array<uchar, 65536> curve = [] {
        std::array<uchar, 65536> c {};
        for (int v = 0; v < 65536; ++v) {
            const double linear = v / 65536.0;
            const double shown
                = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
            c[size_t(v)] = uchar(qBound(0, int(shown * 256), 255));
        }
        return c;
    }();
    return curve;
}

// Half size straight from the Bayer mosaic: each 2 x 2 quad gives one pixel (its
// two greens averaged), black taken off, white balanced, clipped, turned into
// sRGB and put through the curve in one pass. This is what LibRaw's own
// half-size development computes, without its four 16-bit planes and three
// passes over them. False for sensors it does not fit (X-Trans, Foveon, Fuji's
// SuperCCD, four-colour filters): LibRaw develops those itself.
bool developHalfSize(LibRaw &raw, QImage &image)
{
    const libraw_image_sizes_t &s = raw.imgdata.sizes;
    const libraw_colordata_t &c = raw.imgdata.color;
    const unsigned filters = raw.imgdata.idata.filters;
    const ushort *mosaic = raw.imgdata.rawdata.raw_image;
    if (!mosaic || filters < 1000 || raw.imgdata.idata.colors != 3 || s.pixel_aspect != 1
        || raw.imgdata.idata.maker_index == LIBRAW_CAMERAMAKER_Fujifilm || s.width < 2 || s.height < 2
        || s.raw_pitch < 2u * (s.left_margin + s.width) || s.raw_height < s.top_margin + s.height)
        return false;
    // Only a pattern (and a black pattern) that repeats every two rows and columns.
    if (filters != (filters & 0xff) * 0x01010101u || c.cblack[4] > 2 || c.cblack[5] > 2)
        return false;
    const int w = s.width / 2, h = s.height / 2;
    const auto site = [filters](int row, int col) {
        return int(filters >> ((((row << 1) & 14) | (col & 1)) << 1) & 3);
    };
    // Black per quad site: the overall level, the per-colour one and a repeating pattern.
    float black[2][2];
    for (int r = 0; r < 2; ++r) {
        for (int k = 0; k < 2; ++k) {
            unsigned b = c.black + c.cblack[site(r, k)];
            if (c.cblack[4] && c.cblack[5])
                b += c.cblack[6 + (r % c.cblack[4]) * c.cblack[5] + k % c.cblack[5]];
            black[r][k] = float(b);
        }
    }
    const size_t pitch = s.raw_pitch / 2;
    const ushort *first = mosaic + size_t(s.top_margin) * pitch + s.left_margin;
    // The brightest sample, when near the stated white, is where the sensor clips.
    ushort brightest = 0;
    for (int row = 0; row < 2 * h; ++row) {
        const ushort *line = first + size_t(row) * pitch;
        brightest = qMax(brightest, *std::max_element(line, line + 2 * w));
    }
    float white = float(c.maximum);
    if (brightest > 0 && brightest < c.maximum && brightest > 0.75 * c.maximum)
        white = float(brightest);
    float mul[4];
    const bool cameraBalance = c.cam_mul[0] > 0 && c.cam_mul[2] > 0;
    for (int k = 0; k < 4; ++k)
        mul[k] = cameraBalance ? c.cam_mul[k] : c.pre_mul[k];
    if (mul[1] <= 0)
        mul[1] = 1;
    if (mul[3] <= 0)
        mul[3] = mul[1];
    const float least = qMin(qMin(mul[0], mul[1]), qMin(mul[2], mul[3]));
    if (!(least > 0))
        return false;
    // Per quad site: a table from the sample to its black-free, balanced value,
    // clipped at 65535; then each site's share of each output colour (a green
    // counts half) as a weight in 1/1024ths.
    std::vector<ushort> level[4];
    int weight[3][4];
    for (int q = 0; q < 4; ++q) {
        const int r = q / 2, k = q % 2;
        const int channel = site(r, k);
        const float range = white - black[r][k];
        const float scale = range > 0 ? mul[channel] / least * 65535.f / range : 0;
        level[q].resize(size_t(brightest) + 1);
        for (size_t v = 0; v < level[q].size(); ++v)
            level[q][v] = ushort(qBound(0.f, (float(v) - black[r][k]) * scale, 65535.f));
        const int column = channel == 3 ? 1 : channel;
        for (int o = 0; o < 3; ++o)
            weight[o][q] = int(std::lround(c.rgb_cam[o][column] * (column == 1 ? 512 : 1024)));
    }
    image = QImage(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return true;
    const std::array<uchar, 65536> &curve = srgbCurve();
    const auto rows = [&](int from, int to) {
        // Locals, so the stores to the picture cannot be taken to change them.
        const ushort *const l0 = level[0].data(), *const l1 = level[1].data();
        const ushort *const l2 = level[2].data(), *const l3 = level[3].data();
        const int r0 = weight[0][0], r1 = weight[0][1], r2 = weight[0][2], r3 = weight[0][3];
        const int g0 = weight[1][0], g1 = weight[1][1], g2 = weight[1][2], g3 = weight[1][3];
        const int b0 = weight[2][0], b1 = weight[2][1], b2 = weight[2][2], b3 = weight[2][3];
        const uchar *const shade = curve.data();
        const auto shown = [shade](int v) {
            return shade[v <= 0 ? 0 : v >= (65535 << 10) ? 65535 : v >> 10];
        };
        for (int y = from; y < to; ++y) {
            const ushort *top = first + size_t(2 * y) * pitch;
            const ushort *bottom = top + pitch;
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const int v0 = l0[top[2 * x]], v1 = l1[top[2 * x + 1]];
                const int v2 = l2[bottom[2 * x]], v3 = l3[bottom[2 * x + 1]];
                out[x] = qRgb(shown(r0 * v0 + r1 * v1 + r2 * v2 + r3 * v3),
                    shown(g0 * v0 + g1 * v1 + g2 * v2 + g3 * v3),
                    shown(b0 * v0 + b1 * v1 + b2 * v2 + b3 * v3));
            }
        }
    };
    // The upper half on a second thread: a single picture is not left to one core.
    auto upper = std::async(std::launch::async, rows, 0, h / 2);
    rows(h / 2, h);
    upper.wait();
    return true;
}

QSize storedMinimum(const RawHeader &header, QSize minimumSize)
{
    return swapsSides(header.turn) ? minimumSize.transposed() : minimumSize;
}

} // namespace

const QStringList &rawExtensions()
{
    static const QStringList extensions = {QStringLiteral("dng"), QStringLiteral("cr2"),
        QStringLiteral("cr3"), QStringLiteral("crw"), QStringLiteral("nef"), QStringLiteral("nrw"),
        QStringLiteral("arw"), QStringLiteral("srf"), QStringLiteral("sr2"), QStringLiteral("orf"),
        QStringLiteral("raf"), QStringLiteral("rw2"), QStringLiteral("rwl"), QStringLiteral("pef"),
        QStringLiteral("srw"), QStringLiteral("x3f"), QStringLiteral("3fr"), QStringLiteral("fff"),
        QStringLiteral("iiq"), QStringLiteral("mos"), QStringLiteral("mrw"), QStringLiteral("erf"),
        QStringLiteral("kdc"), QStringLiteral("dcr"), QStringLiteral("mef"), QStringLiteral("raw")};
    return extensions;
}

bool isRawFileName(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && rawExtensions().contains(name.mid(dot + 1).toLower());
}

RawHeader readRawHeader(const uchar *data, qint64 size)
{
    return headerOf(RawFile(data, size));
}

LoadedPicture decodeRaw(const uchar *data, qint64 size, QSize minimumSize, Turn *turn)
{
    LoadedPicture out;
    RawFile file(data, size);
    const RawHeader header = headerOf(file);
    *turn = header.turn;
    if (!header.error.isEmpty()) {
        out.error = header.error;
        return out;
    }
    const RawDecodeNeed need = rawDecodeNeed(header, minimumSize);
    out.originalSize = header.sensorSize;
    if (!pictureFitsLimit(need.decodedSize, &out.error))
        return out;

    libraw_output_params_t &p = file.raw->imgdata.params;
    p.use_camera_wb = 1;
    p.output_color = 1; // sRGB
    p.gamm[0] = 1 / 2.4; // the sRGB curve
    p.gamm[1] = 12.92;
    p.output_bps = 8;
    p.highlight = 0; // clip
    p.no_auto_bright = 1;
    p.user_flip = 0; // the loader turns it, as it does every other source
    p.half_size = halfSizeServes(header.sensorSize, storedMinimum(header, minimumSize)) ? 1 : 0;

    int rc = file.raw->unpack();
    if (rc == LIBRAW_SUCCESS && p.half_size && !file.trouble.truncated && !file.trouble.damaged) {
        QImage image;
        if (developHalfSize(*file.raw, image)) {
            if (image.isNull())
                out.error = QCoreApplication::translate("tuvo", "内存不足,无法解码图片");
            out.image = std::move(image);
            return out;
        }
    }
    if (rc == LIBRAW_SUCCESS && !file.trouble.truncated && !file.trouble.damaged)
        rc = file.raw->dcraw_process();
    if (rc != LIBRAW_SUCCESS || file.trouble.truncated || file.trouble.damaged) {
        out.error = rawError(rc == LIBRAW_SUCCESS ? LIBRAW_DATA_ERROR : rc, file.trouble);
        return out;
    }
    int errc = LIBRAW_SUCCESS;
    const std::unique_ptr<libraw_processed_image_t, void (*)(libraw_processed_image_t *)> developed(
        file.raw->dcraw_make_mem_image(&errc), LibRaw::dcraw_clear_mem);
    if (!developed || developed->type != LIBRAW_IMAGE_BITMAP || developed->bits != 8
        || (developed->colors != 3 && developed->colors != 1)) {
        out.error = rawError(developed ? LIBRAW_DATA_ERROR : errc, file.trouble);
        return out;
    }
    file.raw->recycle(); // the sensor data goes before the picture is copied out
    const int w = developed->width;
    const int h = developed->height;
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) {
        out.error = QCoreApplication::translate("tuvo", "内存不足,无法解码图片");
        return out;
    }
    const int colors = developed->colors;
    for (int y = 0; y < h; ++y) {
        const uchar *from = developed->data + qint64(y) * w * colors;
        auto *to = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x, from += colors)
            to[x] = colors == 3 ? qRgb(from[0], from[1], from[2]) : qRgb(from[0], from[0], from[0]);
    }
    if (!p.half_size)
        out.originalSize = image.size();
    out.image = std::move(image);
    return out;
}

RawDecodeNeed rawDecodeNeed(const RawHeader &header, QSize minimumSize)
{
    RawDecodeNeed need;
    const QSize sensor = header.sensorSize;
    need.decodedSize = halfSizeServes(sensor, storedMinimum(header, minimumSize))
        ? QSize((sensor.width() + 1) / 2, (sensor.height() + 1) / 2)
        : sensor;
    // The sensor's samples (16 bits each), four 16-bit channels per developed
    // pixel, LibRaw's 8-bit copy and the picture itself.
    const qint64 pixels = qint64(need.decodedSize.width()) * need.decodedSize.height();
    need.bytes = header.rawPixels * header.rawSamples * 2 + pixels * (8 + 3 + 4);
    return need;
}

QString rawShootingTime(const QString &path)
{
    QFile file;
    if (!openRegularFile(path, file) || file.size() <= 0)
        return {};
    const uchar *data = file.map(0, file.size());
    if (!data)
        return {};
    const RawFile raw(data, file.size());
    const time_t when = raw.rc == LIBRAW_SUCCESS ? raw.raw->imgdata.other.timestamp : 0;
    struct tm local { };
    if (when <= 0 || !localtime_r(&when, &local))
        return {};
    // LibRaw read the EXIF text as local time; giving it back as local time restores it.
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local);
    return QString::fromLatin1(text);
}
