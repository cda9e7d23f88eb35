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

// How many sensor pixels a side make one decoded pixel: the largest of 2, 4 and 8
// that still gives minimumStored, or 1 (a full demosaic) when even 2 is too many.
// An invalid minimum asks for the whole picture.
int bayerStep(QSize sensor, QSize minimumStored)
{
    int step = 1;
    while (step < 8 && minimumStored.isValid() && minimumStored.width() <= sensor.width() / (2 * step)
        && minimumStored.height() <= sensor.height() / (2 * step))
        step *= 2;
    return step;
}

// Runs rows(from, to) over [0, count) in two halves, the upper one on a second
// thread: a single picture is not left to one core.
template<typename Rows> void inTwoHalves(int count, const Rows &rows)
{
    auto upper = std::async(std::launch::async, rows, 0, count / 2);
    rows(count / 2, count);
    upper.wait();
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

// What turns a block of the Bayer mosaic into one pixel.
struct BayerDevelop {
    const ushort *first = nullptr; // the top-left visible sample
    size_t pitch = 0; // samples from one sensor row to the next
    const ushort *level[4] {}; // per quad site: sample to black-free, balanced value
    int weight[3][4] {}; // per output colour and quad site, in 1/1024ths
    const uchar *shade = nullptr; // the sRGB curve of a 16-bit linear value
};

// Rows [from, to) of the reduced picture, each pixel from N x N quads: every quad
// site averaged over the block in linear light, then one matrix and the curve.
template<int N> void developRows(const BayerDevelop &d, QImage &image, int from, int to)
{
    constexpr int shift = N == 1 ? 0 : N == 2 ? 2 : 4;
    constexpr int half = shift ? 1 << (shift - 1) : 0;
    // Locals, so the stores to the picture cannot be taken to change them.
    const ushort *const l0 = d.level[0], *const l1 = d.level[1];
    const ushort *const l2 = d.level[2], *const l3 = d.level[3];
    const int r0 = d.weight[0][0], r1 = d.weight[0][1], r2 = d.weight[0][2], r3 = d.weight[0][3];
    const int g0 = d.weight[1][0], g1 = d.weight[1][1], g2 = d.weight[1][2], g3 = d.weight[1][3];
    const int b0 = d.weight[2][0], b1 = d.weight[2][1], b2 = d.weight[2][2], b3 = d.weight[2][3];
    const uchar *const shade = d.shade;
    const size_t pitch = d.pitch;
    const auto shown = [shade](int v) {
        return shade[v <= 0 ? 0 : v >= (65535 << 10) ? 65535 : v >> 10];
    };
    const int w = image.width();
    for (int y = from; y < to; ++y) {
        const ushort *block = d.first + size_t(2 * N * y) * pitch;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x, block += 2 * N) {
            int v0 = 0, v1 = 0, v2 = 0, v3 = 0;
            for (int j = 0; j < N; ++j) {
                const ushort *top = block + size_t(2 * j) * pitch;
                const ushort *bottom = top + pitch;
                for (int i = 0; i < N; ++i) {
                    v0 += l0[top[2 * i]];
                    v1 += l1[top[2 * i + 1]];
                    v2 += l2[bottom[2 * i]];
                    v3 += l3[bottom[2 * i + 1]];
                }
            }
            v0 = (v0 + half) >> shift;
            v1 = (v1 + half) >> shift;
            v2 = (v2 + half) >> shift;
            v3 = (v3 + half) >> shift;
            out[x] = qRgb(shown(r0 * v0 + r1 * v1 + r2 * v2 + r3 * v3),
                shown(g0 * v0 + g1 * v1 + g2 * v2 + g3 * v3), shown(b0 * v0 + b1 * v1 + b2 * v2 + b3 * v3));
        }
    }
}

