#pragma once

#include <QString>

class QWidget;

// frmBox: the program's yes/no confirmation ("Tuvo提示", "是"/"否"), shown
// through the Prompter so tests can answer it.
bool frmBoxConfirm(QWidget *parent, const QString &text);
QString frmBoxTitle();
