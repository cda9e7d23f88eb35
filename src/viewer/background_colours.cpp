#include "viewer/background_colours.h"

#include "job/settings_store.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("iBGColor");

} // namespace

QStringList backgroundNames()
{
    return {QCoreApplication::translate("tuvo", "黑色"), QCoreApplication::translate("tuvo", "白色"),
        QCoreApplication::translate("tuvo", "灰色"), QCoreApplication::translate("tuvo", "红色"),
        QCoreApplication::translate("tuvo", "蓝色"), QCoreApplication::translate("tuvo", "绿色"),
        QCoreApplication::translate("tuvo", "黄色")};
}

QColor backgroundColour(int iBGColor)
{
    static const QColor colours[kBackgroundCount] = {QColor(0, 0, 0), QColor(255, 255, 255),
        QColor(125, 125, 125), QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 255, 0)};
    return iBGColor >= 0 && iBGColor < kBackgroundCount ? colours[iBGColor] : colours[0];
}

int readBackgroundIndex(QSettings *settings)
{
    if (!settings)
        return 0;
    const int index = OptionsStore(*settings).int16(kKey, 0);
    return index >= 0 && index < kBackgroundCount ? index : 0;
}

void storeBackgroundIndex(QSettings *settings, int iBGColor)
{
    if (!settings)
        return;
    OptionsStore store(*settings);
    store.setInt(kKey, iBGColor);
    store.sync();
}
