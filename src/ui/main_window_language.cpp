#include "ui/main_window_language.h"

#include "job/settings_store.h"
#include "settings/ui_language.h"
#include "ui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QSettings>

QString storedLanguageCode(QSettings *settings)
{
    if (!settings)
        return QString();
    return OptionsStore(*settings).text(uiLanguageSettingsKey(), QString());
}

QMenu *installLanguageMenu(MainWindow &window)
{
    QMenu *menu = window.settingsMenu()->addMenu(QCoreApplication::translate("tuvo", "语言"));
    menu->setObjectName(QStringLiteral("mLanguage"));
    auto *group = new QActionGroup(menu);
    const QString stored = storedLanguageCode(window.settings());
    // Language names stay in their own language, so either reader finds theirs.
    const QList<std::pair<QString, QString>> choices = {
        {QString(), QCoreApplication::translate("tuvo", "跟随系统")},
        {uiLanguageCode(UiLanguage::Chinese), QStringLiteral("中文")},
        {uiLanguageCode(UiLanguage::English), QStringLiteral("English")},
    };
    for (const auto &[code, caption] : choices) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QStringLiteral("mLanguage_") + (code.isEmpty() ? QStringLiteral("auto") : code));
        a->setCheckable(true);
        a->setChecked(code == stored || (!uiLanguageFromCode(stored) && code.isEmpty()));
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, &window, [&window, code] {
            if (!window.settings())
                return;
            OptionsStore store(*window.settings());
            store.setText(uiLanguageSettingsKey(), code);
            store.sync();
            window.showStatus(QCoreApplication::translate("tuvo", "【提示】语言将在下次启动Tuvo时改变。"));
        });
    }
    return menu;
}
