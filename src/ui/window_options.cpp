#include "ui/window_options.h"

#include "job/settings_store.h"

#include <QSettings>

WindowOptions::WindowOptions(QSettings *settings, QObject *parent)
    : QObject(parent)
    , settings_(settings)
{
    if (settings_)
        stored_.iSlideTime = OptionsStore(*settings_).int16(QStringLiteral("iSlideTime"), 3);
}

int WindowOptions::slideTime() const
{
    if (typedSlideTime_ && storedWhenTyped_ == stored_.iSlideTime)
        return *typedSlideTime_;
    return stored_.iSlideTime;
}

void WindowOptions::setTypedSlideTime(int seconds)
{
    typedSlideTime_ = seconds;
    storedWhenTyped_ = stored_.iSlideTime;
}
