#include "job/job_fields.h"

#include "core/effect_presets.h"
#include "job/frame_list.h"
#include "job/stored_text.h"

#include <QColor>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

using S = HelpSection;

bool fail(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

QString rangeText(double min, double max)
{
    return QString::number(min) + QStringLiteral("..") + QString::number(max);
}

QString floatText(float v)
{
    return QString::number(double(v), 'g', 9);
}

bool numberIn(const QString &text, double min, double max, double *out, QString *why)
{
    const std::optional<double> n = numberFromText(text);
    if (!n)
        return fail(why, fieldtexts::notANumber(text));
    if (min <= max && (*n < min || *n > max))
        return fail(why, fieldtexts::notInRange(text.trimmed(), rangeText(min, max)));
    *out = *n;
    return true;
}

bool matrixFromText(const QString &text, ColourMatrix *out, QString *why)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 25)
        return fail(why, QCoreApplication::translate("tuvo", "颜色矩阵需要25个用逗号分隔的数字"));
    ColourMatrix m {};
    for (int k = 0; k < 25; ++k) {
        const std::optional<double> n = numberFromText(parts[k]);
        if (!n)
            return fail(why, QCoreApplication::translate("tuvo", "颜色矩阵的第%1个数不是数字").arg(k + 1));
        m[k / 5][k % 5] = float(*n);
    }
    *out = m;
    return true;
}

// ---- Typed values of options that are more than a field's stored text ----

