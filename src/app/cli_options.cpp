#include "app/cli_options.h"

#include "job/frame_list.h"
#include "job/job_restore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

using S = HelpSection;

bool fail(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

// Options of the run, in help order within their sections.
const std::vector<RunOption> &runTable()
{
    static const std::vector<RunOption> options = {
        {{.longName = "output",
             .shortName = 'o',
             .valueName = "DIR",
             .help = QT_TRANSLATE_NOOP("tuvo", "输出文件夹, 必须已存在(默认: 用户文件夹下的 zp)"),
             .section = S::InputOutput},
            [](CliOptions &o, const QString &v, QString *) {
                o.outputDir = v;
                return true;
            }},
        {{.longName = "recursive",
             .shortName = 'R',
             .help = QT_TRANSLATE_NOOP("tuvo", "文件夹包括子文件夹"),
             .section = S::InputOutput},
            [](CliOptions &o, const QString &, QString *) {
                o.recursive = true;
                return true;
            }},
        {{.longName = "jobs",
             .shortName = 'j',
             .valueName = "N",
             .help = QT_TRANSLATE_NOOP("tuvo", "同时处理的图片数, 1到64(默认: CPU核数)"),
             .section = S::InputOutput},
            [](CliOptions &o, const QString &v, QString *why) {
                return wholeNumberIn(v, 1, 64, &o.jobs, why);
            }},
        {{.longName = "from-settings",
             .help = QT_TRANSLATE_NOOP("tuvo", "从桌面程序保存的设置开始"),
             .section = S::InputOutput},
            [](CliOptions &o, const QString &, QString *) {
                o.fromSettings = true;
                return true;
            }},
        {{.longName = "set",
             .valueName = "KEY=VALUE",
             .help = QT_TRANSLATE_NOOP("tuvo", "按设置名设置任意作业字段(如 --set iJPGQ=85)"),
             .section = S::InputOutput},
            nullptr}, // a job option: handled by the parser
        {{.longName = "quiet",
             .help = QT_TRANSLATE_NOOP("tuvo", "不显示进度行和最后的汇总行(错误报告仍然输出)"),
             .section = S::InputOutput},
            [](CliOptions &o, const QString &, QString *) {
                o.quiet = true;
                return true;
            }},
        {{.longName = "max-memory",
             .valueName = "MB",
             .help = QT_TRANSLATE_NOOP("tuvo",
                 "整个运行处理图片最多可用的内存, 16到65536; 图片等到内存够用再处理, "
                 "单独就超过的图片记为错误"),
             .section = S::InputOutput},
            [](CliOptions &o, const QString &v, QString *why) {
                return wholeNumberIn(v, 16, 65536, &o.memoryLimitMB, why);
            }},
        {{.longName = "preset",
             .valueName = "NAME",
             .help
             = QT_TRANSLATE_NOOP("tuvo", "先载入名为 NAME 的作业(用户的 presets 文件夹, 然后安装的 presets)"),
             .section = S::Jobs},
            [](CliOptions &o, const QString &v, QString *) {
                o.preset = v;
                return true;
            }},
        {{.longName = "job",
             .valueName = "FILE",
             .help = QT_TRANSLATE_NOOP("tuvo", "先载入作业文件; 其余选项再改动单个设置"),
             .section = S::Jobs},
            [](CliOptions &o, const QString &v, QString *) {
                o.jobFile = v;
                return true;
            }},
        {{.longName = "save-job",
             .valueName = "FILE",
             .help = QT_TRANSLATE_NOOP("tuvo", "把命令行描述的作业写入 FILE, 不处理图片"),
             .section = S::Jobs},
            [](CliOptions &o, const QString &v, QString *) {
                o.saveJob = v;
                return true;
            }},
        {{.longName = "files-from",
             .valueName = "FILE",
             .help = QT_TRANSLATE_NOOP("tuvo", "从文件读入输入列表, 每行一个路径(\"-\" 为标准输入)"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &v, QString *) {
                o.filesFrom = v;
                return true;
            }},
        {{.longName = "null",
             .shortName = '0',
             .help = QT_TRANSLATE_NOOP("tuvo", "列表以NUL分隔(find -print0)"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &, QString *) {
                o.nullSeparated = true;
                return true;
            }},
        {{.longName = "shard",
             .valueName = "K/N",
             .help = QT_TRANSLATE_NOOP("tuvo", "只处理列表位置 p mod N = K-1 的图片, 文件名和编号按整个列表"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &v, QString *why) {
                const QStringList kn = v.split(QLatin1Char('/'));
                bool okK = false, okN = false;
                o.shard = kn.size() == 2 ? kn[0].toInt(&okK) : 0;
                o.shards = kn.size() == 2 ? kn[1].toInt(&okN) : 0;
                if (!okK || !okN || o.shards < 1 || o.shard < 1 || o.shard > o.shards)
                    return fail(why, QCoreApplication::translate("tuvo", "%1 不是 K/N (1 ≤ K ≤ N)").arg(v));
                return true;
            }},
        {{.longName = "first-number",
             .valueName = "N",
             .help = QT_TRANSLATE_NOOP("tuvo", "改名顺序号从N开始"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &v, QString *why) {
                return wholeNumberIn(v, 0, 999999999, &o.firstNumber, why);
            }},
        {{.longName = "keep-tree",
             .help = QT_TRANSLATE_NOOP("tuvo", "与 -R 一起: 在输出文件夹中保留子文件夹结构"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &, QString *) {
                o.keepTree = true;
                return true;
            }},
        {{.longName = "json",
             .help = QT_TRANSLATE_NOOP("tuvo", "每张图片一行JSON(标准输出), 最后一行汇总"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &, QString *) {
                o.json = true;
                return true;
            }},
        {{.longName = "watch",
             .help = QT_TRANSLATE_NOOP("tuvo",
                 "处理文件夹中还没有输出的图片, 然后监视文件夹, 处理每张新到或被替换的图片, "
                 "直到 SIGINT/SIGTERM; 做过的记在输出文件夹的 .tuvo-watch 中"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &, QString *) {
                o.watch = true;
                return true;
            }},
        {{.longName = "dry-run",
             .help = QT_TRANSLATE_NOOP("tuvo", "只列出将要写出的文件; 读取每张图片的文件头, 不处理图片"),
             .section = S::Scripts},
            [](CliOptions &o, const QString &, QString *) {
                o.dryRun = true;
                return true;
            }},
        {{.longName = "print-exif",
             .valueName = "FILE...",
             .help = QT_TRANSLATE_NOOP("tuvo", "列出每个文件的EXIF项(每行 \"标签<TAB>值\")后退出"),
             .section = S::Other},
            [](CliOptions &o, const QString &v, QString *) {
                o.printExif = v;
                return true;
            }},
        {{.longName = "help",
             .shortName = 'h',
             .help = QT_TRANSLATE_NOOP("tuvo", "显示本帮助"),
             .section = S::Other},
            [](CliOptions &o, const QString &, QString *) {
                o.help = true;
                return true;
            }},
        {{.longName = "version", .help = QT_TRANSLATE_NOOP("tuvo", "显示版本"), .section = S::Other},
            [](CliOptions &o, const QString &, QString *) {
                o.version = true;
                return true;
            }},
    };
    return options;
}

// An option found by its long or short name: a run option or a job field's.
struct FoundOption {
    const RunOption *run = nullptr;
    CliField job;
    const CliSpelling *spelling() const { return run ? &run->spelling : job.spelling; }
};

FoundOption findLong(const QString &name)
{
    for (const RunOption &r : runTable()) {
        if (name == QLatin1String(r.spelling.longName))
            return {&r, {}};
    }
    return {nullptr, findCliLong(name)};
}

FoundOption findShort(QChar name)
{
    for (const RunOption &r : runTable()) {
        if (r.spelling.shortName && name == QLatin1Char(r.spelling.shortName))
            return {&r, {}};
    }
    return {nullptr, findCliShort(name)};
}

// A following argument that is itself an option means the value was left out;
// "-5" and "-0.5" are values.
bool looksLikeOption(const QString &arg)
{
    return arg.size() > 1 && arg[0] == QLatin1Char('-') && !arg[1].isDigit() && arg[1] != QLatin1Char('.');
}

QString unknownOption(const QString &given)
{
    return cliMessage(
        QCoreApplication::translate("tuvo", "未知的选项 %1 (tuvo-cli --help 列出全部选项)").arg(given));
}

QString missingValue(const CliSpelling &spelling)
{
    return cliMessage(optionLabel(spelling) + QStringLiteral(": ")
        + QCoreApplication::translate("tuvo", "缺少值 %1").arg(QString::fromLatin1(spelling.valueName)));
}

class Parser {
public:
    Parser(const QStringList &args, CliOptions &o, QString *error)
        : args_(args)
        , o_(o)
        , error_(error)
    {
    }

    bool run()
    {
        bool onlyInputs = false;
        for (i_ = 0; i_ < args_.size(); ++i_) {
            const QString &arg = args_[i_];
            if (onlyInputs || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
                o_.inputs << arg;
            } else if (arg == QLatin1String("--")) {
                onlyInputs = true;
            } else if (arg.startsWith(QLatin1String("--"))) {
                if (!longOption(arg))
                    return false;
            } else if (!shortOptions(arg)) {
                return false;
            }
        }
        return true;
    }

private:
    bool longOption(const QString &arg)
    {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString name = arg.mid(2, eq < 0 ? -1 : eq - 2);
        const FoundOption found = findLong(name);
        if (!found.spelling())
            return fail(error_, unknownOption(arg.left(eq < 0 ? arg.size() : eq)));
        const CliSpelling &spelling = *found.spelling();
        QString value;
        if (!spelling.valueName) {
            if (eq >= 0)
                return fail(error_,
                    cliMessage(optionLabel(spelling) + QStringLiteral(": ")
                        + QCoreApplication::translate("tuvo", "这个选项不带值")));
        } else if (eq >= 0) {
            value = arg.mid(eq + 1);
        } else if (!nextValue(spelling, &value)) {
            return false;
        }
        return take(found, value);
    }

    // "-Rj2": switches, then an option whose value is the rest or the next argument.
    bool shortOptions(const QString &arg)
    {
        for (qsizetype k = 1; k < arg.size(); ++k) {
            const FoundOption found = findShort(arg[k]);
            if (!found.spelling())
                return fail(error_, unknownOption(QStringLiteral("-") + arg[k]));
            const CliSpelling &spelling = *found.spelling();
            if (!spelling.valueName) {
                if (!take(found, QString()))
                    return false;
                continue;
            }
            QString value = arg.mid(k + 1);
            if (value.isEmpty() && !nextValue(spelling, &value))
                return false;
            return take(found, value);
        }
        return true;
    }

    bool nextValue(const CliSpelling &spelling, QString *value)
    {
        if (i_ + 1 >= args_.size() || looksLikeOption(args_[i_ + 1]))
            return fail(error_, missingValue(spelling));
        *value = args_[++i_];
        return true;
    }

    bool take(const FoundOption &found, const QString &value)
    {
        QString why;
        if (found.run && found.run->spelling.longName == QLatin1String("set"))
            return takeSet(value);
        if (found.run) {
            if (!found.run->take(o_, value, &why))
                return fail(
                    error_, cliMessage(optionLabel(found.run->spelling) + QStringLiteral(": ") + why));
            o_.givenRunOptions << QLatin1String(found.run->spelling.longName);
            return true;
        }
        const CliSpelling &spelling = *found.job.spelling;
        o_.jobOptions << JobOption {found.job.field, &spelling,
            spelling.valueName ? value : QString::fromLatin1(spelling.switchValue)};
        return true;
    }

    bool takeSet(const QString &value)
    {
        const qsizetype eq = value.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return fail(error_,
                cliMessage(QStringLiteral("--set: ")
                    + QCoreApplication::translate("tuvo", "需要 KEY=VALUE 的形式")));
        const QString key = value.left(eq);
        const JobField *field = findJobField(key);
        if (!field)
            return fail(error_,
                cliMessage(QStringLiteral("--set: ")
                    + QCoreApplication::translate("tuvo", "未知的设置项 %1").arg(key)));
        o_.jobOptions << JobOption {field, nullptr, value.mid(eq + 1)};
        return true;
    }

    const QStringList &args_;
    CliOptions &o_;
    QString *error_;
    int i_ = 0;
};

bool given(const CliOptions &options, const char *key)
{
    return std::any_of(options.jobOptions.begin(), options.jobOptions.end(),
        [key](const JobOption &o) { return o.field->name() == QLatin1String(key) && o.spelling; });
}

bool givenAs(const CliOptions &options, const char *longName)
{
    return std::any_of(options.jobOptions.begin(), options.jobOptions.end(), [longName](const JobOption &o) {
        return o.spelling && o.spelling->longName && qstrcmp(o.spelling->longName, longName) == 0;
    });
}

// --size 1600x1200 gives both sides itself.
bool sizeHasDimensions(const CliOptions &options)
{
    static const QRegularExpression dimensions(QStringLiteral("^\\s*\\d+\\s*[xX×]\\s*\\d+\\s*$"));
    return std::any_of(options.jobOptions.begin(), options.jobOptions.end(), [](const JobOption &o) {
        return o.spelling && qstrcmp(o.spelling->longName, "size") == 0
            && dimensions.match(o.value).hasMatch();
    });
}

bool applyOne(const JobOption &option, const AppPaths &paths, const FrameList &frames, JobSettings &job,
    QStringList *warnings, QString *error)
{
    QString why;
    const QString label
        = option.spelling ? optionLabel(*option.spelling) : QStringLiteral("--set ") + option.field->name();
    if (option.spelling) {
        if (option.field->setTyped(job, *option.spelling, option.value, &why))
            return true;
        return fail(error, cliMessage(label + QStringLiteral(": ") + why));
    }
    // --set: checked like any value, then a key the settings file holds restores as it would from there.
    JobSettings checked = job;
    if (!option.field->setFromText(checked, option.value, &why))
        return fail(error, cliMessage(label + QStringLiteral(": ") + why));
    if (option.field->storage & kReadAtStart)
        *warnings << restoreStoredValues({{option.field->name(), option.value}}, paths, frames, job);
    else
        job = checked;
    return true;
}

} // namespace

std::span<const RunOption> runOptions()
{
    return runTable();
}

QString optionLabel(const CliSpelling &spelling)
{
    QStringList names;
    if (spelling.shortName)
        names << QStringLiteral("-") + QLatin1Char(spelling.shortName);
    if (spelling.longName)
        names << QStringLiteral("--") + QLatin1String(spelling.longName);
    return names.join(QLatin1Char('/'));
}

QString cliMessage(const QString &text)
{
    return QStringLiteral("tuvo-cli: ") + text;
}

bool parseCliOptions(const QStringList &args, CliOptions *out, QString *error)
{
    CliOptions o;
    if (!Parser(args, o, error).run())
        return false;
    *out = o;
    return true;
}

bool applyJobOptions(const CliOptions &options, const AppPaths &paths, const FrameList &frames,
    JobSettings &job, QStringList *warnings, QString *error)
{
    for (const JobField &f : jobFields()) {
        if (f.cliDefault.whenGiven && given(options, f.cliDefault.whenGiven) && !given(options, f.key))
            f.setTyped(job, f.cli.front(), QString::fromUtf8(f.cliDefault.typed), nullptr);
    }
    for (int order = 0; order <= 2; ++order) {
        for (const JobOption &option : options.jobOptions) {
            const int optionOrder = option.spelling ? option.spelling->order : 1;
            if (optionOrder == order && !applyOne(option, paths, frames, job, warnings, error))
                return false;
        }
    }
    // A height alone would be ignored by limit-width, one side alone of a box would be a guess.
    const bool width = given(options, "iTargetW");
    const bool height = given(options, "iTargetH");
    const bool box = job.iuSize == job.customSizeIndex() || job.iuSize == job.fitInsideIndex();
    if (height && !width && job.iuSize == kLimitWidth)
        return fail(error,
            cliMessage(QStringLiteral("-H: ")
                + QCoreApplication::translate(
                    "tuvo", "limit-width 只用宽度 -W; 要限制高度请用 --size custom 或 fit")));
    if (box && givenAs(options, "size") && !sizeHasDimensions(options) && width != height)
        return fail(error,
            cliMessage(QStringLiteral("--size: ")
                + QCoreApplication::translate("tuvo", "custom 和 fit 需要同时给出 -W 和 -H")));
    return true;
}
