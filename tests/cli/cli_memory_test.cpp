// tuvo-cli --max-memory against pictures made to cost memory: the peak resident
// memory of the whole run, as the kernel counted it, stays within the limit plus
// the program's own base, whatever -j is.
#include "support/external_tools.h"
#include "support/test_files.h"
#include "support/tuvo_cli.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr qint64 kBaseMiB = 80; // Qt, fonts and libraries before any picture
// AddressSanitizer's shadow memory and quarantine make resident sizes meaningless.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeaksMeaningful = false;
#else
constexpr bool kPeaksMeaningful = true;
#endif

struct MeasuredRun {
    int exitCode = -1;
    qint64 peakMiB = -1;
    QString err;
};

// Runs tuvo-cli under a small Python parent that reports its child's peak
// resident memory (getrusage of the children, as /usr/bin/time does).
MeasuredRun runMeasured(const QStringList &args)
{
    const CliRun python = runTuvoCli(args,
        {.launcher = {"python3", "-c",
             "import resource, subprocess, sys\n"
             "r = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL)\n"
             "print(r.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024)\n"},
            .timeoutMs = 300000});
    const QStringList words = python.out.split(' ');
    return {words.value(0, "-1").toInt(), words.value(1, "-1").toLongLong(), python.err};
}

// A HEIC whose primary item is a grid of tiles x tiles copies of one tile of
// heif-enc's, while the grid's own ispe says 100 x 100.
const char *const kHostileGrid = R"PY(
import struct, sys
src, dst, tiles, side = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
data = open(src, 'rb').read()
def boxes(start, end):
    pos = start
    while pos + 8 <= end:
        size, kind = struct.unpack('>I4s', data[pos:pos + 8])
        header = 8
        if size == 1:
            size, header = struct.unpack('>Q', data[pos + 8:pos + 16])[0], 16
        yield kind, pos, pos + header, pos + (size or end - pos)
        pos += size or end - pos
top = {k: (s, p, e) for k, s, p, e in boxes(0, len(data))}
meta = {k: (s, p, e) for k, s, p, e in boxes(top[b'meta'][1] + 4, top[b'meta'][2])}
ipco = [b for b in boxes(meta[b'iprp'][1], meta[b'iprp'][2]) if b[0] == b'ipco'][0]
hvcc = [data[s:e] for k, s, p, e in boxes(ipco[2], ipco[3]) if k == b'hvcC'][0]
tile = data[top[b'mdat'][1]:top[b'mdat'][2]]
def box(kind, body): return struct.pack('>I', 8 + len(body)) + kind + body
def full(kind, version, flags, body): return box(kind, struct.pack('>I', version << 24 | flags) + body)
n = tiles * tiles
ids = range(2, n + 2)
def meta_box(tile_offset):
    infe = [full(b'infe', 2, 0, struct.pack('>HH', 1, 0) + b'grid\0')]
    infe += [full(b'infe', 2, 1, struct.pack('>HH', i, 0) + b'hvc1\0') for i in ids]
    iloc = struct.pack('>BBH', 0x44, 0, n + 1) + struct.pack('>HHHHII', 1, 1, 0, 1, 0, 12)
    iloc += b''.join(struct.pack('>HHHHII', i, 0, 0, 1, tile_offset, len(tile)) for i in ids)
    ipco = box(b'ipco', hvcc + full(b'ispe', 0, 0, struct.pack('>II', side, side))
               + full(b'ispe', 0, 0, struct.pack('>II', 100, 100)))
    ipma = struct.pack('>I', n + 1) + struct.pack('>HBB', 1, 1, 3)
    ipma += b''.join(struct.pack('>HBBB', i, 2, 0x81, 2) for i in ids)
    grid = struct.pack('>BBBBII', 0, 1, tiles - 1, tiles - 1, tiles * side, tiles * side)
    return full(b'meta', 0, 0, full(b'hdlr', 0, 0, b'\0' * 4 + b'pict' + b'\0' * 13)
        + full(b'pitm', 0, 0, struct.pack('>H', 1))
        + full(b'iinf', 0, 0, struct.pack('>H', n + 1) + b''.join(infe))
        + full(b'iref', 0, 0, box(b'dimg', struct.pack('>HH', 1, n) + b''.join(struct.pack('>H', i) for i in ids)))
        + box(b'iprp', ipco + full(b'ipma', 0, 0, ipma))
        + full(b'iloc', 1, 0, iloc) + box(b'idat', grid))
