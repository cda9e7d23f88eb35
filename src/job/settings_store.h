#pragma once

#include "job/stored_text.h"

#include <QString>

#include <memory>
#include <optional>

class QSettings;

// The per-user store: an INI file per user, application = the executable's base
// name (so a renamed program starts from defaults), every value in the group
// "Options" and stored as text: decimal numbers, "True"/"False". With TUVO_HOME
// set the file is TUVO_HOME/<application>.ini.
std::unique_ptr<QSettings> openSettingsStore(const QString &applicationName);
// The folder that holds the settings file: TUVO_HOME when set, else the
// per-user configuration folder. One running program serves one such folder.
QString settingsFolder();
// Base name of the running executable ("tuvo" for the desktop program).
QString programBaseName();

// Typed reads and writes of one key in the group "Options". A missing key gives
// the default; a stored text that does not convert gives the zero value (0,
// empty, false), as a failed conversion always did.
class OptionsStore {
public:
    explicit OptionsStore(QSettings &settings);

    bool contains(const QString &key) const;
    QString text(const QString &key, const QString &fallback) const;
    int int16(const QString &key, int fallback) const;
    int byte(const QString &key, int fallback) const;
    qint32 int32(const QString &key, qint32 fallback) const;
    bool boolean(const QString &key, bool fallback) const;
    // Read as single precision, then held as double.
    double single(const QString &key, double fallback) const;

    void setText(const QString &key, const QString &value);
    void setInt(const QString &key, qint64 value);
    void setBool(const QString &key, bool value);
    void setDouble(const QString &key, double value);
    void sync();

private:
    std::optional<QString> raw(const QString &key) const;

    QSettings &settings_;
};