bool setSizeMode(JobSettings &job, const QString &typed, QString *why)
{
    int index = namedSizeModeIndex(job, typed);
    for (int k = 0; index < 0 && k < job.SizePresets.size(); ++k) {
        if (job.SizePresets[k].name == typed)
            index = kFirstPreset + k;
    }
    // A preset is also known by its dimensions, 295x413 (or 295×413), whatever its name.
    const QString dimensions
        = QString(typed).replace(QChar(u'×'), QLatin1Char('x')).toLower().remove(QLatin1Char(' '));
    for (int k = 0; index < 0 && k < job.SizePresets.size(); ++k) {
        const SizePreset &p = job.SizePresets[k];
        if (p.width.trimmed() + QLatin1Char('x') + p.height.trimmed() == dimensions)
            index = kFirstPreset + k;
    }
    // Dimensions no preset has mean a custom size of them, as --size custom -W -H.
    static const QRegularExpression box(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    if (const QRegularExpressionMatch m = box.match(dimensions); index < 0 && m.hasMatch()) {
        int width = 0, height = 0;
        if (!wholeNumberIn(m.captured(1), 1, 65535, &width, why)
            || !wholeNumberIn(m.captured(2), 1, 65535, &height, why))
            return false;
        chooseSizeMode(job, job.customSizeIndex());
        job.iTargetW = width;
        job.iTargetH = height;
        return true;
    }
    if (index < 0) {
        QStringList names = namedSizeModes();
        for (const SizePreset &p : job.SizePresets)
            names << p.width.trimmed() + QLatin1Char('x') + p.height.trimmed();
        return fail(why, fieldtexts::notOneOf(typed, names.join(QLatin1Char('|'))));
    }
    chooseSizeMode(job, index);
    return true;
}

bool setLongestSide(JobSettings &job, const QString &typed, QString *why)
{
    double n = 0;
    if (!numberIn(typed, 1, 65535, &n, why))
        return false;
    chooseSizeMode(job, job.fitInsideIndex());
    job.iTargetW = n;
    job.iTargetH = n;
    return true;
}

// A file size as 200k, 1.5M or a number of bytes; k and M count 1024s.
bool fileSizeFromText(const QString &typed, int *bytes, QString *why)
{
    QString number = typed.trimmed().toLower();
    double unit = 1;
    if (number.endsWith(QLatin1Char('b')))
        number.chop(1);
    if (number.endsWith(QLatin1Char('k')))
        unit = 1024;
    else if (number.endsWith(QLatin1Char('m')))
        unit = 1024 * 1024;
    if (unit > 1)
        number.chop(1);
    const std::optional<double> n = numberFromText(number);
    if (!n || !std::isfinite(*n))
        return fail(why, fieldtexts::notANumber(typed));
    const double total = std::round(*n * unit);
    if (total < 0 || total > INT_MAX)
        return fail(why, fieldtexts::notInRange(typed.trimmed(), QStringLiteral("0..2047M")));
    *bytes = int(total);
    return true;
}

bool setMaxBytes(JobSettings &job, const QString &typed, QString *why)
{
    return fileSizeFromText(typed, &job.iMaxBytes, why);
}

bool setMinBytes(JobSettings &job, const QString &typed, QString *why)
{
    return fileSizeFromText(typed, &job.iMinBytes, why);
}

bool setRename(JobSettings &job, const QString &typed, QString *)
{
    job.bRename = 1;
    job.sPrefix = typed;
    return true;
}

bool setFormat(JobSettings &job, const QString &typed, QString *why)
{
    // Names as people type them: any letter case, "original" for the stored 原格式,
    // and the long or short spelling of the extension.
    static const QHash<QString, QString> aliases = {{QStringLiteral("original"), QStringLiteral("原格式")},
        {QStringLiteral("jpeg"), QStringLiteral("jpg")}, {QStringLiteral("tif"), QStringLiteral("tiff")}};
    const QString lower = typed.trimmed().toLower();
    const QString value = aliases.value(lower, lower);
    if (findJobField(QStringLiteral("sFormat"))->setFromText(job, value, nullptr))
        return true;
    return fail(why, fieldtexts::notOneOf(typed, QStringLiteral("original|jpg|png|tiff|bmp|gif|webp|avif")));
}

bool setNameTemplate(JobSettings &job, const QString &typed, QString *why)
{
    if (typed.contains(QLatin1Char('/')) || typed.trimmed().isEmpty())
        return fail(why, QCoreApplication::translate("tuvo", "文件名模板不能为空, 也不能含有 /"));
    job.sNameTemplate = typed;
    return true;
}

bool setFrameFile(JobSettings &job, const QString &typed, QString *why)
{
    const QFileInfo file(typed);
    if (!file.isFile())
        return fail(why, QCoreApplication::translate("tuvo", "找不到边框图片: ") + typed);
    job.sFrameFile = file.absoluteFilePath();
    return true;
}

bool setTextMark(JobSettings &job, const QString &typed, QString *)
{
    job.sText = typed;
    job.bTextMark = 1;
    return true;
}

bool setPictureMark(JobSettings &job, const QString &typed, QString *)
{
    job.suISyF = typed;
    job.bPicMark = 1;
    return true;
}

bool setPosition(const QString &typed, int *position, double *x, double *y, QString *why)
{
    static const QStringList places = {QStringLiteral("bottom-right"), QStringLiteral("bottom-left"),
        QStringLiteral("top-left"), QStringLiteral("top-right"), QStringLiteral("center")};
    if (const int k = int(places.indexOf(typed)); k >= 0) {
        *position = k;
        return true;
    }
    const QStringList xy = typed.split(QLatin1Char(','));
    const std::optional<double> vx = xy.size() == 2 ? numberFromText(xy[0]) : std::nullopt;
    const std::optional<double> vy = xy.size() == 2 ? numberFromText(xy[1]) : std::nullopt;
    if (!vx || !vy)
        return fail(why, fieldtexts::notOneOf(typed, places.join(QLatin1Char('|')) + QStringLiteral("|X,Y")));
    *position = kCustom;
    *x = *vx;
    *y = *vy;
    return true;
}

bool setTextPosition(JobSettings &job, const QString &typed, QString *why)
{
    return setPosition(typed, &job.iuTxtPos, &job.iuTSyX, &job.iuTSyY, why);
}

bool setMarkPosition(JobSettings &job, const QString &typed, QString *why)
{
    return setPosition(typed, &job.iuImgPos, &job.iuISyX, &job.iuISyY, why);
}

bool setMarkScale(JobSettings &job, const QString &typed, QString *why)
{
    int slider = 0;
    if (!wholeNumberIn(typed, -20, 20, &slider, why))
        return false;
    job.sngMarkScale = JobSettings::markScaleForSlider(slider);
    return true;
}

bool setColour(JobSettings &job, const QString &typed, QString *why)
{
    const QColor c = QColor::fromString(typed);
    if (!c.isValid())
        return fail(why, QCoreApplication::translate("tuvo", "%1 不是 #RRGGBB 形式的颜色").arg(typed));
    job.lColor = c.red() + 256 * c.green() + 65536 * c.blue();
    return true;
}

bool setOffset(JobSettings &job, const QString &typed, QString *why)
{
    const QStringList xy = typed.split(QLatin1Char(','));
    double x = 0, y = 0;
    if (xy.size() != 2)
        return fail(why, fieldtexts::notOneOf(typed, QStringLiteral("X,Y")));
    if (!numberIn(xy[0], -65535, 65535, &x, why) || !numberIn(xy[1], -65535, 65535, &y, why))
        return false;
    job.sngOffsetX = float(x);
    job.sngOffsetY = float(y);
    return true;
}

bool setEffect(JobSettings &job, const QString &typed, QString *why)
{
    if (typed == QLatin1String("none") || typed == QStringLiteral("无特效")) {
        job.iEffect.reset();
        return true;
    }
    const QByteArray utf8 = typed.toUtf8();
    const std::optional<int> preset
        = effectPresetByName(std::string_view(utf8.constData(), size_t(utf8.size())));
    if (!preset || *preset >= kBrightnessPreset) {
        QStringList names = {QStringLiteral("none")};
        for (int k = 0; k < kBrightnessPreset; ++k)
            names << QString::fromUtf8(effectPresetName(k).data(), qsizetype(effectPresetName(k).size()));
        return fail(why, fieldtexts::notOneOf(typed, names.join(QLatin1Char('|'))));
    }
    job.iEffect = *preset;
    return true;
}

bool setBrightness(JobSettings &job, const QString &typed, QString *why)
{
    if (!wholeNumberIn(typed, -75, 75, &job.iBrightness, why))
        return false;
    job.iEffect = kBrightnessPreset;
    return true;
}

// Channel factors "R,G,B": the diagonal of the upper-left 4 x 4 block.
bool setChannels(JobSettings &job, const QString &typed, QString *why)
{
    const QStringList rgb = typed.split(QLatin1Char(','));
    if (rgb.size() != 3
        || !setChannelFactors(
            job.sngColorMatrix, rgb[0].toStdString(), rgb[1].toStdString(), rgb[2].toStdString()))
        return fail(why, QCoreApplication::translate("tuvo", "通道系数需要 R,G,B 三个数字"));
    return true;
}

// Switches and texts of the upload account are stored by the account dialog.
constexpr unsigned kAccount = kSavedInAccount | kInJobFile;
constexpr unsigned kOptions = kReadAtStart | kSavedByOptions | kInJobFile;
constexpr unsigned kWindow = kReadAtStart | kSavedAtShutdown | kInJobFile;

const std::vector<JobField> &table()
{
    // In help order. Restoring walks the rows in this order too, where only one
    // thing matters: the size list is chosen before the frame list, whose handler
    // looks at the size mode. The options dialog stores its fields in this order.
    static const std::vector<JobField> fields = {
        {.key = "iuSize",
            .member = &JobSettings::iuSize,
            .min = 0,
            .max = kFirstPreset + kMaxSizePresets + 1,
            .storage = kWindow,
            .restoreEffect = RestoreEffect::ChooseSizeMode,
            .cli
            = {{.longName = "size",
                   .valueName = "MODE",
                   .help = QT_TRANSLATE_NOOP("tuvo",
                       "尺寸: limit-width(默认, 宽度为W, 高度按比例) | fit-frame | original | custom(W×H) | "
                       "fit(最长边放入W×H框内, 不剪切不扩充) | size.ini 中的预设名或其尺寸(如 295x413)"),
                   .section = S::Size,
                   .set = setSizeMode,
                   .order = 0},
                {.longName = "longest",
                    .valueName = "N",
                    .help = QT_TRANSLATE_NOOP("tuvo", "即 --size fit -W N -H N"),
                    .section = S::Size,
                    .set = setLongestSide,
                    .order = 0}}},
        {.key = "iTargetW",
            .member = &JobSettings::iTargetW,
            .min = 0,
            .max = 65535,
            .cli = {{.shortName = 'W',
                .valueName = "N",
                .help = QT_TRANSLATE_NOOP("tuvo", "目标宽度(像素)"),
                .section = S::Size,
                .order = 2}}},
        {.key = "iTargetH",
            .member = &JobSettings::iTargetH,
            .min = 0,
            .max = 65535,
            .cli = {{.shortName = 'H',
                .valueName = "N",
                .help = QT_TRANSLATE_NOOP("tuvo", "目标高度(像素), 用于 custom、fit 和预设"),
                .section = S::Size,
                .order = 2}}},
        {.key = "iuBk",
            .member = &JobSettings::iuBk,
            .min = 0,
            .max = kMaxSizePresets + 1,
            .storage = kWindow,
            .restoreEffect = RestoreEffect::ChooseFrame,
            .atShutdown = ShutdownValue::ChosenFrame},
        {.key = "sFrameFile",
            .member = &JobSettings::sFrameFile,
            .cli = {{.longName = "frame",
                .valueName = "FILE",
                .help = QT_TRANSLATE_NOOP("tuvo", "边框图片(PNG)"),
                .section = S::FrameAndMarks,
                .set = setFrameFile}}},
        {.key = "sText",
            .member = &JobSettings::sText,
            .storage = kWindow,
            .restoreEffect = RestoreEffect::TextMarkAtCustomPlace,
            .cli = {{.longName = "text",
                .valueName = "TEXT",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "文字水印; 整段为 #当前日期# #当前时间# #JPG照片拍摄时间# #图片原文件名# (或 #date# "
                    "#time# "
                    "#exif-time# #file-name#) 时按图片替换"),
                .section = S::FrameAndMarks,
                .set = setTextMark}}},
        {.key = "iuTSyX",
            .member = &JobSettings::iuTSyX,
            .min = -1000,
            .max = 1000,
            .storage = kSavedAtShutdown | kInJobFile},
        {.key = "iuTSyY",
            .member = &JobSettings::iuTSyY,
            .min = -1000,
            .max = 1000,
            .storage = kSavedAtShutdown | kInJobFile},
        {.key = "sFont",
            .member = &JobSettings::sFont,
            .storage = kWindow,
            .cli = {{.longName = "font",
                .valueName = "FAMILY",
                .help = QT_TRANSLATE_NOOP("tuvo", "文字水印的字体(默认宋体)"),
                .section = S::FrameAndMarks}}},
        {.key = "iSize",
            .member = &JobSettings::iSize,
            .min = 1,
            .max = 1000,
            .storage = kWindow,
            .cli = {{.longName = "font-size",
                .valueName = "PT",
                .help = QT_TRANSLATE_NOOP("tuvo", "文字水印的字号(默认%1)"),
                .section = S::FrameAndMarks}}},
        {.key = "lColor",
            .member = &JobSettings::lColor,
            .min = 0,
            .max = 0xFFFFFF,
            .storage = kWindow,
            .cli = {{.longName = "color",
                .valueName = "#RRGGBB",
                .help = QT_TRANSLATE_NOOP("tuvo", "文字水印的颜色(默认黑色)"),
                .section = S::FrameAndMarks,
                .set = setColour}}},
        {.key = "sBold",
            .member = &JobSettings::sBold,
            .storage = kWindow,
            .cli = {{.longName = "bold",
                .switchValue = "True",
                .help = QT_TRANSLATE_NOOP("tuvo", "文字水印用粗体"),
                .section = S::FrameAndMarks}}},
        {.key = "sItalic",
            .member = &JobSettings::sItalic,
            .storage = kWindow,
            .cli = {{.longName = "italic",
                .switchValue = "True",
                .help = QT_TRANSLATE_NOOP("tuvo", "文字水印用斜体"),
                .section = S::FrameAndMarks}}},
        {.key = "sUnderline",
            .member = &JobSettings::sUnderline,
            .storage = kWindow,
            .cli = {{.longName = "underline",
                .switchValue = "True",
                .help = QT_TRANSLATE_NOOP("tuvo", "文字水印加下划线"),
                .section = S::FrameAndMarks}}},
        {.key = "iuTxtPos",
            .member = &JobSettings::iuTxtPos,
            .min = 0,
            .max = 5,
            .cli = {{.longName = "text-pos",
                .valueName = "PLACE",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "bottom-right|bottom-left|top-left|top-right|center|X,Y (文字左上角, 宽高的比例), "
                    "默认%1"),
                .section = S::FrameAndMarks,
                .set = setTextPosition}},
            .cliDefault = {.whenGiven = "sText", .typed = "bottom-right"}},
        {.key = "bTextMark", .member = &JobSettings::bTextMark, .min = 0, .max = 1},
        {.key = "suISyF",
            .member = &JobSettings::suISyF,
            .storage = kWindow,
            .restoreEffect = RestoreEffect::PictureMarkAtCustomPlace,
            .cli = {{.longName = "mark",
                .valueName = "FILE",
                .help = QT_TRANSLATE_NOOP("tuvo", "图片水印的图片文件"),
                .section = S::FrameAndMarks,
                .set = setPictureMark}}},
        {.key = "iuISyX",
            .member = &JobSettings::iuISyX,
            .min = -1000,
            .max = 1000,
            .storage = kSavedAtShutdown | kInJobFile},
        {.key = "iuISyY",
            .member = &JobSettings::iuISyY,
            .min = -1000,
            .max = 1000,
            .storage = kSavedAtShutdown | kInJobFile},
        {.key = "iuSYAlpha",
            .member = &JobSettings::iuSYAlpha,
            .min = 0,
            .max = 100,
            .storage = kWindow,
            .storedRange = StoredRange::DefaultOutside,
            .atShutdown = ShutdownValue::ShownOpacity,
            .follow = [](JobSettings &job) { job.setMarkAlpha(job.iuSYAlpha); }, // the watermark's matrix
            .cli = {{.longName = "opacity",
                .valueName = "0-100",
                .help = QT_TRANSLATE_NOOP("tuvo", "图片水印的不透明度(默认%1)"),
                .section = S::FrameAndMarks}}},
        {.key = "sngMarkScale",
            .member = &JobSettings::sngMarkScale,
            .min = 0,
            .max = 5,
            .cli = {{.longName = "mark-scale",
                .valueName = "-20..20",
                .help = QT_TRANSLATE_NOOP("tuvo", "图片水印的大小(默认0: 原大)"),
                .section = S::FrameAndMarks,
                .set = setMarkScale}}},
        {.key = "iuImgPos",
            .member = &JobSettings::iuImgPos,
            .min = 0,
            .max = 5,
            .cli = {{.longName = "mark-pos",
                .valueName = "PLACE",
                .help = QT_TRANSLATE_NOOP("tuvo", "同 --text-pos, 默认%1; X,Y 为水印中心"),
                .section = S::FrameAndMarks,
                .set = setMarkPosition}},
            .cliDefault = {.whenGiven = "suISyF", .typed = "top-right"}},
        {.key = "bPicMark", .member = &JobSettings::bPicMark, .min = 0, .max = 1},
        {.key = "iJPGQ",
            .member = &JobSettings::iJPGQ,
            .min = 0,
            .max = 100,
            .storage = kOptions,
            .storedRange = StoredRange::WarnOutside,
            .cli = {{.longName = "quality",
                .shortName = 'q',
                .valueName = "0-100",
                .help = QT_TRANSLATE_NOOP("tuvo", "JPG图片质量(默认%1)"),
                .section = S::Format}}},
        {.key = "sFormat",
            .member = &JobSettings::sFormat,
            .names = {"原格式", "jpg", "png", "tiff", "bmp", "gif", "webp", "avif"},
            .follow = [](JobSettings &job) { job.sOutExt = job.sFormat; },
            .cli = {{.longName = "format",
                .shortName = 'f',
                .valueName = "original|jpg|png|tiff|bmp|gif|webp|avif",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "输出格式(默认jpg); original: 原格式, HEIC/HEIF 写成 HEIC, 相机RAW 写成 JPG; "
                    "透明处为白色"),
                .section = S::Format,
                .set = setFormat}}},
        {.key = "sOutExt", .member = &JobSettings::sOutExt, .storage = kNotStored}, // follows sFormat
        {.key = "bRename", .member = &JobSettings::bRename, .min = 0, .max = 1},
        {.key = "sPrefix",
            .member = &JobSettings::sPrefix,
            .cli = {{.longName = "rename",
                .valueName = "PREFIX",
                .help = QT_TRANSLATE_NOOP("tuvo", "统一文件名: PREFIX + 顺序号"),
                .section = S::Format,
                .set = setRename}}},
        {.key = "sNameTemplate",
            .member = &JobSettings::sNameTemplate,
            .cli = {{.longName = "name",
                .valueName = "TEMPLATE",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "文件名模板: %s 原文件名(不含扩展名), %n 顺序号(--digits 位), %e 原扩展名, %% 即 %; "
                    "如 --name '%s_small'"),
                .section = S::Format,
                .set = setNameTemplate}}},
        {.key = "iNumDigits",
            .member = &JobSettings::iNumDigits,
            .min = 0,
            .max = 32,
            .cli = {{.longName = "digits",
                .valueName = "N",
                .help = QT_TRANSLATE_NOOP("tuvo", "顺序号位数(默认%1)"),
                .section = S::Format}}},
        {.key = "bAutoODir", .member = &JobSettings::bAutoODir, .min = 0, .max = 1, .storage = kOptions},
        {.key = "bAutoURL", .member = &JobSettings::bAutoURL, .min = 0, .max = 1, .storage = kOptions},
        {.key = "bShowURL", .member = &JobSettings::bShowURL, .min = 0, .max = 1, .storage = kOptions},
        {.key = "bShowURLPic", .member = &JobSettings::bShowURLPic, .min = 0, .max = 1, .storage = kOptions},
        {.key = "bSaveErr",
            .member = &JobSettings::bSaveErr,
            .min = 0,
            .max = 1,
            .storage = kOptions,
            .cli = {{.longName = "error-log",
                .switchValue = "1",
                .help = QT_TRANSLATE_NOOP("tuvo", "有错误时在输出文件夹写 ErrorLog.txt"),
                .section = S::AfterRun}}},
        {.key = "bPicJQ",
            .member = &JobSettings::bPicJQ,
            .min = 0,
            .max = 1,
            .storage = kOptions,
            .cli = {{.longName = "extend",
                .switchValue = "0",
                .help = QT_TRANSLATE_NOOP("tuvo", "比例不同时扩充画布(默认剪切图片)"),
                .section = S::Size}}},
        {.key = "bChkResizeOpt",
            .member = &JobSettings::bChkResizeOpt,
            .min = 0,
            .max = 1,
            .storage = kOptions,
            .cli = {{.longName = "no-enlarge",
                .switchValue = "1",
                .help = QT_TRANSLATE_NOOP("tuvo", "小图片不放大"),
                .section = S::Size}}},
        {.key = "iXCutMode",
            .member = &JobSettings::iXCutMode,
            .min = 0,
            .max = 2,
            .names = {"left", "middle", "right"},
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "crop-x",
                .valueName = "left|middle|right",
                .help = QT_TRANSLATE_NOOP("tuvo", "剪切时保留的部分(默认middle)"),
                .section = S::Size}}},
        {.key = "iYCutMode",
            .member = &JobSettings::iYCutMode,
            .min = 0,
            .max = 2,
            .names = {"top", "middle", "bottom"},
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "crop-y",
                .valueName = "top|middle|bottom",
                .help = QT_TRANSLATE_NOOP("tuvo", "剪切时保留的部分(默认top)"),
                .section = S::Size}}},
        {.key = "sngOffsetX",
            .member = &JobSettings::sngOffsetX,
            .min = -65535,
            .max = 65535,
            .cli = {{.longName = "offset",
                .valueName = "X,Y",
                .help = QT_TRANSLATE_NOOP("tuvo", "图片在画布上的左边和上边"),
                .section = S::Size,
                .set = setOffset}}},
        {.key = "sngOffsetY", .member = &JobSettings::sngOffsetY, .min = -65535, .max = 65535},
        {.key = "sPDF1", .member = &JobSettings::sPDF1, .storage = kOptions},
        {.key = "sPDF2", .member = &JobSettings::sPDF2, .storage = kOptions},
        {.key = "sPDF3", .member = &JobSettings::sPDF3, .storage = kOptions},
        {.key = "iMetadata",
            .member = &JobSettings::iMetadata,
            .min = 0,
            .max = 2,
            .names = {"keep", "no-location", "strip"},
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "metadata",
                .valueName = "keep|no-location|strip",
                .help = QT_TRANSLATE_NOOP("tuvo", "EXIF/XMP/IPTC: 全部保留 | 去掉位置信息(默认) | 全部去掉"),
                .section = S::Format}}},
        {.key = "iColorProfile",
            .member = &JobSettings::iColorProfile,
            .min = 0,
            .max = 1,
            .names = {"keep", "srgb"},
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "colour",
                .valueName = "keep|srgb",
                .help = QT_TRANSLATE_NOOP("tuvo", "保留并嵌入原图的颜色配置文件(默认) | 转换为 sRGB"),
                .section = S::Format}}},
        {.key = "iOnClash",
            .member = &JobSettings::iOnClash,
            .min = kClashOverwrite,
            .max = kClashFail,
            .names = {"overwrite", "number", "skip", "fail"},
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "on-clash",
                .valueName = "overwrite|number|skip|fail",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "输出文件已存在或与本次先前的图片同名时: 覆盖(默认, 后面的图片为准) | 编号 name_2 | "
                    "跳过 | 记为错误"),
                .section = S::Scripts}}},
        {.key = "bKeepFileTime",
            .member = &JobSettings::bKeepFileTime,
            .min = 0,
            .max = 1,
            .storage = kOptions,
            .cli = {{.longName = "keep-time",
                .switchValue = "1",
                .help = QT_TRANSLATE_NOOP("tuvo", "写出的图片保留原图片的修改时间"),
                .section = S::Format}}},
        {.key = "iMaxBytes",
            .member = &JobSettings::iMaxBytes,
            .min = 0,
            .max = INT_MAX,
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "max-size",
                .valueName = "SIZE",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "写出的文件不大于 SIZE(如 200k, 1.5M 或字节数; 0 不限): 先降低质量, 尺寸不固定时再缩小"),
                .section = S::Format,
                .set = setMaxBytes}}},
        {.key = "iMinBytes",
            .member = &JobSettings::iMinBytes,
            .min = 0,
            .max = INT_MAX,
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "min-size",
                .valueName = "SIZE",
                .help = QT_TRANSLATE_NOOP("tuvo", "写出的文件不小于 SIZE: 提高质量, 最高到100"),
                .section = S::Format,
                .set = setMinBytes}}},
        {.key = "iMinQuality",
            .member = &JobSettings::iMinQuality,
            .min = 0,
            .max = 100,
            .storage = kOptions,
            .storedRange = StoredRange::DefaultOutside,
            .cli = {{.longName = "min-quality",
                .valueName = "0-100",
                .help = QT_TRANSLATE_NOOP("tuvo", "为满足 --max-size 质量最低降到多少(默认30)"),
                .section = S::Format}}},
        {.key = "sODIR", .member = &JobSettings::sODIR, .storage = kReadAtStart},
        {.key = "iRotateMode",
            .member = &JobSettings::iRotateMode,
            .min = 0,
            .max = 7,
            .names = {"none", "", "auto", "cw", "ccw", "180", "flip-tb", "flip-lr"},
            .cli = {{.longName = "rotate",
                .valueName = "none|auto|cw|ccw|180|flip-tb|flip-lr",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "照片按EXIF方向摆正后再旋转: none 和 auto 不再旋转; flip-tb 上下翻转, flip-lr 左右翻转"),
                .section = S::Adjust}}},
        {.key = "iEffect",
            .member = &JobSettings::iEffect,
            .min = 0,
            .max = kBrightnessPreset,
            .cli = {{.longName = "effect",
                .valueName = "NAME",
                .help = QT_TRANSLATE_NOOP("tuvo",
                    "none|beauty|sharpen|flame|purple|brown|night|spooky|scanlines|emboss|grey|mono|invert"),
                .section = S::Adjust,
                .set = setEffect}}},
        {.key = "iBrightness",
            .member = &JobSettings::iBrightness,
            .min = -75,
            .max = 75,
            .cli = {{.longName = "brightness",
                .valueName = "-75..75",
                .help = QT_TRANSLATE_NOOP("tuvo", "亮度"),
                .section = S::Adjust,
                .set = setBrightness}}},
        {.key = "sngColorMatrix",
            .member = &JobSettings::sngColorMatrix,
            .cli = {{.longName = "channels",
                        .valueName = "R,G,B",
                        .help = QT_TRANSLATE_NOOP("tuvo", "颜色通道系数"),
                        .section = S::Adjust,
                        .set = setChannels},
                {.longName = "matrix",
                    .valueName = "m00,...,m44",
                    .help = QT_TRANSLATE_NOOP("tuvo", "5×5颜色矩阵, 25个用逗号分隔的数, 按行"),
                    .section = S::Adjust}}},
        {.key = "bMakePDF",
            .member = &JobSettings::bMakePDF,
            .min = 0,
            .max = 1,
            .cli = {{.longName = "pdf",
                .switchValue = "1",
                .help = QT_TRANSLATE_NOOP("tuvo", "把写出的图片做成一个PDF文件"),
                .section = S::AfterRun}}},
        {.key = "bUpload",
            .member = &JobSettings::bUpload,
            .min = 0,
            .max = 1,
            .cli = {{.longName = "upload",
                .switchValue = "1",
                .help = QT_TRANSLATE_NOOP(
                    "tuvo", "上传写出的图片并生成链接页 PicURL.htm (密码取自环境变量 TUVO_FTP_PASSWORD)"),
                .section = S::Upload}}},
        {.key = "sFtpServer",
            .member = &JobSettings::sFtpServer,
            .storage = kAccount,
            .cli = {{.longName = "ftp-server",
                .valueName = "HOST[:PORT]",
                .help
                = QT_TRANSLATE_NOOP("tuvo", "FTP服务器, 或 sftp://HOST[:PORT]; FTP 总是先尝试 TLS 加密"),
                .section = S::Upload}}},
        {.key = "sFtpUser",
            .member = &JobSettings::sFtpUser,
            .storage = kAccount,
            .cli = {{.longName = "ftp-user",
                .valueName = "USER",
                .help = QT_TRANSLATE_NOOP("tuvo", "用户名"),
                .section = S::Upload}}},
        {.key = "sFtpDir",
            .member = &JobSettings::sFtpDir,
            .storage = kAccount,
            .cli = {{.longName = "ftp-dir",
                .valueName = "DIR",
                .help = QT_TRANSLATE_NOOP("tuvo", "服务器上的文件夹"),
                .section = S::Upload}}},
        {.key = "sFtpSubDir",
            .member = &JobSettings::sFtpSubDir,
            .storage = kAccount,
            .cli = {{.longName = "ftp-subdir",
                .valueName = "DIR",
                .help = QT_TRANSLATE_NOOP("tuvo", "其中本次上传的子文件夹"),
                .section = S::Upload}}},
        {.key = "sWebBase",
            .member = &JobSettings::sWebBase,
            .storage = kAccount,
            .cli = {{.longName = "web-base",
                .valueName = "URL",
                .help = QT_TRANSLATE_NOOP("tuvo", "该文件夹的网址, 用于链接页"),
                .section = S::Upload}}},
        {.key = "bFtpPassive",
            .member = &JobSettings::bFtpPassive,
            .storage = kAccount,
            .cli = {{.longName = "passive",
                .switchValue = "True",
                .help = QT_TRANSLATE_NOOP("tuvo", "被动模式"),
                .section = S::Upload}}},
        {.key = "bFtpRequireTls",
            .member = &JobSettings::bFtpRequireTls,
            .storage = kAccount,
            .cli = {{.longName = "ftp-require-tls",
                .switchValue = "True",
                .help = QT_TRANSLATE_NOOP("tuvo", "服务器不支持加密时不登录(不发送密码)"),
                .section = S::Upload}}},
        {.key = "sFtpCaFile",
            .member = &JobSettings::sFtpCaFile,
            .storage = kAccount,
            .cli = {{.longName = "ftp-ca",
                .valueName = "FILE",
                .help = QT_TRANSLATE_NOOP("tuvo", "用FILE中的证书验证FTPS服务器"),
                .section = S::Upload}}},
        {.key = "sFtpPin",
            .member = &JobSettings::sFtpPin,
            .storage = kAccount,
            .cli = {{.longName = "ftp-pin",
                .valueName = "SHA256",
                .help
                = QT_TRANSLATE_NOOP("tuvo", "信任公钥SHA-256为此值的FTPS服务器(sha256//BASE64 或十六进制)"),
                .section = S::Upload}}},
        {.key = "sFtpKeyFile",
            .member = &JobSettings::sFtpKeyFile,
            .storage = kAccount,
            .cli = {{.longName = "ftp-key",
                .valueName = "FILE",
                .help = QT_TRANSLATE_NOOP("tuvo", "SFTP私钥(默认 ~/.ssh/id_ed25519 或 id_rsa)"),
                .section = S::Upload}}},
        {.key = "sFtpHostKey",
            .member = &JobSettings::sFtpHostKey,
            .storage = kAccount,
            .cli = {{.longName = "ftp-accept-host-key",
                .valueName = "SHA256:...",
                .help = QT_TRANSLATE_NOOP("tuvo", "接受 known_hosts 中尚未记录的SFTP主机密钥"),
                .section = S::Upload}}},
        {.key = "sOutDir", .member = &JobSettings::sOutDir},
    };
    return fields;
}

} // namespace

