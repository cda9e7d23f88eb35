#include "job/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>

#include <cmath>

namespace {
const QString kGroup = QStringLiteral("Options");

QString userConfigFolder()
{
    // The folder QSettings uses is found through a store of a name nobody has,
    // which reads nothing.
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, QStringLiteral(".tuvo-probe"),
        QStringLiteral(".tuvo-probe"));
    return QFileInfo(QFileInfo(probe.fileName()).absolutePath()).absolutePath();
}

} // namespace

std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName)
{
    // QSettings reads its file as it is made, and a FIFO or device in the file's
    // place would stall every start: such a file is neither read nor written.
    const QString ini = applicationName + QStringLiteral(".ini");
    const auto unusable = [&ini](const QString &file) -> std::unique_ptr<QSettings> {
        const QFileInfo info(file);
        if (!info.exists() || info.isFile())
            return nullptr;
        qWarning("%s: %s", qPrintable(file),
            qPrintable(QCoreApplication::translate("tuvo", "不是普通文件,设置未读取也不会保存。")));
        // A path below a device: nothing is read from it and nothing can be written.
        return std::make_unique<QSettings>(QStringLiteral("/dev/null/") + ini, QSettings::IniFormat);
    };
    // TUVO_HOME keeps a whole second set of per-user files, settings included.
    const QString home = qEnvironmentVariable("TUVO_HOME");
    if (!home.isEmpty()) {
        const QString file = home + QLatin1Char('/') + ini;
        if (auto store = unusable(file))
            return store;
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    }
    const QString folder = userConfigFolder();
    for (const QString &file : {folder + QLatin1Char('/') + applicationName + QLatin1Char('/') + ini,
             folder + QLatin1Char('/') + ini}) {
        if (auto store = unusable(file))
            return store;
    }
    return std::make_unique<QSettings>(
        QSettings::IniFormat, QSettings::UserScope, applicationName, applicationName);
}

QString settingsFolder()
{
    const QString home = qEnvironmentVariable("TUVO_HOME");
    const QFileInfo folder(home.isEmpty() ? userConfigFolder() : home);
    // One folder under two spellings (a link, a trailing slash) is still one folder.
    const QString canonical = folder.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(folder.absoluteFilePath()) : canonical;
}

QString programBaseName()
{
    const QString exe = QCoreApplication::applicationFilePath();
    const QString base = QFileInfo(exe).completeBaseName();
    return base.isEmpty() ? QStringLiteral("tuvo") : base;
}

OptionsStore::OptionsStore(QSettings &settings)
    : settings_(settings)
{
}

std::optional<QString> OptionsStore::raw(const QString &key) const
{
    const QString full = kGroup + QLatin1Char('/') + key;
    if (!settings_.contains(full))
        return std::nullopt;
    const QVariant v = settings_.value(full);
    // An INI value holding a comma comes back as a list; it is still one text.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

bool OptionsStore::contains(const QString &key) const
{
    return raw(key).has_value();
}

QString OptionsStore::text(const QString &key, const QString &fallback) const
{
    return raw(key).value_or(fallback);
}

int OptionsStore::int16(const QString &key, int fallback) const
{
    const std::optional<QString> r = raw(key);
    if (!r)
        return fallback;
    return int(wholeNumberFromText(*r, -32768, 32767).value_or(0));
}

int OptionsStore::byte(const QString &key, int fallback) const
{
    const std::optional<QString> r = raw(key);
    if (!r)
        return fallback;
    return int(wholeNumberFromText(*r, 0, 255).value_or(0));
}

qint32 OptionsStore::int32(const QString &key, qint32 fallback) const
{
    const std::optional<QString> r = raw(key);
    if (!r)
        return fallback;
    return qint32(wholeNumberFromText(*r, -2147483648LL, 2147483647LL).value_or(0));
}

bool OptionsStore::boolean(const QString &key, bool fallback) const
{
    const std::optional<QString> r = raw(key);
    if (!r)
        return fallback;
    return booleanFromText(*r).value_or(false);
}

double OptionsStore::single(const QString &key, double fallback) const
{
    const std::optional<QString> r = raw(key);
    if (!r)
        return fallback;
    const std::optional<double> v = numberFromText(*r);
    if (!v || std::fabs(*v) > 3.4e38)
        return 0;
    return double(float(*v));
}

void OptionsStore::setText(const QString &key, const QString &value)
{
    settings_.setValue(kGroup + QLatin1Char('/') + key, value);
}

void OptionsStore::setInt(const QString &key, qint64 value)
{
    setText(key, QString::number(value));
}

void OptionsStore::setBool(const QString &key, bool value)
{
    setText(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void OptionsStore::setDouble(const QString &key, double value)
{
    setText(key, doubleText(value));
}

void OptionsStore::sync()
{
    settings_.sync();
}
