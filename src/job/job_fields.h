#pragma once

#include "job/job_settings.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <span>
#include <variant>
#include <vector>

class FrameList;

// Every job field in one table: its stored name, range, when it is stored, what
// restoring it does, and how it is spelled on tuvo-cli's command line. Settings
// restore and save, job files, --set, the command-line parser, --help and the
// man page all walk this table, so a field is described once.

// When a field reaches the desktop program's settings store (flags).
enum FieldStorage : unsigned {
    kNotStored = 0,
    kReadAtStart = 1, // restored at start-up, in table order, with its restore effect
    kSavedAtShutdown = 2,
    kSavedByOptions = 4, // the options dialog's OK
    kSavedInAccount = 8, // the upload account group
    kInJobFile = 16, // written into saved jobs and read back from them
};

// What restoring a stored value does beside (or instead of) setting the field:
// the size and frame lists' selection handlers, the switches a non-empty
// watermark turns on.
enum class RestoreEffect {
    None,
    ChooseSizeMode, // index checked against the size list, then chosen as the list does
    ChooseFrame, // a frame of the list or "no frame"; anything else is ignored
    TextMarkAtCustomPlace, // a non-empty text turns the watermark on at iuTSyX/iuTSyY
    PictureMarkAtCustomPlace, // a non-empty file turns the watermark on at iuISyX/iuISyY
};

// How a stored number outside the field's range is taken when restoring.
enum class StoredRange {
    AsConverted, // the conversion alone decides: unconvertible text gives 0
    DefaultOutside, // the default instead
    WarnOutside, // the default instead, with a warning line naming the value
};

// What the window's shutdown writes for a kSavedAtShutdown field.
enum class ShutdownValue {
    Field, // the field's stored text
    ChosenFrame, // the field, unless one of the frame list's two command entries is chosen
    ShownOpacity, // the number the opacity box shows, and only when it changed since start-up
};

// A value the command line gives a field when another field's option is given
// without this field's own: a watermark without a place goes where people expect one.
struct CliDefault {
    const char *whenGiven = nullptr; // key of the other field
    const char *typed = nullptr; // as if typed after this field's first option
};

// The groups of tuvo-cli's help, in the order shown.
enum class HelpSection {
    InputOutput,
    Format,
    Jobs,
    Size,
    FrameAndMarks,
    Adjust,
    AfterRun,
    Upload,
    Scripts,
    Other
};

// Sets a field from the value typed after an option; false with *why (the reason
// alone, without the option's name) when it does not fit.
using TypedSetter = bool (*)(JobSettings &job, const QString &typed, QString *why);

// One way of giving a field on the command line.
struct CliSpelling {
    const char *longName = nullptr; // "quality" for --quality
    char shortName = 0; // 'q' for -q, 0: none
    const char *valueName = nullptr; // shown in help ("0-100"); nullptr: a switch without value
    const char *switchValue = nullptr; // the stored text a switch sets
    const char *help = nullptr; // source text of the help line ("tuvo" context)
    HelpSection section = HelpSection::Other;
    TypedSetter set = nullptr; // nullptr: the field's names, else its stored text
    int order = 1; // 0: applied before other options (the size mode), 2: after them (-W, -H)
};

using FieldMember
    = std::variant<int JobSettings::*, double JobSettings::*, float JobSettings::*, QString JobSettings::*,
        bool JobSettings::*, ColourMatrix JobSettings::*, std::optional<int> JobSettings::*>;

struct JobField {
    const char *key; // the stored name, also accepted by --set
    FieldMember member;
    double min = 1; // numbers (also whole numbers kept as text) lie in min..max;
    double max = 0; // min > max: any finite number
    std::vector<const char *> names
        = {}; // command-line names by value (int) or allowed texts; "" skips a value
    unsigned storage = kInJobFile;
    StoredRange storedRange = StoredRange::AsConverted;
    RestoreEffect restoreEffect = RestoreEffect::None;
    ShutdownValue atShutdown = ShutdownValue::Field;
    void (*follow)(JobSettings &job) = nullptr; // what a new value brings along in other fields
    std::vector<CliSpelling> cli = {};
    CliDefault cliDefault = {};

    QString name() const { return QString::fromLatin1(key); }
    bool hasRange() const { return min <= max; }
    // The value as the settings store and job files hold it.
    QString storedText(const JobSettings &job) const;
    // Sets the field from a stored text, checking type and range; false with *why.
    bool setFromText(JobSettings &job, const QString &text, QString *why) const;
    // The same from what was typed after one of the field's options.
    bool setTyped(JobSettings &job, const CliSpelling &spelling, const QString &typed, QString *why) const;
    // "0..100", "keep|no-location|strip": what the field takes, for messages.
    QString allowed() const;
    // The default as help shows it: the command line's own default when it has
    // one, else the stored text of a fresh job's value.
    QString defaultText() const;
};

std::span<const JobField> jobFields();
const JobField *findJobField(const QString &key);
// The field and spelling of --name (longName) or -c (shortName).
struct CliField {
    const JobField *field = nullptr;
    const CliSpelling *spelling = nullptr;
};
CliField findCliLong(const QString &longName);
CliField findCliShort(QChar shortName);
// The translated help of an option; "%1" in it stands for its field's default.
QString cliHelp(const CliSpelling &spelling);

// Stored texts by key as a settings store or job file holds them; nullopt: absent.
using StoredLookup = std::function<std::optional<QString>(const QString &key)>;

// Restores the fields read at start-up, in table order, with their effects. An
// absent key takes its value from defaults (the job a fresh start begins with)
// unless onlyPresent, when it is left alone. frames is the filled frame list;
// job must already hold its SizePresets. Returns the warning lines.
QStringList restoreStoredFields(const StoredLookup &stored, const JobSettings &defaults,
    const FrameList &frames, JobSettings &job, bool onlyPresent);

// Keys of the fields with one of the storage flags, in table order.
QStringList storedFieldKeys(unsigned storage);

// A whole number of text in min..max (any int when min > max); false with *why.
bool wholeNumberIn(const QString &text, double min, double max, int *out, QString *why);

// Reasons for refused values, shared with the command line's own options.
namespace fieldtexts {
QString notInRange(const QString &value, const QString &range);
QString notANumber(const QString &value);
QString notOneOf(const QString &value, const QString &choices);
} // namespace fieldtexts
