// Shell completion for tuvo-cli, written at build time from the option tables,
// so that a new job field completes without anyone touching a script.
#include "app/cli_options.h"
#include "core/effect_presets.h"

#include <QCoreApplication>

namespace {

struct CompletedOption {
    QStringList names; // "-o", "--output"
    QString help;
    enum Value { None, Word, File, Folder } value = None;
    QStringList choices;
};

// What follows an option: a file, a folder, one of a few words, or anything.
CompletedOption completed(const CliSpelling &s)
{
    CompletedOption o;
    if (s.shortName)
        o.names << QStringLiteral("-") + QLatin1Char(s.shortName);
    if (s.longName)
        o.names << QStringLiteral("--") + QLatin1String(s.longName);
    o.help = cliHelp(s);
    if (!s.valueName)
        return o;
    const QString value = QString::fromUtf8(s.valueName);
    o.value = CompletedOption::Word;
    if (value.startsWith(QLatin1String("FILE")))
        o.value = CompletedOption::File;
    else if (value == QLatin1String("DIR") && qstrcmp(s.longName, "output") == 0)
        o.value = CompletedOption::Folder;
    else if (qstrcmp(s.longName, "set") == 0) {
        for (const JobField &f : jobFields())
            o.choices << f.name() + QLatin1Char('=');
    } else if (qstrcmp(s.longName, "size") == 0)
        o.choices = namedSizeModes();
    else if (qstrcmp(s.longName, "effect") == 0) {
        o.choices << QStringLiteral("none");
        for (int k = 0; k < kBrightnessPreset; ++k)
            o.choices << QString::fromUtf8(effectPresetName(k).data(), qsizetype(effectPresetName(k).size()));
    } else if (value.contains(QLatin1Char('|')) && !value.contains(QLatin1Char(' ')))
        o.choices = value.split(QLatin1Char('|'));
    return o;
}

QList<CompletedOption> allOptions()
{
    QList<CompletedOption> options;
    for (const RunOption &r : runOptions())
        options << completed(r.spelling);
    for (const JobField &f : jobFields()) {
        for (const CliSpelling &s : f.cli)
            options << completed(s);
    }
    return options;
}

// Text inside single quotes of a shell script.
QString quoted(QString text)
{
    return text.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
}

QString bashScript()
{
    QString words, cases;
    for (const CompletedOption &o : allOptions()) {
        words += o.names.join(QLatin1Char(' ')) + QLatin1Char(' ');
        if (o.value == CompletedOption::None)
            continue;
        QString action = QStringLiteral("return");
        if (o.value == CompletedOption::File)
            action = QStringLiteral("COMPREPLY=($(compgen -f -- \"$cur\")); return");
        else if (o.value == CompletedOption::Folder)
            action = QStringLiteral("COMPREPLY=($(compgen -d -- \"$cur\")); return");
        else if (!o.choices.isEmpty())
            action = QStringLiteral("COMPREPLY=($(compgen -W '%1' -- \"$cur\")); return")
                         .arg(quoted(o.choices.join(QLatin1Char(' '))));
        cases += QStringLiteral("        %1) %2 ;;\n").arg(o.names.join(QLatin1Char('|')), action);
    }
    return QStringLiteral("# bash completion for tuvo-cli, written from its option table.\n"
                          "_tuvo_cli()\n{\n"
                          "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                          "    COMPREPLY=()\n"
                          "    case $prev in\n")
        + cases
        + QStringLiteral("    esac\n"
                         "    if [[ $cur == -* ]]; then\n"
                         "        COMPREPLY=($(compgen -W '%1' -- \"$cur\"))\n"
                         "        return\n"
                         "    fi\n"
                         "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
                         "}\n"
                         "complete -o filenames -F _tuvo_cli tuvo-cli\n")
              .arg(quoted(words.trimmed()));
}

QString zshScript()
{
    QString descriptions;
    for (const CompletedOption &o : allOptions()) {
        // Brackets and colons end the fields of a zsh option description.
        QString help = o.help;
        help.replace(QLatin1Char('['), QLatin1Char('(')).replace(QLatin1Char(']'), QLatin1Char(')'));
        help.replace(QLatin1Char(':'), QLatin1Char(' ')).replace(QLatin1Char('\\'), QLatin1Char('/'));
        QString action;
        if (o.value == CompletedOption::File)
            action = QStringLiteral(":file:_files");
        else if (o.value == CompletedOption::Folder)
            action = QStringLiteral(":folder:_files -/");
        else if (!o.choices.isEmpty())
            action = QStringLiteral(":value:(%1)").arg(o.choices.join(QLatin1Char(' ')));
        else if (o.value == CompletedOption::Word)
            action = QStringLiteral(":value: ");
        const QString names = o.names.size() > 1
            ? QStringLiteral("(%1)'{%2}'").arg(o.names.join(QLatin1Char(' ')), o.names.join(QLatin1Char(',')))
            : o.names.value(0);
        descriptions += QStringLiteral("    '%1[%2]%3' \\\n").arg(names, quoted(help), quoted(action));
    }
    return QStringLiteral("#compdef tuvo-cli\n# zsh completion for tuvo-cli, written from its option table.\n"
                          "_arguments -s -S \\\n")
        + descriptions + QStringLiteral("    '*:input:_files'\n");
}

} // namespace

QString cliCompletion(const QString &shell)
{
    if (shell == QLatin1String("bash"))
        return bashScript();
    if (shell == QLatin1String("zsh"))
        return zshScript();
    return QString();
}
