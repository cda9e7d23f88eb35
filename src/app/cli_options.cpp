#include "app/cli_options.h"

#include "batch/job_settings.h"
#include "core/effect_presets.h"

#include <QColor>
#include <QCoreApplication>
#include <QHash>

#include <map>

namespace {

using Fields = QList<std::pair<QString, QString>>;

const std::map<QString, QString> &rotateNames()
{
    static const std::map<QString, QString> names = {
        {QStringLiteral("none"), QStringLiteral("0")}, {QStringLiteral("auto"), QStringLiteral("2")},
        {QStringLiteral("cw"), QStringLiteral("3")}, {QStringLiteral("ccw"), QStringLiteral("4")},
        {QStringLiteral("180"), QStringLiteral("5")},
        {QStringLiteral("flip-tb"), QStringLiteral("6")}, // 水平镜像: top and bottom exchanged
        {QStringLiteral("flip-lr"), QStringLiteral("7")}, // 垂直镜像: left and right exchanged
    };
    return names;
}

bool positionFields(const QString &value, bool text, Fields &fields, QString *error)
{
    static const QStringList presets = {QStringLiteral("bottom-right"), QStringLiteral("bottom-left"),
        QStringLiteral("top-left"), QStringLiteral("top-right"), QStringLiteral("center")};
    const QString posKey = text ? QStringLiteral("iuTxtPos") : QStringLiteral("iuImgPos");
    const int preset = int(presets.indexOf(value));
    if (preset >= 0) {
        fields << std::pair(posKey, QString::number(preset));
        return true;
    }
    const QStringList xy = value.split(QLatin1Char(','));
    bool okX = false, okY = false;
    if (xy.size() == 2) {
        xy[0].toDouble(&okX);
        xy[1].toDouble(&okY);
    }
    if (!okX || !okY) {
        *error = QCoreApplication::translate(
                     "tuvo", "位置应为 bottom-right、bottom-left、top-left、top-right、center 或 X,Y: ")
            + value;
        return false;
    }
    fields << std::pair(posKey, QStringLiteral("5"));
    fields << std::pair(text ? QStringLiteral("iuTSyX") : QStringLiteral("iuISyX"), xy[0].trimmed());
    fields << std::pair(text ? QStringLiteral("iuTSyY") : QStringLiteral("iuISyY"), xy[1].trimmed());
    return true;
}

} // namespace

