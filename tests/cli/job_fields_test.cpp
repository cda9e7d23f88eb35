// Every row of the job-field table: its stored text comes back through a job
// file, and every value outside its range is refused naming the option typed.
#include "cli_options.h"
#include "fs/app_paths.h"
#include "job/frame_list.h"
#include "job/job_file.h"
#include "settings/ui_language.h"
#include "terminal_text.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A value of the field that is not its default: the top of its range, its last name.
QString sampleText(const JobField &field, const QString &pictureFile)
{
    if (field.name() == QLatin1String("iuSize") || field.name() == QLatin1String("iuBk"))
        return QStringLiteral("1");
    if (field.name() == QLatin1String("sFrameFile") || field.name() == QLatin1String("suISyF"))
        return pictureFile;
    if (field.name() == QLatin1String("sngColorMatrix")) {
        QStringList numbers;
        for (int k = 0; k < 25; ++k)
            numbers << QString::number(k - 12);
        return numbers.join(QLatin1Char(','));
    }
    if (std::holds_alternative<bool JobSettings::*>(field.member))
        return QStringLiteral("True");
    if (!field.names.empty())
        return std::holds_alternative<int JobSettings::*>(field.member)
            ? QString::number(field.max, 'f', 0)
            : QString::fromUtf8(field.names.back());
    if (field.hasRange())
        return QString::number(field.max, 'f', 0);
    return QStringLiteral("样例 ") + field.name();
}

struct Outcome {
    bool ok = false;
    QString error;
};

Outcome run(const QStringList &args)
{
    static const QTemporaryDir data;
    CliOptions options;
    Outcome r;
    if (!parseCliOptions(args, &options, &r.error))
        return r;
    FrameList frames;
    QStringList warnings;
    JobSettings job;
    r.ok = applyJobOptions(options, AppPaths::at(data.path(), data.path()), frames, job, &warnings, &r.error);
    return r;
}

} // namespace

TEST(JobFieldTable, EveryFieldRoundTripsThroughAJobFileAndRefusesWhatItCannotHold)
{
    QTemporaryDir dir;
    const AppPaths paths = AppPaths::at(dir.path(), dir.path());
    const QString picture = dir.filePath(QStringLiteral("logo.png"));
    QFile(picture).open(QIODevice::WriteOnly);
    FrameList frames;
    frames.loadFolder(paths.bkDir());

    JobSettings job;
    for (const JobField &field : jobFields()) {
        QString why;
        EXPECT_TRUE(field.setFromText(job, sampleText(field, picture), &why))
            << field.key << ": " << why.toStdString();
    }
    const QString file = dir.filePath(QStringLiteral("all.ini"));
    ASSERT_TRUE(writeJobFile(job, file, true, nullptr));
    JobSettings loaded;
    const JobFileLoad load = readJobFile(file, paths, frames, loaded);
    ASSERT_TRUE(load.loaded);
    EXPECT_TRUE(load.messages.isEmpty()) << load.messages.join(QLatin1Char('\n')).toStdString();
    for (const JobField &field : jobFields()) {
        // Size and frame are chosen through their lists, which are empty here.
        if (!(field.storage & kInJobFile) || field.restoreEffect == RestoreEffect::ChooseSizeMode
            || field.restoreEffect == RestoreEffect::ChooseFrame)
            continue;
        EXPECT_EQ(field.storedText(loaded).toStdString(), field.storedText(job).toStdString()) << field.key;
    }

    for (const JobField &field : jobFields()) {
        const QString setKey = QStringLiteral("--set ") + field.name();
        if (field.hasRange()) {
            const QString tooLarge = QString::number(field.max + 1, 'f', 0);
            const Outcome set = run({QStringLiteral("--set"), field.name() + QLatin1Char('=') + tooLarge});
            EXPECT_FALSE(set.ok) << field.key;
            EXPECT_TRUE(set.error.startsWith(QStringLiteral("tuvo-cli: ") + setKey + QStringLiteral(": ")))
                << set.error.toStdString();
        }
        for (const CliSpelling &spelling : field.cli) {
            if (!spelling.valueName || spelling.set || (!field.hasRange() && field.names.empty()))
                continue;
            const QString bad
                = field.names.empty() ? QString::number(field.max + 1, 'f', 0) : QStringLiteral("bogus");
            const QString typed = spelling.longName ? QStringLiteral("--") + QLatin1String(spelling.longName)
                                                    : QStringLiteral("-") + QLatin1Char(spelling.shortName);
            const Outcome r = run({typed, bad});
            EXPECT_FALSE(r.ok) << typed.toStdString();
            EXPECT_TRUE(r.error.startsWith(
                QStringLiteral("tuvo-cli: ") + optionLabel(spelling) + QStringLiteral(": ")))
                << r.error.toStdString();
            EXPECT_TRUE(r.error.contains(field.allowed())) << r.error.toStdString();
        }
    }
    EXPECT_EQ(run({QStringLiteral("-q"), QStringLiteral("101")}).error,
        QStringLiteral("tuvo-cli: -q/--quality: 101 不在 0..100 之内"));
}

// Every option of --help is in the man page, with the same help text; the help
// fits 80 columns (Chinese characters take two) in both languages without a
// word cut in two.
TEST(JobFieldTable, HelpAndManPageListTheSameOptions)
{
    const auto withoutSpaces = [](QString text) {
        return text.remove(QRegularExpression(QStringLiteral("\\s")));
    };
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Chinese}) {
        installUiLanguage(*QCoreApplication::instance(), language);
        const QString help = cliHelpText(80);
        const QStringList lines = help.split(QLatin1Char('\n'));
        for (const QString &line : lines)
            EXPECT_LE(displayColumns(line), 80) << line.toStdString();
        // Without the break points troff needs between Chinese characters.
        const QString man
            = cliManPage(QStringLiteral(".TH T 1\n@OPTIONS@\n.SH SEE ALSO\n")).remove(QStringLiteral("\\:"));
        const auto check = [&](const CliSpelling &s) {
            if (s.longName) {
                const QString name = QString::fromLatin1(s.longName);
                EXPECT_TRUE(help.contains(QStringLiteral("--") + name)) << s.longName;
                EXPECT_TRUE(man.contains(
                    QStringLiteral("\\-\\-") + QString(name).replace(QLatin1Char('-'), QLatin1String("\\-"))))
                    << s.longName;
            }
            const QString text = cliHelp(s);
            EXPECT_TRUE(withoutSpaces(help).contains(withoutSpaces(text))) << s.help;
            for (const QString &word :
                text.split(QRegularExpression(QStringLiteral("[ |]")), Qt::SkipEmptyParts)) {
                if (word.size() > 1 && displayColumns(word) == word.size()) {
                    EXPECT_TRUE(std::any_of(
                        lines.begin(), lines.end(), [&](const QString &l) { return l.contains(word); }))
                        << "cut: " << word.toStdString();
                }
            }
            EXPECT_TRUE(man.contains(QString(text).replace(QLatin1Char('-'), QLatin1String("\\-"))))
                << s.help;
        };
        for (const RunOption &r : runOptions())
            check(r.spelling);
        for (const JobField &f : jobFields())
            for (const CliSpelling &s : f.cli)
                check(s);
        EXPECT_TRUE(man.endsWith(QStringLiteral(".SH SEE ALSO\n")));
    }
}