QString JobField::storedText(const JobSettings &job) const
{
    return std::visit(
        [&job](auto m) -> QString {
            const auto &v = job.*m;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, int>)
                return QString::number(v);
            else if constexpr (std::is_same_v<T, double>)
                return doubleText(v);
            else if constexpr (std::is_same_v<T, float>)
                return floatText(v);
            else if constexpr (std::is_same_v<T, bool>)
                return v ? QStringLiteral("True") : QStringLiteral("False");
            else if constexpr (std::is_same_v<T, ColourMatrix>) {
                QStringList numbers;
                for (const auto &row : v)
                    for (float n : row)
                        numbers << floatText(n);
                return numbers.join(QLatin1Char(','));
            } else if constexpr (std::is_same_v<T, std::optional<int>>)
                return v ? QString::number(*v) : QStringLiteral("none");
            else
                return v;
        },
        member);
}

bool JobField::setFromText(JobSettings &job, const QString &text, QString *why) const
{
    const bool ok = std::visit(
        [&](auto m) -> bool {
            auto &v = job.*m;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, int>) {
                return wholeNumberIn(text, min, max, &v, why);
            } else if constexpr (std::is_same_v<T, double> || std::is_same_v<T, float>) {
                double n = 0;
                if (!numberIn(text, min, max, &n, why))
                    return false;
                v = T(n);
                return true;
            } else if constexpr (std::is_same_v<T, bool>) {
                const std::optional<bool> b = booleanFromText(text);
                if (!b)
                    return fail(why, fieldtexts::notOneOf(text, QStringLiteral("True|False")));
                v = *b;
                return true;
            } else if constexpr (std::is_same_v<T, ColourMatrix>) {
                return matrixFromText(text, &v, why);
            } else if constexpr (std::is_same_v<T, std::optional<int>>) {
                if (text.trimmed().isEmpty() || text.trimmed() == QLatin1String("none")) {
                    v.reset();
                    return true;
                }
                int n = 0;
                if (!wholeNumberIn(text, min, max, &n, why))
                    return false;
                v = n;
                return true;
            } else {
                if (hasRange()) { // a whole number kept as text
                    int n = 0;
                    if (!wholeNumberIn(text, min, max, &n, why))
                        return false;
                    v = QString::number(n);
                    return true;
                }
                if (!names.empty() && std::none_of(names.begin(), names.end(), [&text](const char *name) {
                        return text == QString::fromUtf8(name);
                    }))
                    return fail(why, fieldtexts::notOneOf(text, allowed()));
                v = text;
                return true;
            }
        },
        member);
    if (ok)
        if (follow)
            follow(job);
    return ok;
}

