#pragma once

#include <QString>

#include <optional>

class QCoreApplication;

// The program's texts are written in Chinese; English comes from an embedded
// translation.
enum class UiLanguage { Chinese, English };

// gettext's choice: LANGUAGE (a colon list, honoured unless the locale is C),
// then the first set of LC_ALL, LC_MESSAGES, LANG. Chinese for zh_* and for an
// unset or C/POSIX locale; English for any other language, as we have no other.
UiLanguage languageFromLocale(
    const QString &language, const QString &lcAll, const QString &lcMessages, const QString &lang);
UiLanguage languageFromEnvironment();

// The stored choice of the desktop program ("zh_CN", "en"); empty or unknown
// follows the environment.
QString uiLanguageSettingsKey();
QString uiLanguageCode(UiLanguage language);
std::optional<UiLanguage> uiLanguageFromCode(const QString &code);

// Installs the program's English translation and Qt's own translation of its
// dialogs for the language. False when a translation could not be loaded.
bool installUiLanguage(QCoreApplication &app, UiLanguage language);