ftyp = box(b'ftyp', b'heic' + b'\0' * 4 + b'mif1heic')
offset = len(ftyp) + len(meta_box(0)) + 8
open(dst, 'wb').write(ftyp + meta_box(offset) + box(b'mdat', tile))
)PY";

} // namespace

// A grid whose ispe understates it is refused before a tile is decoded, and so
// is a WebP header that declares a huge canvas: the run stays small.
TEST(CliMemory, DeclaredSizesAreCheckedBeforeDecoding)
{
    if (const QString missing = missingTool({"heif-enc", "python3"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QString tilePng = dir.filePath(QStringLiteral("tile.png"));
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(Qt::darkCyan);
    ASSERT_TRUE(tile.save(tilePng));
    const QString tileHeic = dir.filePath(QStringLiteral("tile.heic"));
    ASSERT_TRUE(runProgram(QStringLiteral("heif-enc"), {"-q", "50", tilePng, "-o", tileHeic}));
    const QString hostile = dir.filePath(QStringLiteral("hostile.heic"));
    ASSERT_TRUE(runProgram(QStringLiteral("python3"), {"-c", kHostileGrid, tileHeic, hostile, "100", "256"}));
    const QString honest = dir.filePath(QStringLiteral("honest.heic")); // 512 x 512, within the limit
    ASSERT_TRUE(runProgram(QStringLiteral("python3"), {"-c", kHostileGrid, tileHeic, honest, "2", "256"}));
    // 38 bytes that declare 12000 x 12000.
    QByteArray webp = QByteArray("RIFF") + QByteArray::fromHex("1e000000") + "WEBPVP8X"
        + QByteArray::fromHex("0a000000"
                              "00000000"
                              "df2e00"
                              "df2e00");
    const QString hugeWebp = dir.filePath(QStringLiteral("huge.webp"));
    ASSERT_TRUE(writeFile(hugeWebp, webp));

    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const MeasuredRun run = runMeasured({"-j", "1", "--max-memory", "16", "-f", "png", "--size", "original",
        "-o", out, hostile, hugeWebp, honest});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("25600"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("12000"))) << run.err.toStdString();
    if (kPeaksMeaningful) {
        EXPECT_LE(run.peakMiB, 16 + kBaseMiB);
    }
    EXPECT_FALSE(QImage(QDir(out).filePath(QStringLiteral("honest.png"))).isNull());
}

// One budget for the run: pictures wait for memory instead of exceeding it,
// whatever -j is; a picture that alone needs more is refused.
TEST(CliMemory, TheLimitBoundsTheWholeRun)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in"));
    QDir().mkpath(in);
    QImage big(3000, 2500, QImage::Format_RGB32);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(big.save(QStringLiteral("%1/p%2.png").arg(in).arg(i), nullptr, 10));
    // 50 MB of XMP in a small PNG.
    const QString xmpPng = dir.filePath(QStringLiteral("xmp.png"));
    {
        QImage small(64, 64, QImage::Format_RGB32);
        small.fill(Qt::gray);
        small.setText(QStringLiteral("XML:com.adobe.xmp"),
            QStringLiteral("<x:xmpmeta xmlns:x='adobe:ns:meta/'>") + QString(50 << 20, QLatin1Char('x'))
                + QStringLiteral("</x:xmpmeta>"));
        ASSERT_TRUE(small.save(xmpPng));
    }
    for (const char *jobs : {"1", "4"}) {
        const QString out = dir.filePath(QStringLiteral("out-") + jobs);
        QDir().mkpath(out);
        const MeasuredRun run
            = runMeasured({"-j", jobs, "--max-memory", "100", "-f", "png", "-W", "800", "-o", out, in});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 4);
        if (kPeaksMeaningful) {
            EXPECT_LE(run.peakMiB, 100 + kBaseMiB) << "-j " << jobs;
        }
    }
    // At its own size the picture, its surface and the encoder's copy need more than 100 MiB.
    const QString alone = dir.filePath(QStringLiteral("alone"));
    QDir().mkpath(alone);
    MeasuredRun run = runMeasured({"-j", "4", "--max-memory", "100", "-f", "png", "--size", "original", "-o",
        alone, in + QStringLiteral("/p0.png"), xmpPng});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("3000"))) << run.err.toStdString();
    if (kPeaksMeaningful) {
        EXPECT_LE(run.peakMiB, 100 + kBaseMiB);
    }
}