bool JobField::setTyped(
    JobSettings &job, const CliSpelling &spelling, const QString &typed, QString *why) const
{
    if (spelling.set)
        return spelling.set(job, typed, why);
    if (!names.empty() && std::holds_alternative<int JobSettings::*>(member)) {
        for (int k = 0; k < int(names.size()); ++k) {
            if (*names[k] && typed == QString::fromUtf8(names[k])) {
                job.*std::get<int JobSettings::*>(member) = int(min) + k;
                return true;
            }
        }
        return fail(why, fieldtexts::notOneOf(typed, allowed()));
    }
    return setFromText(job, typed, why);
}

QString JobField::allowed() const
{
    if (!names.empty()) {
        QStringList list;
        for (const char *name : names) {
            if (*name)
                list << QString::fromUtf8(name);
        }
        return list.join(QLatin1Char('|'));
    }
    return hasRange() ? rangeText(min, max) : QString();
}

QString JobField::defaultText() const
{
    return cliDefault.typed ? QString::fromUtf8(cliDefault.typed) : storedText(JobSettings());
}

std::span<const JobField> jobFields()
{
    return table();
}

const JobField *findJobField(const QString &key)
{
    for (const JobField &f : table()) {
        if (key == QLatin1String(f.key))
            return &f;
    }
    return nullptr;
}

