// Outputs carry their source's metadata and colour profile as the job chooses.
// Sources are real files from ImageMagick and exiftool; outputs are read back with
// exiftool, colours compared with lcms2's transicc and ImageMagick.
#include "imaging/encoders.h"
#include "render/pipeline.h"
#include "run/writers.h"
#include "support/external_tools.h"
#include "support/test_files.h"
#include "support/tuvo_cli.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>
#include <lcms2.h>
#include <zlib.h>

namespace {

const QString kGhostscriptIcc = QStringLiteral("/usr/share/color/icc/ghostscript/");

QJsonObject tagsOf(const QString &path)
{
    QByteArray json;
    runProgram(QStringLiteral("exiftool"), {"-j", "-a", "-G1", "-n", path}, &json);
    return QJsonDocument::fromJson(json).array().at(0).toObject();
}

QByteArray iccMd5(const QString &path)
{
    QByteArray icc;
    runProgram(QStringLiteral("exiftool"), {"-b", "-ICC_Profile", path}, &icc);
    return icc.isEmpty() ? QByteArray() : QCryptographicHash::hash(icc, QCryptographicHash::Md5).toHex();
}

// Renders and writes one picture the way the batch run does; the output's path.
QString process(JobSettings job, const QString &source, const QString &outDir)
{
    QDir().mkpath(outDir);
    job.sOutDir = outDir;
    const RenderResult rendered = funImgDone(job, source);
    EXPECT_TRUE(rendered.ok()) << rendered.errorLines.join(QString()).toStdString();
    const WriteOutcome written = writeOutput(job, source, 0, rendered.surface);
    EXPECT_TRUE(written.written) << written.errorLine.toStdString();
    return written.path;
}

JobSettings jobWith(const QString &format, int metadata, int rotate, int colour = kKeepProfile)
{
    JobSettings job;
    job.sFormat = job.sOutExt = format;
    job.iMetadata = metadata;
    job.iRotateMode = rotate;
    job.iColorProfile = colour;
    return job;
}

QString flatPicture(const QString &path, const QString &colour)
{
    runProgram(QStringLiteral("convert"), {"-size", "300x200", "xc:" + colour, path});
    return path;
}

bool embedProfile(const QString &picture, const QString &icc)
{
    return runProgram(
        QStringLiteral("exiftool"), {"-q", "-overwrite_original", "-ICC_Profile<=" + icc, picture});
}

// Display P3: P3 primaries, D65, the sRGB tone curve.
QString writeDisplayP3(const QString &path)
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const cmsCIExyYTRIPLE primaries = {{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}};
    const double srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve *curve = cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    cmsToneCurve *curves[3] = {curve, curve, curve};
    cmsHPROFILE p3 = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsMLU *description = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(description, "en", "US", "Display P3");
    cmsWriteTag(p3, cmsSigProfileDescriptionTag, description);
    cmsSaveProfileToFile(p3, QFile::encodeName(path).constData());
    cmsMLUfree(description);
    cmsCloseProfile(p3);
    cmsFreeToneCurve(curve);
    return path;
}

// transicc's answer for one 8-bit colour, or an empty list.
QList<double> transicc(const QString &from, const QString &to, const QString &rgb)
{
    QProcess p;
    p.start(QStringLiteral("transicc"), {"-n", "-i", from, "-o", to});
    p.write(rgb.toLatin1() + "\n");
    p.closeWriteChannel();
    p.waitForFinished(30000);
    QList<double> values;
    for (const QByteArray &word : p.readAllStandardOutput().simplified().split(' ')) {
        bool ok = false;
        const double v = word.toDouble(&ok);
        if (ok)
            values << qBound(0.0, v, 255.0); // out of gamut: what an 8-bit picture can hold
    }
    return values.size() >= 3 ? values.mid(values.size() - 3) : QList<double>();
}

void expectNear(QRgb pixel, const QList<double> &expected, double tolerance, const char *what)
{
    ASSERT_EQ(expected.size(), 3) << what;
    EXPECT_NEAR(qRed(pixel), expected[0], tolerance) << what;
    EXPECT_NEAR(qGreen(pixel), expected[1], tolerance) << what;
    EXPECT_NEAR(qBlue(pixel), expected[2], tolerance) << what;
}

} // namespace

