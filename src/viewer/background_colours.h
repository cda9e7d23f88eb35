#pragma once

#include <QColor>
#include <QStringList>

class QSettings;

// The viewer's seven background colours, by iBGColor.
constexpr int kBackgroundCount = 7;
QStringList backgroundNames();
QColor backgroundColour(int iBGColor);

// iBGColor from the store; 0 when missing, unreadable or out of range.
int readBackgroundIndex(QSettings *settings);
// Stores iBGColor at once; a failing store leaves only this viewing coloured.
void storeBackgroundIndex(QSettings *settings, int iBGColor);
