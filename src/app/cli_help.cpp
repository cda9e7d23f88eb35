// --help and the man page, both written from the option tables.
#include "app/cli_options.h"
#include "app/terminal_text.h"

#include <QCoreApplication>

#include <map>
#include <vector>

namespace {

using S = HelpSection;

QString sectionTitle(HelpSection section)
{
    switch (section) {
    case S::InputOutput:
        return QCoreApplication::translate("tuvo", "输入和输出");
    case S::Format:
        return QCoreApplication::translate("tuvo", "格式和文件名");
    case S::Jobs:
        return QCoreApplication::translate("tuvo", "作业");
    case S::Size:
        return QCoreApplication::translate("tuvo", "尺寸");
    case S::FrameAndMarks:
        return QCoreApplication::translate("tuvo", "边框和水印");
    case S::Adjust:
        return QCoreApplication::translate("tuvo", "调整和特效");
    case S::AfterRun:
        return QCoreApplication::translate("tuvo", "完成后");
    case S::Upload:
        return QCoreApplication::translate("tuvo", "上传");
    case S::Scripts:
        return QCoreApplication::translate("tuvo", "脚本和多台机器");
    case S::Other:
        break;
    }
    return QCoreApplication::translate("tuvo", "其他");
}

// Every option of both tables by section, run options first within a section.
std::map<HelpSection, std::vector<const CliSpelling *>> optionsBySection()
{
    std::map<HelpSection, std::vector<const CliSpelling *>> sections;
    for (const RunOption &r : runOptions())
        sections[r.spelling.section].push_back(&r.spelling);
    for (const JobField &f : jobFields()) {
        for (const CliSpelling &s : f.cli)
            sections[s.section].push_back(&s);
    }
    return sections;
}

QString helpOf(const CliSpelling &s)
{
    return cliHelp(s);
}

QString usageLine()
{
    return QCoreApplication::translate("tuvo", "用法: tuvo-cli [选项] 输入...");
}

// Text for a man page line: hyphens are minus signs, a leading dot is no request.
QString roff(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\e"));
    text.replace(QLatin1Char('-'), QLatin1String("\\-"));
    if (text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('\'')))
        text.prepend(QLatin1String("\\&"));
    return text;
}

} // namespace

QString cliUsageText()
{
    return usageLine() + QLatin1Char('\n')
        + QCoreApplication::translate("tuvo", "请用 tuvo-cli --help 查看全部选项。") + QLatin1Char('\n');
}

namespace {

// One paragraph broken to the width, every line after the first indented.
QString wrapped(const QString &text, int columns, int indent, int firstUsed = 0)
{
    QString out;
    const QStringList lines = wrapToColumns(text, qMax(20, columns - indent));
    for (int k = 0; k < lines.size(); ++k) {
        if (k > 0 || firstUsed < indent)
            out += QString(k > 0 ? indent : indent - firstUsed, QLatin1Char(' '));
        out += lines[k] + QLatin1Char('\n');
    }
    return out;
}

// A shell command too long for a line goes on with " \" as a person would type it.
QString wrappedCommand(const QString &command, int columns)
{
    QString out;
    QString line;
    for (const QString &word : command.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool first = line.isEmpty();
        if (!first && displayColumns(line) + 1 + displayColumns(word) + 2 > columns) {
            out += line + QStringLiteral(" \\\n");
            line = QString(6, QLatin1Char(' ')) + word;
        } else {
            line += (first ? QStringLiteral("  ") : QStringLiteral(" ")) + word;
        }
    }
    return out + line + QLatin1Char('\n');
}

} // namespace

