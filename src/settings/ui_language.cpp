#include "settings/ui_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

bool isCLocale(const QString &name)
{
    return name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX")
        || name.startsWith(QLatin1String("C."));
}

std::optional<UiLanguage> languageOfName(const QString &name)
{
    if (name.startsWith(QLatin1String("zh")))
        return UiLanguage::Chinese;
    if (name.startsWith(QLatin1String("en")))
        return UiLanguage::English;
    return std::nullopt;
}

bool install(QCoreApplication &app, const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace

UiLanguage languageFromLocale(
    const QString &language, const QString &lcAll, const QString &lcMessages, const QString &lang)
{
    const QString locale = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
    if (isCLocale(locale))
        return UiLanguage::Chinese;
    for (const QString &name : language.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (const auto known = languageOfName(name))
            return *known;
    }
    return languageOfName(locale).value_or(UiLanguage::English);
}

UiLanguage languageFromEnvironment()
{
    const auto env = [](const char *name) {
        return qEnvironmentVariable(name);
    };
    return languageFromLocale(env("LANGUAGE"), env("LC_ALL"), env("LC_MESSAGES"), env("LANG"));
}

QString uiLanguageSettingsKey()
{
    return QStringLiteral("sLanguage");
}

QString uiLanguageCode(UiLanguage language)
{
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("zh_CN");
}

std::optional<UiLanguage> uiLanguageFromCode(const QString &code)
{
    if (code == QLatin1String("en"))
        return UiLanguage::English;
    if (code == QLatin1String("zh_CN"))
        return UiLanguage::Chinese;
    return std::nullopt;
}

bool installUiLanguage(QCoreApplication &app, UiLanguage language)
{
    // Chinese is the source text; only Qt's own dialogs need a translation then.
    if (language == UiLanguage::Chinese)
        return install(
            app, QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return install(app, QStringLiteral("tuvo_en"), QStringLiteral(":/i18n"));
}