TEST(OutputMetadata, CameraPhotoKeepsWhatTheChoiceKeeps)
{
    if (const QString missing = missingTool({"convert", "exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QString thumb = dir.filePath("thumb.jpg");
    runProgram("convert", {"-size", "160x120", "xc:green", thumb});
    QStringList photos;
    for (const char *orientation : {"6", "8"}) {
        const QString photo = dir.filePath(QStringLiteral("camera%1.jpg").arg(orientation));
        runProgram("convert", {"-size", "600x400", "gradient:red-blue", photo});
        ASSERT_TRUE(runProgram("exiftool",
            {"-q", "-overwrite_original", "-Make=Canon", "-Model=EOS 5D",
                "-DateTimeOriginal=2014:05:01 10:20:30", "-GPSLatitude=48.1", "-GPSLatitudeRef=N",
                "-GPSLongitude=11.5", "-GPSLongitudeRef=E", "-GPSMapDatum=WGS-84", "-XMP-dc:Creator=Anna",
                "-XMP-photoshop:City=Munich", "-IPTC:Keywords=holiday", "-IPTC:City=Munich",
                "-ThumbnailImage<=" + thumb, QStringLiteral("-Orientation#=") + orientation,
                "-ExifImageWidth=600", "-ExifImageHeight=400", photo}));
        photos << photo;
    }

    for (const QString &photo : photos) {
        for (int choice : {kKeepMetadata, kKeepWithoutLocation, kStripMetadata}) {
            for (int rotate : {kRotateNone, kRotateAuto}) {
                const QString out = process(jobWith("jpg", choice, rotate), photo,
                    dir.filePath(QStringLiteral("out%1%2").arg(choice).arg(rotate)));
                const QJsonObject tags = tagsOf(out);
                const std::string what = QStringLiteral("%1 choice %2 rotate %3")
                                             .arg(photo)
                                             .arg(choice)
                                             .arg(rotate)
                                             .toStdString();
                const bool kept = choice != kStripMetadata;
                const bool location = choice == kKeepMetadata;
                EXPECT_EQ(tags.contains("IFD0:Make"), kept) << what;
                EXPECT_EQ(tags.contains("ExifIFD:DateTimeOriginal"), kept) << what;
                EXPECT_EQ(tags.contains("XMP-dc:Creator"), kept) << what;
                EXPECT_EQ(tags.contains("IPTC:Keywords"), kept) << what;
                EXPECT_EQ(tags.contains("GPS:GPSLatitude"), location) << what;
                // Gone from the bytes too, not only from the directories.
                EXPECT_EQ(readAll(out).contains("WGS-84"), location) << what;
                EXPECT_EQ(tags.contains("XMP-photoshop:City"), location) << what;
                EXPECT_EQ(tags.contains("IPTC:City"), location) << what;
                EXPECT_FALSE(tags.contains("IFD1:ThumbnailImage")) << what;
                EXPECT_FALSE(tags.contains("IFD1:ThumbnailLength")) << what;
                // The portrait is upright in its pixels, whatever the rotation mode.
                EXPECT_EQ(tags.value("IFD0:Orientation").toInt(1), 1) << what;
                const QImage written(out);
                EXPECT_GT(written.height(), written.width()) << what;
                if (kept) {
                    EXPECT_EQ(tags.value("ExifIFD:ExifImageWidth").toInt(), written.width()) << what;
                    EXPECT_EQ(tags.value("ExifIFD:ExifImageHeight").toInt(), written.height()) << what;
                    EXPECT_TRUE(tags.value("IFD0:Software").toString().startsWith("Tuvo ")) << what;
                }
            }
        }
    }
    for (const QString format : {"png", "tiff"}) {
        const QString out
            = process(jobWith(format, kKeepMetadata, kRotateNone), photos[0], dir.filePath(format));
        const QJsonObject tags = tagsOf(out);
        EXPECT_EQ(tags.value("IFD0:Make").toString(), "Canon") << format.toStdString();
        EXPECT_EQ(tags.value("IFD0:Orientation").toInt(), 1) << format.toStdString();
        EXPECT_EQ(tags.value("XMP-dc:Creator").toString(), "Anna") << format.toStdString();
        EXPECT_EQ(QImage(out).width(), 800) << format.toStdString();
    }
}

TEST(OutputColour, ProfilesAreKeptOrConvertedToSrgb)
{
    if (const QString missing = missingTool({"convert", "exiftool", "transicc"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    if (!QFile::exists(kGhostscriptIcc + "a98.icc") || !QFile::exists(kGhostscriptIcc + "default_cmyk.icc"))
        GTEST_SKIP() << "Adobe RGB and CMYK profiles come from libgs10-common, which is not installed";
    QTemporaryDir dir;
    const QString a98 = kGhostscriptIcc + "a98.icc";
    const QString p3 = writeDisplayP3(dir.filePath("p3.icc"));
    const QString adobeJpeg = flatPicture(dir.filePath("adobe.jpg"), "rgb(200,40,60)");
    const QString p3Png = flatPicture(dir.filePath("p3.png"), "rgb(200,40,60)");
    ASSERT_TRUE(embedProfile(adobeJpeg, a98));
    ASSERT_TRUE(embedProfile(p3Png, p3));

    for (const auto &[source, profile] : {std::pair(adobeJpeg, a98), std::pair(p3Png, p3)}) {
        const std::string what = source.toStdString();
        // Kept: the very profile embedded (JPEG APP2, PNG iCCP), the pixels untouched.
        for (const QString format : {"jpg", "png", "tiff"}) {
            const QString kept = process(jobWith(format, kKeepWithoutLocation, kRotateNone), source,
                dir.filePath("keep-" + format + QFileInfo(source).suffix()));
            EXPECT_EQ(iccMd5(kept), iccMd5(source)) << what << " as " << format.toStdString();
        }
        // Converted: no profile, the colour as lcms2 computes it.
        const QString converted = process(
            jobWith("png", kKeepWithoutLocation, kRotateNone, kConvertToSrgb), source, dir.filePath("srgb"));
        EXPECT_TRUE(iccMd5(converted).isEmpty()) << what;
        expectNear(
            QImage(converted).pixel(150, 100), transicc(profile, "*sRGB", "200 40 60"), 1.0, what.c_str());
    }

    // A red text watermark on a picture that keeps Adobe RGB is Adobe RGB's red.
    const QString white = flatPicture(dir.filePath("white.jpg"), "white");
    ASSERT_TRUE(embedProfile(white, a98));
    JobSettings marked = jobWith("png", kKeepWithoutLocation, kRotateNone);
    marked.bTextMark = 1;
    marked.sText = QStringLiteral("■■■■");
    marked.iSize = 72;
    marked.lColor = 0x0000FF;
    marked.iuTxtPos = kCustom;
    const QString markedOut = process(marked, white, dir.filePath("marked"));
    expectNear(QImage(markedOut).pixel(40, 50), transicc("*sRGB", a98, "255 0 0"), 1.0, "watermark");

    // CMYK becomes RGB through its profile and carries no CMYK profile.
    const QString cmyk = dir.filePath("cmyk.jpg");
    ASSERT_TRUE(runProgram("convert",
        {"-size", "300x200", "xc:rgb(200,40,60)", "-profile", kGhostscriptIcc + "srgb.icc", "-profile",
            kGhostscriptIcc + "default_cmyk.icc", cmyk}));
    QByteArray reference;
    ASSERT_TRUE(runProgram("convert",
        {cmyk, "-intent", "perceptual", "-black-point-compensation", "-profile", kGhostscriptIcc + "srgb.icc",
            "-format",
            "%[fx:round(255*p{150,100}.r)] %[fx:round(255*p{150,100}.g)] "
            "%[fx:round(255*p{150,100}.b)]",
            "info:"},
        &reference));
    QList<double> expected;
    for (const QByteArray &v : reference.split(' '))
        expected << v.toDouble();
    for (const QString format : {"jpg", "png"}) {
        const QString out
            = process(jobWith(format, kKeepMetadata, kRotateNone), cmyk, dir.filePath("cmyk-" + format));
        EXPECT_TRUE(iccMd5(out).isEmpty()) << format.toStdString();
        EXPECT_EQ(tagsOf(out).value("File:ColorComponents").toInt(3), 3) << format.toStdString();
        expectNear(QImage(out).pixel(150, 100), expected, 2.0, "cmyk");
    }
}

namespace {

const QString kCameraJpegs = QStringLiteral(TUVO_SOURCE_DIR "/../shared/testdata/camera-jpegs");

// `exiftool -a -G0:1 -s` with validation of every picture in dir: file name -> its lines.
QMap<QString, QStringList> exiftoolLines(const QString &dir)
{
    QByteArray text;
    runProgram(QStringLiteral("exiftool"), {"-a", "-G0:1", "-s", "-api", "validate=1", dir}, &text);
    QMap<QString, QStringList> files;
    QString current;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).simplified();
        if (line.startsWith(QLatin1String("========")))
            current = QFileInfo(line.mid(9)).completeBaseName();
        else if (line.startsWith(QLatin1Char('[')) && !current.isEmpty())
            files[current] << line;
    }
    return files;
}

// Whether source and output must agree on a line: the EXIF, maker notes, XMP,
// IPTC and profile, less the tags that must change and what a format cannot hold.
bool compared(const QString &line, const QString &format, const QString &picture)
{
    const QString group = line.section(QLatin1Char(']'), 0, 0).mid(1);
    const QString family0 = group.section(QLatin1Char(':'), 0, 0);
    const QString tag = group.section(QLatin1Char(':'), 1) + QLatin1Char(':')
        + line.section(QLatin1Char(']'), 1).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    static const QStringList mustChange = {"IFD0:Orientation", "IFD0:Software", "ExifIFD:ExifImageWidth",
        "ExifIFD:ExifImageHeight", "XMP-tiff:Orientation", "XMP-exif:ExifImageWidth",
        "XMP-exif:ExifImageHeight", "XMP-tiff:ImageWidth", "XMP-tiff:ImageHeight"};
    static const QStringList tiffStructure = {"IFD0:ImageWidth", "IFD0:ImageHeight", "IFD0:BitsPerSample",
        "IFD0:Compression", "IFD0:PhotometricInterpretation", "IFD0:StripOffsets", "IFD0:SamplesPerPixel",
        "IFD0:RowsPerStrip", "IFD0:StripByteCounts", "IFD0:XResolution", "IFD0:YResolution",
        "IFD0:ResolutionUnit", "ExifIFD:ExifVersion", "ExifIFD:FlashpixVersion", "ExifIFD:ColorSpace",
        "GPS:GPSVersionID"};
    // IPTC2 is a second IIM block in a file trailer, which no output carries.
    if (group.startsWith(QLatin1String("EXIF:IFD1")) || mustChange.contains(tag)
        || group == QLatin1String("IPTC:IPTC2"))
        return false;
    if (format == QLatin1String("jpg")) {
        return QStringList {
                   "EXIF", "MakerNotes", "XMP", "IPTC", "ICC_Profile", "Photoshop", "PrintIM", "Meta"}
                   .contains(family0)
            || QStringList {"APP5:RMETA", "APP6:GoPro", "APP12:PictureInfo"}.contains(group);
    }
    // Elsewhere a JPEG file offset is another number for the same data, the IIM
    // goes into the XMP (TIFF keeps it), and notes kept in JPEG segments of their
    // own (Canon CIFF, Qualcomm, Casio QV, Toshiba PrintIM) have no place.
    // A rewritten packet names its own toolkit; an extended XMP joins the packet.
    if (tag.endsWith(QLatin1String("Start")) || tag.endsWith(QLatin1String("Offset"))
        || (format == QLatin1String("tiff") && tiffStructure.contains(tag))
        || group == QLatin1String("MakerNotes:CIFF") || group == QLatin1String("MakerNotes:Qualcomm")
        || (family0 == QLatin1String("MakerNotes") && picture == QLatin1String("CasioQVCI"))
        || (family0 == QLatin1String("PrintIM") && picture == QLatin1String("ExifTool"))
        || group == QLatin1String("XMP:XMP-x") || group == QLatin1String("XMP:XMP-rdf")
        || tag == QLatin1String("XMP-xmpNote:HasExtendedXMP"))
        return false;
    if (family0 == QLatin1String("IPTC") || family0 == QLatin1String("XMP"))
        return format == QLatin1String("tiff") || family0 == QLatin1String("XMP");
    return QStringList {"EXIF", "MakerNotes", "ICC_Profile", "PrintIM"}.contains(family0);
}

} // namespace

TEST(OutputMetadata, CameraFilesKeepEveryTagButTheOnesThatMustChange)
{
    if (const QString missing = missingTool({"exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    const QStringList cameras = QDir(kCameraJpegs).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    if (cameras.isEmpty())
        GTEST_SKIP() << "no camera pictures in " << kCameraJpegs.toStdString();
    QTemporaryDir dir;
    const QMap<QString, QStringList> sources = exiftoolLines(kCameraJpegs);
    ASSERT_EQ(sources.size(), cameras.size());
    for (const QString format : {"jpg", "png", "tiff", "webp"}) {
        const QString outDir = dir.filePath(format);
        for (const QString &name : cameras) {
            JobSettings job = jobWith(format, kKeepMetadata, kRotateNone);
            job.iuSize = kOriginalSize;
            process(job, QDir(kCameraJpegs).filePath(name), outDir);
        }
        const QMap<QString, QStringList> outputs = exiftoolLines(outDir);
        for (auto it = sources.begin(); it != sources.end(); ++it) {
            const std::string what = (it.key() + QLatin1String(" as ") + format).toStdString();
            ASSERT_TRUE(outputs.contains(it.key())) << what;
            const QStringList &out = outputs[it.key()];
            // A camera that says Adobe RGB only in EXIF gets the profile it means.
            const bool adobeByExif = it.value().join('\n').contains("InteropIndex : R03")
                && it.value().filter("[ICC_Profile").isEmpty();
            for (const QString &line : it.value()) {
                if (compared(line, format, it.key())) {
                    EXPECT_TRUE(out.contains(line)) << what << ": lost or changed " << line.toStdString();
                }
            }
            for (const QString &line : out) {
                if (compared(line, format, it.key()) && !(format != "jpg" && line.startsWith("[XMP"))
                    && !(adobeByExif && line.startsWith("[ICC_Profile"))) {
                    EXPECT_TRUE(it.value().contains(line)) << what << ": gained " << line.toStdString();
                }
                // exiftool -validate: nothing new beyond [minor] remarks.
                // Two exceptions: Canon's decision data is found by its offset in
                // the JPEG file, and TIFF's rule for a GPSProcessingMethod no camera
                // wrote is not met by inventing one.
                if (line.startsWith(QLatin1String("[ExifTool] Warning :"))
                    && !line.contains(QLatin1String("[minor]"))
                    && !(format != "jpg" && line.endsWith("Invalid original decision data"))
                    && !line.endsWith("TIFF GPS tag 0x001b GPSProcessingMethod")) {
                    EXPECT_TRUE(it.value().contains(line)) << what << ": new " << line.toStdString();
                }
            }
            // Where IIM has no place, keywords, by-line and caption live on in the XMP
            // (IPTC Core), unless the XMP already says otherwise.
            if (format == "png" || format == "webp") {
                const std::pair<const char *, const char *> mapping[]
                    = {{"Keywords", "Subject"}, {"By-line", "Creator"}, {"Caption-Abstract", "Description"}};
                for (const auto &[iim, dc] : mapping) {
                    const QString prefix = QStringLiteral("[XMP:XMP-dc] %1 : ").arg(dc);
                    const QStringList iptc = it.value().filter(QStringLiteral("[IPTC] %1 : ").arg(iim));
                    if (!iptc.isEmpty() && it.value().filter(prefix).isEmpty()) {
                        EXPECT_TRUE(out.contains(prefix + iptc[0].section(" : ", 1))) << what << ": " << iim;
                    }
                }
            }
            const bool hadOrientation
                = !it.value().filter(QRegularExpression("^\\[EXIF:IFD0\\] Orientation ")).isEmpty();
            EXPECT_EQ(out.contains("[EXIF:IFD0] Orientation : Horizontal (normal)"), hadOrientation) << what;
        }
    }
}

namespace {

// The chunk types of a PNG file in order, with each text chunk's keyword.
QStringList pngChunkList(const QByteArray &png)
{
    QStringList chunks;
    for (qsizetype pos = 8; pos + 12 <= png.size();) {
        const qsizetype length = qsizetype(qFromBigEndian<quint32>(png.constData() + pos));
        const QByteArray type = png.mid(pos + 4, 4);
        const QByteArray data = png.mid(pos + 8, length);
        chunks << QString::fromLatin1(
            type.endsWith("Xt") ? type + ' ' + data.left(data.indexOf('\0')) : type);
        pos += 12 + length;
    }
    return chunks;
}

QByteArray pngChunkBytes(const char *type, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(type, 4) + data;
    QByteArray crc(4, '\0');
    qToBigEndian(
        quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))), crc.data());
    return chunk + body + crc;
}

// A PNG with extra chunks behind IHDR.
QByteArray pngWith(const QByteArray &chunks)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(30, 120, 200));
    const QByteArray png = encodePng(picture, nullptr);
    return png.left(33) + chunks + png.mid(33);
}

} // namespace

TEST(OutputMetadata, PngCarriesExifInItsOwnChunkBeforeThePixels)
{
    if (const QString missing = missingTool({"exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    JobSettings job = jobWith("png", kKeepMetadata, kRotateNone);
    job.iuSize = kOriginalSize;
    const QString out = process(job, kCameraJpegs + "/XMP.jpg", dir.path());
    const QStringList chunks = pngChunkList(readAll(out));
    ASSERT_TRUE(chunks.contains("eXIf")) << chunks.join(' ').toStdString();
    EXPECT_LT(chunks.indexOf("eXIf"), chunks.indexOf("IDAT"));
    EXPECT_LT(chunks.indexOf("iTXt XML:com.adobe.xmp"), chunks.indexOf("IDAT"));
    EXPECT_TRUE(chunks.filter("Raw profile").isEmpty()) << chunks.join(' ').toStdString();
    QByteArray warnings;
    runProgram("exiftool", {"-a", "-warning", out}, &warnings);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.toStdString();
    EXPECT_EQ(tagsOf(out).value("IFD0:Make").toString(),
        tagsOf(kCameraJpegs + "/XMP.jpg").value("IFD0:Make").toString());
}

TEST(OutputColour, ExifColourTagsFollowThePixels)
{
    if (const QString missing = missingTool({"convert", "exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    // A camera's Adobe RGB photo: no profile, only ColorSpace uncalibrated and R03.
    const QString camera = flatPicture(dir.filePath("adobe-by-exif.jpg"), "rgb(200,40,60)");
    ASSERT_TRUE(runProgram("exiftool",
        {"-q", "-overwrite_original", "-Make=Nikon", "-ExifIFD:ColorSpace#=65535", "-InteropIndex=R03",
            camera}));
    const QString kept = process(jobWith("jpg", kKeepMetadata, kRotateNone), camera, dir.filePath("keep"));
    QByteArray description;
    runProgram("exiftool", {"-s3", "-ProfileDescription", kept}, &description);
    EXPECT_EQ(description.trimmed(), "Adobe RGB (1998)");
    EXPECT_EQ(tagsOf(kept).value("ExifIFD:ColorSpace").toInt(), 0xffff);

    for (const QString format : {"jpg", "png", "tiff", "webp"}) {
        const QString converted = process(jobWith(format, kKeepMetadata, kRotateNone, kConvertToSrgb), camera,
            dir.filePath("srgb-" + format));
        const QJsonObject tags = tagsOf(converted);
        EXPECT_EQ(tags.value("ExifIFD:ColorSpace").toInt(), 1) << format.toStdString();
        EXPECT_EQ(tags.value("InteropIFD:InteropIndex").toString(), "R98") << format.toStdString();
        EXPECT_TRUE(iccMd5(converted).isEmpty()) << format.toStdString();
        // Adobe RGB's red is redder than sRGB can show: converted, it is no longer 200, 40, 60.
        const QRgb pixel = QImage(converted).pixel(150, 100);
        EXPECT_GT(qRed(pixel), 215) << format.toStdString();
    }
}

TEST(OutputMetadata, UnreadableMetadataIsLeftOutAndThePictureWritten)
{
    QTemporaryDir dir;
    // An iCCP chunk whose profile is not zlib data.
    const QString badIcc = dir.filePath("bad-icc.png");
    writeFile(
        badIcc, pngWith(pngChunkBytes("iCCP", QByteArray("ICC Profile\0\0", 13) + QByteArray(300, 'x'))));
    // 16 MB of noise where a JPEG's profile should be.
    const QString noiseIcc = dir.filePath("noise-icc.jpg");
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(qRgb(30, 120, 200));
        const QByteArray jpeg = encodeJpeg(picture, 90, nullptr);
        QByteArray segments;
        quint32 noise = 12345;
        for (int seq = 1; seq < 256; ++seq) {
            QByteArray chunk("ICC_PROFILE\0", 12);
            chunk.append(char(seq)).append(char(255));
            for (int i = 0; i < 65519; ++i)
                chunk.append(char((noise = noise * 1103515245u + 12345u) >> 24));
            QByteArray marker("\xFF\xE2\0\0", 4);
            qToBigEndian(quint16(chunk.size() + 2), marker.data() + 2);
            segments += marker + chunk;
        }
        writeFile(noiseIcc, jpeg.left(2) + segments + jpeg.mid(2));
    }
    // A raw EXIF profile that inflates far past any camera's (64 MB).
    const QString bomb = dir.filePath("bomb.png");
    writeFile(bomb,
        pngWith(pngChunkBytes("zTXt",
            QByteArray("Raw profile type exif\0\0", 23) + qCompress(QByteArray(64 << 20, 'a'), 9).mid(4))));

    const struct {
        QString path;
        QString part;
    } cases[] = {{badIcc, "ICC"}, {noiseIcc, "ICC"}, {bomb, "EXIF"}};
    for (const auto &c : cases) {
        for (const QString choice : {"keep", "no-location", "strip"}) {
            const QString out = dir.filePath(choice + QFileInfo(c.path).fileName());
            QDir().mkpath(out);
            const CliRun run = runTuvoCli({"--quiet", "-o", out, "-f", "jpg", "--metadata", choice, c.path});
            const int rc = run.exitCode;
            const QString said = run.out + run.err;
            const std::string what = (c.path + " " + choice + ": " + said).toStdString();
            EXPECT_EQ(rc, 0) << what;
            EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 1) << what;
            // One line names what was left out; stripping reads nothing to leave out.
            EXPECT_EQ(said.count(c.part), choice == "strip" ? 0 : 1) << what;
        }
    }
}

TEST(OutputMetadata, AvifKeepsTheMakerNoteAndTurnsIptcIntoXmp)
{
    if (const QString missing = missingTool({"exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    JobSettings job = jobWith("avif", kKeepMetadata, kRotateNone);
    job.iuSize = kOriginalSize;
    for (const QString name : {"Canon", "IPTC"})
        process(job, kCameraJpegs + "/" + name + ".jpg", dir.path());
    const QMap<QString, QStringList> outputs = exiftoolLines(dir.path());
    const QMap<QString, QStringList> sources = exiftoolLines(kCameraJpegs);
    EXPECT_EQ(outputs["Canon"].filter("[MakerNotes:Canon]"), sources["Canon"].filter("[MakerNotes:Canon]"));
    EXPECT_TRUE(outputs["IPTC"].contains("[XMP:XMP-dc] Subject : ExifTool, Test, IPTC"))
        << outputs["IPTC"].join('\n').toStdString();
    EXPECT_TRUE(outputs["IPTC"].contains("[XMP:XMP-dc] Description : A witty caption"));
}