QString cliHelpText(int columns)
{
    constexpr int kHelpColumn = 26;
    QString text = wrapped(usageLine(), columns, 0)
        + wrapped(QCoreApplication::translate("tuvo",
                      "Tuvo图片批量处理 - 命令行版。输入可以是图片文件、文件夹(其中的图片)或 .docx "
                      "文档(其中的图片); \"-\" 为标准输入的一张图片。"),
            columns, 0);
    for (const auto &[section, options] : optionsBySection()) {
        text += QLatin1Char('\n') + sectionTitle(section) + QStringLiteral(":\n");
        for (const CliSpelling *s : options) {
            QString left
                = s->shortName ? QStringLiteral("  -") + QLatin1Char(s->shortName) : QStringLiteral("    ");
            if (s->longName)
                left += (s->shortName ? QStringLiteral(", --") : QStringLiteral("  --"))
                    + QLatin1String(s->longName);
            if (s->valueName)
                left += QLatin1Char(' ') + QString::fromUtf8(s->valueName);
            // A long option name gets a line of its own, its help starts below.
            const int used = displayColumns(left);
            if (used > kHelpColumn - 2 || used > columns) {
                text += used <= columns ? left + QLatin1Char('\n') : wrapped(left.trimmed(), columns, 2);
                text += wrapped(helpOf(*s), columns, kHelpColumn);
            } else {
                text += left + wrapped(helpOf(*s), columns, kHelpColumn, used);
            }
        }
    }
    text += QLatin1Char('\n')
        + wrapped(QCoreApplication::translate("tuvo",
                      "退出状态: 0 没有错误; 1 有图片处理、保存或上传失败(错误报告输出到标准错误); "
                      "2 任务无法开始; 130 被 Ctrl-C 停止, 143 被 SIGTERM 停止(正在处理的图片写完)。"),
            columns, 0)
        + QLatin1Char('\n');
    text += QCoreApplication::translate("tuvo", "示例:") + QLatin1Char('\n');
    const QStringList examples = {
        QStringLiteral("tuvo-cli -o out photos/"),
        QStringLiteral("tuvo-cli -R -o out --size 1024x768 --extend photos/"),
        QStringLiteral("tuvo-cli -o out --longest 1600 -q85 --name '%s_small' photos/"),
        QCoreApplication::translate("tuvo",
            "tuvo-cli -o out --text '#JPG照片拍摄时间#' --font 黑体 --font-size 24 --color '#FFFFFF' a.jpg"),
        QCoreApplication::translate("tuvo",
            "tuvo-cli -o out --mark logo.png --opacity 60 --mark-pos 0.9,0.9 --rename 旅行_ --digits 3 "
            "photos/"),
        QStringLiteral("tuvo-cli -o out --effect grey --rotate auto -f png -j2 photos/"),
        QStringLiteral("tuvo-cli -f webp -o - - < in.jpg > out.webp"),
    };
    for (const QString &example : examples)
        text += wrappedCommand(example, columns);
    return text;
}

QString cliManPage(const QString &manTemplate)
{
    QString options;
    for (const auto &[section, spellings] : optionsBySection()) {
        options += QStringLiteral(".SH ") + roff(sectionTitle(section).toUpper()) + QLatin1Char('\n');
        for (const CliSpelling *s : spellings) {
            QStringList names;
            if (s->shortName)
                names << QStringLiteral("\\fB\\-") + QLatin1Char(s->shortName) + QStringLiteral("\\fR");
            if (s->longName)
                names << QStringLiteral("\\fB\\-\\-") + roff(QString::fromLatin1(s->longName))
                        + QStringLiteral("\\fR");
            QString head = names.join(QStringLiteral(", "));
            if (s->valueName)
                head += QStringLiteral(" \\fI") + roff(QString::fromUtf8(s->valueName))
                    + QStringLiteral("\\fR");
            options
                += QStringLiteral(".TP\n") + head + QLatin1Char('\n') + roff(helpOf(*s)) + QLatin1Char('\n');
        }
    }
    QString page = manTemplate;
    page.replace(QStringLiteral("@OPTIONS@\n"), options);
    // troff breaks lines only at spaces; a line of Chinese or a list of choices
    // a|b|c has none, so every wide character and bar is followed by an
    // invisible break point.
    QStringList lines = page.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.startsWith(QLatin1Char('.')) || line.startsWith(QLatin1Char('\'')))
            continue;
        QString broken;
        for (char32_t c : line.toStdU32String()) {
            broken += QString::fromStdU32String(std::u32string(1, c));
            if (displayColumns(c) == 2 || c == U'|')
                broken += QStringLiteral("\\:");
        }
        line = broken;
    }
    return lines.join(QLatin1Char('\n'));
}