// A reduced picture straight from the Bayer mosaic, each step x step block of the
// sensor one pixel: black taken off, white balanced, clipped, turned into sRGB and
// put through the curve in one pass. At step 2 (one quad, its two greens averaged)
// this is what LibRaw's own half-size development computes, without its four
// 16-bit planes and three passes over them; at 4 and 8 the quads of a block are
// averaged first, the way a JPEG is decoded DCT-scaled. False for sensors it does
// not fit (X-Trans, Foveon, Fuji's SuperCCD, four-colour filters): LibRaw
// develops those itself.
bool developReduced(LibRaw &raw, int step, QImage &image)
{
    const libraw_image_sizes_t &s = raw.imgdata.sizes;
    const libraw_colordata_t &c = raw.imgdata.color;
    const unsigned filters = raw.imgdata.idata.filters;
    const ushort *mosaic = raw.imgdata.rawdata.raw_image;
    if (!mosaic || filters < 1000 || raw.imgdata.idata.colors != 3 || s.pixel_aspect != 1
        || raw.imgdata.idata.maker_index == LIBRAW_CAMERAMAKER_Fujifilm || s.width < step || s.height < step
        || s.raw_pitch < 2u * (s.left_margin + s.width) || s.raw_height < s.top_margin + s.height)
        return false;
    // Only a pattern (and a black pattern) that repeats every two rows and columns.
    if (filters != (filters & 0xff) * 0x01010101u || c.cblack[4] > 2 || c.cblack[5] > 2)
        return false;
    const int w = s.width / step, h = s.height / step;
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
    BayerDevelop d;
    d.pitch = s.raw_pitch / 2;
    d.first = mosaic + size_t(s.top_margin) * d.pitch + s.left_margin;
    // The brightest sample, when near the stated white, is where the sensor clips.
    ushort brightestOf[2] = {0, 0};
    inTwoHalves(step * h, [&](int from, int to) {
        ushort brightest = 0;
        for (int row = from; row < to; ++row) {
            const ushort *line = d.first + size_t(row) * d.pitch;
            for (int col = 0; col < step * w; ++col)
                brightest = qMax(brightest, line[col]);
        }
        brightestOf[from == 0 ? 0 : 1] = brightest;
    });
    const ushort brightest = qMax(brightestOf[0], brightestOf[1]);
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
    for (int q = 0; q < 4; ++q) {
        const int r = q / 2, k = q % 2;
        const int channel = site(r, k);
        const float range = white - black[r][k];
        const float scale = range > 0 ? mul[channel] / least * 65535.f / range : 0;
        level[q].resize(size_t(brightest) + 1);
        for (size_t v = 0; v < level[q].size(); ++v)
            level[q][v] = ushort(qBound(0.f, (float(v) - black[r][k]) * scale, 65535.f));
        d.level[q] = level[q].data();
        const int column = channel == 3 ? 1 : channel;
        for (int o = 0; o < 3; ++o)
            d.weight[o][q] = int(std::lround(c.rgb_cam[o][column] * (column == 1 ? 512 : 1024)));
    }
    d.shade = srgbCurve().data();
    image = QImage(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return true;
    inTwoHalves(h, [&](int from, int to) {
        if (step == 2)
            developRows<1>(d, image, from, to);
        else if (step == 4)
            developRows<2>(d, image, from, to);
        else
            developRows<4>(d, image, from, to);
    });
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

bool looksLikeCameraRaw(const uchar *data, qint64 size)
{
    const RawFile file(data, size);
    const libraw_iparams_t &id = file.raw->imgdata.idata;
    return file.rc == LIBRAW_SUCCESS && id.make[0] && (id.filters || id.dng_version);
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
    const int step = bayerStep(header.sensorSize, storedMinimum(header, minimumSize));
    p.half_size = step > 1 ? 1 : 0;

    int rc = file.raw->unpack();
    if (rc == LIBRAW_SUCCESS && step > 1 && !file.trouble.truncated && !file.trouble.damaged) {
        QImage image;
        if (developReduced(*file.raw, step, image)) {
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
    // At most half: LibRaw's own half-size development stands in for a smaller
    // step on sensors ours does not fit.
    need.decodedSize = bayerStep(sensor, storedMinimum(header, minimumSize)) > 1
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