bool parseCliOptions(const QStringList &args, CliOptions *out, QString *error)
{
    CliOptions o;
    Fields &f = o.fields;
    bool textPosGiven = false;
    bool markPosGiven = false;
    bool textGiven = false;
    bool markGiven = false;
    bool onlyInputs = false;
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        QString inlineValue;
        bool hasInline = false;
        if (!onlyInputs && arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            const int eq = int(arg.indexOf(QLatin1Char('=')));
            inlineValue = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasInline = true;
        }
        const auto value = [&](QString *v) {
            if (hasInline) {
                *v = inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                *error = arg + QCoreApplication::translate("tuvo", " 需要一个值");
                return false;
            }
            *v = args[++i];
            return true;
        };
        QString v;
        if (onlyInputs || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            o.inputs << arg;
        } else if (arg == QLatin1String("--")) {
            onlyInputs = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            o.help = true;
        } else if (arg == QLatin1String("--version")) {
            o.version = true;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (!value(&o.outputDir))
                return false;
        } else if (arg == QLatin1String("-R") || arg == QLatin1String("--recursive")) {
            o.recursive = true;
        } else if (arg == QLatin1String("-j") || arg == QLatin1String("--jobs")) {
            if (!value(&v))
                return false;
            bool ok = false;
            o.jobs = v.toInt(&ok);
            if (!ok || o.jobs < 1 || o.jobs > 64) {
                *error = QCoreApplication::translate("tuvo", "--jobs 需要1到64之间的整数");
                return false;
            }
        } else if (arg == QLatin1String("--job")) {
            if (!value(&o.jobFile))
                return false;
        } else if (arg == QLatin1String("--preset")) {
            if (!value(&o.preset))
                return false;
        } else if (arg == QLatin1String("--save-job")) {
            if (!value(&o.saveJob))
                return false;
        } else if (arg == QLatin1String("--from-settings")) {
            o.fromSettings = true;
        } else if (arg == QLatin1String("--quiet")) {
            o.quiet = true;
        } else if (arg == QLatin1String("--max-memory")) {
            if (!value(&v))
                return false;
            bool ok = false;
            o.memoryLimitMB = v.toInt(&ok);
            if (!ok || o.memoryLimitMB < 16 || o.memoryLimitMB > 65536) {
                *error = QCoreApplication::translate("tuvo", "--max-memory 需要16到65536之间的整数(MB)");
                return false;
            }
        } else if (arg == QLatin1String("--files-from")) {
            if (!value(&o.filesFrom))
                return false;
        } else if (arg == QLatin1String("-0") || arg == QLatin1String("--null")) {
            o.nullSeparated = true;
        } else if (arg == QLatin1String("--shard")) {
            if (!value(&v))
                return false;
            const QStringList kn = v.split(QLatin1Char('/'));
            bool okK = false, okN = false;
            o.shard = kn.size() == 2 ? kn[0].toInt(&okK) : 0;
            o.shards = kn.size() == 2 ? kn[1].toInt(&okN) : 0;
            if (!okK || !okN || o.shards < 1 || o.shard < 1 || o.shard > o.shards) {
                *error = QCoreApplication::translate("tuvo", "--shard 需要 K/N (1 ≤ K ≤ N): ") + v;
                return false;
            }
        } else if (arg == QLatin1String("--first-number")) {
            if (!value(&v))
                return false;
            bool ok = false;
            o.firstNumber = v.toInt(&ok);
            if (!ok || o.firstNumber < 0 || o.firstNumber > 999999999) {
                *error = QCoreApplication::translate("tuvo", "--first-number 需要0到999999999之间的整数");
                return false;
            }
        } else if (arg == QLatin1String("--on-clash")) {
            if (!value(&v))
                return false;
            const QStringList policies = {QStringLiteral("overwrite"), QStringLiteral("number"),
                QStringLiteral("skip"), QStringLiteral("fail")};
            if (!policies.contains(v)) {
                *error = QCoreApplication::translate("tuvo", "--on-clash 只能是 overwrite|number|skip|fail");
                return false;
            }
            f << std::pair(QStringLiteral("iOnClash"), QString::number(policies.indexOf(v)));
        } else if (arg == QLatin1String("--keep-tree")) {
            o.keepTree = true;
        } else if (arg == QLatin1String("--json")) {
            o.json = true;
        } else if (arg == QLatin1String("--dry-run")) {
            o.dryRun = true;
        } else if (arg == QLatin1String("--print-exif")) {
            if (!value(&o.printExif))
                return false;
        } else if (arg == QLatin1String("--set")) {
            if (!value(&v))
                return false;
            const int eq = int(v.indexOf(QLatin1Char('=')));
            if (eq <= 0) {
                *error = QCoreApplication::translate("tuvo", "--set 需要 KEY=VALUE 的形式");
                return false;
            }
            o.setFields << int(f.size());
            f << std::pair(v.left(eq), v.mid(eq + 1));
        } else if (arg == QLatin1String("-f") || arg == QLatin1String("--format")) {
            if (!value(&v))
                return false;
            f << std::pair(
                QStringLiteral("sFormat"), v == QLatin1String("original") ? QStringLiteral("原格式") : v);
        } else if (arg == QLatin1String("-q") || arg == QLatin1String("--quality")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("iJPGQ"), v);
        } else if (arg == QLatin1String("--rename")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("bRename"), QStringLiteral("1"))
              << std::pair(QStringLiteral("sPrefix"), v);
        } else if (arg == QLatin1String("--digits")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("iNumDigits"), v);
        } else if (arg == QLatin1String("--size")) {
            if (!value(&o.sizeMode))
                return false;
        } else if (arg == QLatin1String("--longest")) {
            // Shorthand for a square fit-inside box.
            if (!value(&o.width))
                return false;
            o.sizeMode = QStringLiteral("fit");
            o.height = o.width;
        } else if (arg == QLatin1String("-W")) {
            if (!value(&o.width))
                return false;
        } else if (arg == QLatin1String("-H")) {
            if (!value(&o.height))
                return false;
        } else if (arg == QLatin1String("--no-enlarge")) {
            f << std::pair(QStringLiteral("bChkResizeOpt"), QStringLiteral("1"));
        } else if (arg == QLatin1String("--extend")) {
            f << std::pair(QStringLiteral("bPicJQ"), QStringLiteral("0"));
        } else if (arg == QLatin1String("--crop-x") || arg == QLatin1String("--crop-y")) {
            if (!value(&v))
                return false;
            const bool x = arg == QLatin1String("--crop-x");
            const QStringList names = x
                ? QStringList {QStringLiteral("left"), QStringLiteral("middle"), QStringLiteral("right")}
                : QStringList {QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom")};
            const int k = int(names.indexOf(v));
            if (k < 0) {
                *error = arg + QCoreApplication::translate("tuvo", " 只能是 ") + names.join(QLatin1Char('|'));
                return false;
            }
            f << std::pair(x ? QStringLiteral("iXCutMode") : QStringLiteral("iYCutMode"), QString::number(k));
        } else if (arg == QLatin1String("--offset")) {
            if (!value(&v))
                return false;
            const QStringList xy = v.split(QLatin1Char(','));
            if (xy.size() != 2) {
                *error = QCoreApplication::translate("tuvo", "--offset 需要 X,Y");
                return false;
            }
            f << std::pair(QStringLiteral("sngOffsetX"), xy[0])
              << std::pair(QStringLiteral("sngOffsetY"), xy[1]);
        } else if (arg == QLatin1String("--frame")) {
            if (!value(&o.frame))
                return false;
        } else if (arg == QLatin1String("--text")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sText"), v)
              << std::pair(QStringLiteral("bTextMark"), QStringLiteral("1"));
            textGiven = true;
        } else if (arg == QLatin1String("--font")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sFont"), v);
        } else if (arg == QLatin1String("--font-size")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("iSize"), v);
        } else if (arg == QLatin1String("--color")) {
            if (!value(&v))
                return false;
            const QColor c = QColor::fromString(v);
            if (!c.isValid()) {
                *error = QCoreApplication::translate("tuvo", "--color 需要 #RRGGBB 形式的颜色: ") + v;
                return false;
            }
            f << std::pair(
                QStringLiteral("lColor"), QString::number(c.red() + 256 * c.green() + 65536 * c.blue()));
        } else if (arg == QLatin1String("--bold")) {
            f << std::pair(QStringLiteral("sBold"), QStringLiteral("True"));
        } else if (arg == QLatin1String("--italic")) {
            f << std::pair(QStringLiteral("sItalic"), QStringLiteral("True"));
        } else if (arg == QLatin1String("--underline")) {
            f << std::pair(QStringLiteral("sUnderline"), QStringLiteral("True"));
        } else if (arg == QLatin1String("--text-pos") || arg == QLatin1String("--mark-pos")) {
            if (!value(&v))
                return false;
            const bool text = arg == QLatin1String("--text-pos");
            if (!positionFields(v, text, f, error))
                return false;
            (text ? textPosGiven : markPosGiven) = true;
        } else if (arg == QLatin1String("--mark")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("suISyF"), v)
              << std::pair(QStringLiteral("bPicMark"), QStringLiteral("1"));
            markGiven = true;
        } else if (arg == QLatin1String("--opacity")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("iuSYAlpha"), v);
        } else if (arg == QLatin1String("--mark-scale")) {
            if (!value(&v))
                return false;
            bool ok = false;
            const int s = v.toInt(&ok);
            if (!ok || s < -20 || s > 20) {
                *error = QCoreApplication::translate("tuvo", "--mark-scale 需要-20到20之间的整数");
                return false;
            }
            f << std::pair(
                QStringLiteral("sngMarkScale"), QString::number(double(JobSettings::markScaleForSlider(s))));
        } else if (arg == QLatin1String("--rotate")) {
            if (!value(&v))
                return false;
            const auto it = rotateNames().find(v);
            if (it == rotateNames().end()) {
                *error = QCoreApplication::translate(
                    "tuvo", "--rotate 只能是 none|auto|cw|ccw|180|flip-tb|flip-lr");
                return false;
            }
            f << std::pair(QStringLiteral("iRotateMode"), it->second);
        } else if (arg == QLatin1String("--metadata") || arg == QLatin1String("--colour")) {
            // Choice names to the stored index of the metadata and colour options.
            const bool metadata = arg == QLatin1String("--metadata");
            const QStringList choices = metadata
                ? QStringList {QStringLiteral("keep"), QStringLiteral("no-location"), QStringLiteral("strip")}
                : QStringList {QStringLiteral("keep"), QStringLiteral("srgb")};
            if (!value(&v))
                return false;
            if (!choices.contains(v)) {
                *error
                    = arg + QCoreApplication::translate("tuvo", " 只能是 ") + choices.join(QLatin1Char('|'));
                return false;
            }
            f << std::pair(metadata ? QStringLiteral("iMetadata") : QStringLiteral("iColorProfile"),
                QString::number(choices.indexOf(v)));
        } else if (arg == QLatin1String("--effect")) {
            if (!value(&v))
                return false;
            const QByteArray utf8 = v.toUtf8();
            const std::optional<int> preset
                = effectPresetByName(std::string_view(utf8.constData(), size_t(utf8.size())));
            const int k = preset && *preset < kBrightnessPreset ? *preset : -1;
            if (v == QLatin1String("none") || v == QStringLiteral("无特效")) {
                f << std::pair(QStringLiteral("iEffect"), QStringLiteral("none"));
            } else if (k < 0) {
                *error = QCoreApplication::translate("tuvo", "未知的特效: ") + v;
                return false;
            } else {
                f << std::pair(QStringLiteral("iEffect"), QString::number(k));
            }
        } else if (arg == QLatin1String("--brightness")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("iEffect"), QStringLiteral("12"))
              << std::pair(QStringLiteral("iBrightness"), v);
        } else if (arg == QLatin1String("--channels")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("channels"), v);
        } else if (arg == QLatin1String("--matrix")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sngColorMatrix"), v);
        } else if (arg == QLatin1String("--error-log")) {
            f << std::pair(QStringLiteral("bSaveErr"), QStringLiteral("1"));
        } else if (arg == QLatin1String("--pdf")) {
            f << std::pair(QStringLiteral("bMakePDF"), QStringLiteral("1"));
        } else if (arg == QLatin1String("--upload")) {
            f << std::pair(QStringLiteral("bUpload"), QStringLiteral("1"));
        } else if (arg == QLatin1String("--ftp-server")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sFtpServer"), v);
        } else if (arg == QLatin1String("--ftp-user")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sFtpUser"), v);
        } else if (arg == QLatin1String("--ftp-dir")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sFtpDir"), v);
        } else if (arg == QLatin1String("--ftp-subdir")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sFtpSubDir"), v);
        } else if (arg == QLatin1String("--web-base")) {
            if (!value(&v))
                return false;
            f << std::pair(QStringLiteral("sWebBase"), v);
        } else if (arg == QLatin1String("--passive")) {
            f << std::pair(QStringLiteral("bFtpPassive"), QStringLiteral("True"));
        } else if (arg == QLatin1String("--ftp-require-tls")) {
            f << std::pair(QStringLiteral("bFtpRequireTls"), QStringLiteral("True"));
        } else if (arg == QLatin1String("--ftp-ca") || arg == QLatin1String("--ftp-pin")
            || arg == QLatin1String("--ftp-key") || arg == QLatin1String("--ftp-accept-host-key")) {
            if (!value(&v))
                return false;
            static const QHash<QString, QString> keys {
                {QStringLiteral("--ftp-ca"), QStringLiteral("sFtpCaFile")},
                {QStringLiteral("--ftp-pin"), QStringLiteral("sFtpPin")},
                {QStringLiteral("--ftp-key"), QStringLiteral("sFtpKeyFile")},
                {QStringLiteral("--ftp-accept-host-key"), QStringLiteral("sFtpHostKey")}};
            f << std::pair(keys.value(arg), v);
        } else {
            *error = QCoreApplication::translate("tuvo", "未知的选项: ") + arg
                + QCoreApplication::translate("tuvo", " (tuvo-cli --help 列出全部选项)");
            return false;
        }
    }
    // A watermark without a position goes where people expect one.
    if (textGiven && !textPosGiven)
        f.prepend(std::pair(QStringLiteral("iuTxtPos"), QStringLiteral("0")));
    if (markGiven && !markPosGiven)
        f.prepend(std::pair(QStringLiteral("iuImgPos"), QStringLiteral("3")));
    *out = o;
    return true;
}
