#include "settings/job_restore.h"

#include "batch/file_names.h"
#include "batch/size_presets.h"
#include "settings/app_paths.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

JobSettings startJobSettings(const AppPaths &paths)
{
    JobSettings job;
    job.SizePresets = readSizePresets(paths.sizeIni());
    job.sOutDir = QDir::toNativeSeparators(paths.zpDir());
    job.sODIR = QDir::toNativeSeparators(paths.dataDir());
    job.sPDF3 = chineseDate(QDate::currentDate());
    job.sPrefix = QStringLiteral("Tuvo_");
    job.sFrameFile.clear();
    job.suISyF.clear();
    job.sngMarkScale = 1.0f;
    chooseSizeMode(job, kLimitWidth);
    return job;
}

namespace {

struct RestoreContext {
    const AppPaths &paths;
    const FrameList &frames;
    JobSettings &job;
    RestoredSettings &restored;
};

using RestoreRow = std::pair<QString, std::function<void(const OptionsStore &, RestoreContext &)>>;

// Values no control could have stored start safe instead of placing things nowhere.
double safeFraction(double fraction)
{
    return std::isfinite(fraction) && std::abs(fraction) <= 1000 ? fraction : 0;
}

RestoreRow int16Row(const QString &key, int JobSettings::*field, int fallback)
{
    return {key, [=](const OptionsStore &s, RestoreContext &c) {
                c.job.*field = s.int16(key, fallback);
            }};
}

RestoreRow textRow(const QString &key, QString JobSettings::*field, const QString &fallback)
{
    return {key, [=](const OptionsStore &s, RestoreContext &c) {
                c.job.*field = s.text(key, fallback);
            }};
}

RestoreRow boolRow(const QString &key, bool JobSettings::*field)
{
    return {key, [=](const OptionsStore &s, RestoreContext &c) {
                c.job.*field = s.boolean(key, false);
            }};
}

// A cut mode beyond 0-2 would crop nowhere: start from the default.
RestoreRow cutModeRow(const QString &key, int JobSettings::*field, int fallback)
{
    return {key, [=](const OptionsStore &s, RestoreContext &c) {
                const int mode = s.int16(key, fallback);
                c.job.*field = mode >= 0 && mode <= 2 ? mode : fallback;
            }};
}

// Every stored key in start-up order with the side effects of restoring it.
const std::vector<RestoreRow> &restoreRows()
{
    static const std::vector<RestoreRow> rows = {
        {QStringLiteral("sSkinFileName"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.restored.sSkinFileName = s.text(QStringLiteral("sSkinFileName"),
                    QDir(c.paths.skinDir()).filePath(QStringLiteral("浅蓝(默认).she")));
            }},
        {QStringLiteral("sODIR"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.sODIR = s.text(QStringLiteral("sODIR"), QDir::toNativeSeparators(c.paths.dataDir()));
            }},
        {QStringLiteral("iuSYAlpha"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.restored.alphaAtStart = s.int16(QStringLiteral("iuSYAlpha"), 80);
                // An opacity beyond 0-100 is no opacity at all: start from the default.
                const int alpha = c.restored.alphaAtStart;
                c.job.setMarkAlpha(alpha >= 0 && alpha <= 100 ? alpha : 80);
            }},
        {QStringLiteral("bShowToday"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.restored.bShowToday = s.int16(QStringLiteral("bShowToday"), 1);
            }},
        // Both lists are filled by now: choosing runs each list's own handler.
        {QStringLiteral("iuSize"),
            [](const OptionsStore &s, RestoreContext &c) {
                const int size = s.int16(QStringLiteral("iuSize"), 0);
                if (size >= 0 && size <= c.job.fitInsideIndex()) {
                    chooseSizeMode(c.job, size);
                    pickFrameForFitMode(c.job, c.frames);
                }
            }},
        {QStringLiteral("iuBk"),
            [](const OptionsStore &s, RestoreContext &c) {
                const int bk = s.int16(QStringLiteral("iuBk"), 0);
                if (c.frames.isFrame(bk) || bk == 0)
                    chooseFrame(c.job, c.frames, bk);
            }},
        {QStringLiteral("sText"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.sText = s.text(QStringLiteral("sText"), QString());
                if (!c.job.sText.isEmpty()) {
                    c.job.iuTSyX = safeFraction(s.single(QStringLiteral("iuTSyX"), 0));
                    c.job.iuTSyY = safeFraction(s.single(QStringLiteral("iuTSyY"), 0));
                    c.job.bTextMark = 1;
                    c.job.iuTxtPos = kCustom;
                }
            }},
        {QStringLiteral("iSize"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.iSize = s.int16(QStringLiteral("iSize"), 9);
            }},
        textRow(QStringLiteral("sFont"), &JobSettings::sFont, QStringLiteral("宋体")),
        {QStringLiteral("lColor"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.lColor = s.int32(QStringLiteral("lColor"), 0);
            }},
        boolRow(QStringLiteral("sBold"), &JobSettings::sBold),
        boolRow(QStringLiteral("sUnderline"), &JobSettings::sUnderline),
        boolRow(QStringLiteral("sItalic"), &JobSettings::sItalic),
        {QStringLiteral("suISyF"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.suISyF = s.text(QStringLiteral("suISyF"), QString());
                if (!c.job.suISyF.isEmpty()) {
                    c.job.iuISyX = safeFraction(s.single(QStringLiteral("iuISyX"), 0));
                    c.job.iuISyY = safeFraction(s.single(QStringLiteral("iuISyY"), 0));
                    c.job.bPicMark = 1;
                    c.job.iuImgPos = kCustom;
                }
            }},
        // A quality the options dialog would refuse falls back to the default, said once.
        {QStringLiteral("iJPGQ"),
            [](const OptionsStore &s, RestoreContext &c) {
                const QString stored = s.text(QStringLiteral("iJPGQ"), QStringLiteral("100"));
                const std::optional<qint64> quality = wholeNumberFromText(stored, 0, 100);
                c.job.iJPGQ = int(quality.value_or(100));
                if (!quality) {
                    c.restored.warnings << QCoreApplication::translate(
                        "tuvo", "设置项iJPGQ的值“%1”不是0到100之间的JPG质量,已改用默认值100。")
                                               .arg(shownName(stored));
                }
            }},
        {QStringLiteral("iSlideTime"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.restored.iSlideTime = s.int16(QStringLiteral("iSlideTime"), 3);
            }},
        int16Row(QStringLiteral("bPicJQ"), &JobSettings::bPicJQ, 1),
        int16Row(QStringLiteral("bAutoODir"), &JobSettings::bAutoODir, 1),
        int16Row(QStringLiteral("bAutoURL"), &JobSettings::bAutoURL, 1),
        int16Row(QStringLiteral("bShowURL"), &JobSettings::bShowURL, 1),
        int16Row(QStringLiteral("bShowURLPic"), &JobSettings::bShowURLPic, 1),
        int16Row(QStringLiteral("bSaveErr"), &JobSettings::bSaveErr, 0),
        cutModeRow(QStringLiteral("iXCutMode"), &JobSettings::iXCutMode, 1),
        cutModeRow(QStringLiteral("iYCutMode"), &JobSettings::iYCutMode, 0),
        int16Row(QStringLiteral("bChkResizeOpt"), &JobSettings::bChkResizeOpt, 0),
        {QStringLiteral("iMetadata"),
            [](const OptionsStore &s, RestoreContext &c) {
                const int choice = s.int16(QStringLiteral("iMetadata"), kKeepWithoutLocation);
                c.job.iMetadata
                    = choice >= kKeepMetadata && choice <= kStripMetadata ? choice : kKeepWithoutLocation;
            }},
        {QStringLiteral("iColorProfile"),
            [](const OptionsStore &s, RestoreContext &c) {
                const int choice = s.int16(QStringLiteral("iColorProfile"), kKeepProfile);
                c.job.iColorProfile = choice == kConvertToSrgb ? kConvertToSrgb : kKeepProfile;
            }},
        // The defaults are texts of the interface language at restore time, not at the table's start.
        {QStringLiteral("sPDF1"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.sPDF1
                    = s.text(QStringLiteral("sPDF1"), QCoreApplication::translate("tuvo", "Tuvo图片集"));
            }},
        {QStringLiteral("sPDF2"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.sPDF2 = s.text(QStringLiteral("sPDF2"),
                    QCoreApplication::translate("tuvo", "本图片集由Tuvo图片批量处理软件制作"));
            }},
        {QStringLiteral("sPDF3"),
            [](const OptionsStore &s, RestoreContext &c) {
                c.job.sPDF3 = s.text(QStringLiteral("sPDF3"), chineseDate(QDate::currentDate()));
            }},
        // Not one of the original keys: what to do with an output name that exists.
        {QStringLiteral("iOnClash"),
            [](const OptionsStore &s, RestoreContext &c) {
                const int policy = s.int16(QStringLiteral("iOnClash"), kClashOverwrite);
                c.job.iOnClash = policy >= kClashOverwrite && policy <= kClashFail ? policy : kClashOverwrite;
            }},
    };
    return rows;
}

} // namespace

