#include "settings/ui_language.h"

#include <gtest/gtest.h>

// gettext's order; Chinese for zh and for C, English for everything else.
TEST(UiLanguage, ChosenFromTheLocaleVariablesInGettextOrder)
{
    const auto pick = [](const char *language, const char *lcAll, const char *lcMessages, const char *lang) {
        return languageFromLocale(QString::fromLatin1(language), QString::fromLatin1(lcAll),
            QString::fromLatin1(lcMessages), QString::fromLatin1(lang));
    };
    EXPECT_EQ(pick("", "", "", ""), UiLanguage::Chinese);
    EXPECT_EQ(pick("", "", "", "C"), UiLanguage::Chinese);
    EXPECT_EQ(pick("", "", "", "C.UTF-8"), UiLanguage::Chinese);
    EXPECT_EQ(pick("", "", "", "POSIX"), UiLanguage::Chinese);
    EXPECT_EQ(pick("", "", "", "zh_CN.UTF-8"), UiLanguage::Chinese);
    EXPECT_EQ(pick("", "", "", "en_US.UTF-8"), UiLanguage::English);
    EXPECT_EQ(pick("", "", "", "de_DE.UTF-8"), UiLanguage::English);
    EXPECT_EQ(pick("", "zh_TW.UTF-8", "", "en_US.UTF-8"), UiLanguage::Chinese);
    EXPECT_EQ(pick("", "", "en_GB.UTF-8", "zh_CN.UTF-8"), UiLanguage::English);
    EXPECT_EQ(pick("fr:en", "", "", "de_DE.UTF-8"), UiLanguage::English);
    EXPECT_EQ(pick("fr:zh_CN", "", "", "en_US.UTF-8"), UiLanguage::Chinese);
    // LANGUAGE is ignored under the C locale, as gettext does.
    EXPECT_EQ(pick("en", "", "", "C"), UiLanguage::Chinese);
    EXPECT_EQ(uiLanguageFromCode(uiLanguageCode(UiLanguage::English)), UiLanguage::English);
    EXPECT_EQ(uiLanguageFromCode(QStringLiteral("xx")), std::nullopt);
}