CliField findCliLong(const QString &longName)
{
    for (const JobField &f : table()) {
        for (const CliSpelling &s : f.cli) {
            if (s.longName && longName == QLatin1String(s.longName))
                return {&f, &s};
        }
    }
    return {};
}

CliField findCliShort(QChar shortName)
{
    for (const JobField &f : table()) {
        for (const CliSpelling &s : f.cli) {
            if (s.shortName && shortName == QLatin1Char(s.shortName))
                return {&f, &s};
        }
    }
    return {};
}

QString cliHelp(const CliSpelling &spelling)
{
    const QString help = QCoreApplication::translate("tuvo", spelling.help);
    if (!help.contains(QLatin1String("%1")))
        return help;
    for (const JobField &f : table()) {
        for (const CliSpelling &s : f.cli) {
            if (&s == &spelling)
                return help.arg(f.defaultText());
        }
    }
    return help;
}

QStringList storedFieldKeys(unsigned storage)
{
    QStringList keys;
    for (const JobField &f : table()) {
        if (f.storage & storage)
            keys << f.name();
    }
    return keys;
}

namespace {

// Values no control could have stored start safe instead of placing things nowhere.
double safeFraction(const StoredLookup &stored, const char *key)
{
    const std::optional<QString> text = stored(QLatin1String(key));
    const std::optional<double> v = text ? numberFromText(*text) : std::nullopt;
    if (!v || std::fabs(*v) > 1000)
        return 0;
    return double(float(*v)); // stored as single precision
}

// A whole number as the store converts it: text that does not convert gives 0.
std::optional<qint64> storedWhole(const JobField &f, const QString &text)
{
    const qint64 limit = f.hasRange() && f.max > 32767 ? 2147483647LL : 32767;
    return wholeNumberFromText(text, -limit - 1, limit);
}

void restoreOne(const JobField &f, const std::optional<QString> &text, const StoredLookup &stored,
    const JobSettings &defaults, const FrameList &frames, JobSettings &job, QStringList &warnings)
{
    switch (f.restoreEffect) {
    case RestoreEffect::ChooseSizeMode: {
        const int size = text ? int(storedWhole(f, *text).value_or(0)) : defaults.iuSize;
        if (size >= 0 && size <= job.fitInsideIndex()) {
            chooseSizeMode(job, size);
            pickFrameForFitMode(job, frames);
        }
        return;
    }
    case RestoreEffect::ChooseFrame: {
        const int bk = text ? int(storedWhole(f, *text).value_or(0)) : 0;
        if (frames.isFrame(bk) || bk == 0)
            chooseFrame(job, frames, bk);
        return;
    }
    case RestoreEffect::TextMarkAtCustomPlace:
        job.sText = text.value_or(defaults.sText);
        if (!job.sText.isEmpty()) {
            job.iuTSyX = safeFraction(stored, "iuTSyX");
            job.iuTSyY = safeFraction(stored, "iuTSyY");
            job.bTextMark = 1;
            job.iuTxtPos = kCustom;
        }
        return;
    case RestoreEffect::PictureMarkAtCustomPlace:
        job.suISyF = text.value_or(defaults.suISyF);
        if (!job.suISyF.isEmpty()) {
            job.iuISyX = safeFraction(stored, "iuISyX");
            job.iuISyY = safeFraction(stored, "iuISyY");
            job.bPicMark = 1;
            job.iuImgPos = kCustom;
        }
        return;
    case RestoreEffect::None:
        break;
    }
    std::visit(
        [&](auto m) {
            using T = std::decay_t<decltype(job.*m)>;
            if (!text) {
                job.*m = defaults.*m;
                return;
            }
            if constexpr (std::is_same_v<T, int>) {
                const std::optional<qint64> n = storedWhole(f, *text);
                const bool inRange = n && *n >= f.min && *n <= f.max;
                if (f.storedRange == StoredRange::AsConverted || inRange) {
                    job.*m = int(n.value_or(0));
                    return;
                }
                job.*m = defaults.*m;
                if (f.storedRange == StoredRange::WarnOutside)
                    warnings << QCoreApplication::translate(
                        "tuvo", "设置项%1的值“%2”不在%3之内,已改用默认值%4。")
                                    .arg(f.name(), text->left(80), f.allowed(), QString::number(defaults.*m));
            } else if constexpr (std::is_same_v<T, bool>) {
                job.*m = booleanFromText(*text).value_or(false);
            } else if constexpr (std::is_same_v<T, QString>) {
                job.*m = *text;
            } else if (!f.setFromText(job, *text, nullptr)) {
                job.*m = defaults.*m;
            }
        },
        f.member);
    if (f.follow)
        f.follow(job);
}

} // namespace