RestoredSettings restoreJobSettings(
    QSettings &settings, const AppPaths &paths, const FrameList &frames, JobSettings &job)
{
    const OptionsStore s(settings);
    RestoredSettings r;
    RestoreContext context {paths, frames, job, r};
    for (const auto &[key, restore] : restoreRows())
        restore(s, context);
    for (const QString &line : r.warnings)
        qWarning("%s", qPrintable(line));
    return r;
}

std::optional<QStringList> restoreStoredValue(const QString &key, const QString &value, const AppPaths &paths,
    const FrameList &frames, JobSettings &job)
{
    if (!isStoredKey(key))
        return std::nullopt;
    return restoreStoredValues({{key, value}}, paths, frames, job);
}

bool isStoredKey(const QString &key)
{
    const auto &rows = restoreRows();
    return std::any_of(rows.begin(), rows.end(), [&key](const RestoreRow &r) { return r.first == key; });
}

QStringList restoreStoredValues(const QList<std::pair<QString, QString>> &values, const AppPaths &paths,
    const FrameList &frames, JobSettings &job)
{
    // The rows read from a store that holds these keys, as a settings file would.
    QTemporaryDir scratch;
    QSettings settings(scratch.filePath(QStringLiteral("set.ini")), QSettings::IniFormat);
    QStringList given;
    for (const auto &[key, value] : values) {
        settings.setValue(QStringLiteral("Options/") + key, value);
        given << key;
    }
    RestoredSettings r;
    RestoreContext context {paths, frames, job, r};
    const OptionsStore store(settings);
    for (const auto &[key, restore] : restoreRows()) {
        if (given.contains(key))
            restore(store, context);
    }
    return r.warnings;
}