QStringList restoreStoredFields(const StoredLookup &stored, const JobSettings &defaults,
    const FrameList &frames, JobSettings &job, bool onlyPresent)
{
    QStringList warnings;
    for (const JobField &f : table()) {
        if (!(f.storage & kReadAtStart))
            continue;
        const std::optional<QString> text = stored(f.name());
        if (!text && onlyPresent)
            continue;
        restoreOne(f, text, stored, defaults, frames, job, warnings);
    }
    return warnings;
}

QString fieldtexts::notInRange(const QString &value, const QString &range)
{
    return QCoreApplication::translate("tuvo", "%1 不在 %2 之内").arg(value, range);
}

QString fieldtexts::notANumber(const QString &value)
{
    return QCoreApplication::translate("tuvo", "“%1”不是数字").arg(value);
}

QString fieldtexts::notOneOf(const QString &value, const QString &choices)
{
    return QCoreApplication::translate("tuvo", "“%1”不是 %2 之一").arg(value, choices);
}

bool wholeNumberIn(const QString &text, double min, double max, int *out, QString *why)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok)
        return fail(why, fieldtexts::notANumber(text));
    if (min <= max && (double(n) < min || double(n) > max))
        return fail(why, fieldtexts::notInRange(text.trimmed(), rangeText(min, max)));
    if (n < INT_MIN || n > INT_MAX)
        return fail(why, fieldtexts::notInRange(text.trimmed(), rangeText(INT_MIN, INT_MAX)));
    *out = int(n);
    return true;
}