JobSettings loadJobFromSettings(QSettings &settings, const AppPaths &paths)
{
    JobSettings job = startJobSettings(paths);
    FrameList frames;
    frames.loadFolder(paths.bkDir());
    restoreJobSettings(settings, paths, frames, job);
    return job;
}

QString desktopSettingsName()
{
    return QStringLiteral("tuvo");
}

JobSettings loadJobFromDesktopSettings(const AppPaths &paths)
{
    const std::unique_ptr<QSettings> store = openSettingsStore(desktopSettingsName());
    return loadJobFromSettings(*store, paths);
}

void saveAtShutdown(QSettings &settings, const JobSettings &job, int frameListCount,
    const QString &opacityText, int alphaAtStart)
{
    OptionsStore s(settings);
    s.setInt(QStringLiteral("iuSize"), job.iuSize);
    if (job.iuBk != frameListCount - 1 && job.iuBk != frameListCount - 2)
        s.setInt(QStringLiteral("iuBk"), job.iuBk);
    const int alpha = leadingNumber(opacityText);
    if (alpha != alphaAtStart)
        s.setInt(QStringLiteral("iuSYAlpha"), alpha);
    s.setText(QStringLiteral("suISyF"), job.suISyF);
    s.setDouble(QStringLiteral("iuISyX"), job.iuISyX);
    s.setDouble(QStringLiteral("iuISyY"), job.iuISyY);
    s.setText(QStringLiteral("sText"), job.sText);
    s.setInt(QStringLiteral("iSize"), job.iSize);
    s.setText(QStringLiteral("sFont"), job.sFont);
    s.setInt(QStringLiteral("lColor"), job.lColor);
    s.setBool(QStringLiteral("sBold"), job.sBold);
    s.setBool(QStringLiteral("sUnderline"), job.sUnderline);
    s.setBool(QStringLiteral("sItalic"), job.sItalic);
    s.setDouble(QStringLiteral("iuTSyX"), job.iuTSyX);
    s.setDouble(QStringLiteral("iuTSyY"), job.iuTSyY);
    s.sync();
}

void storeRememberedFolder(QSettings &settings, const QString &folder)
{
    OptionsStore s(settings);
    s.setText(QStringLiteral("sODIR"), folder);
    s.sync();
}
