#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs a program to completion within two minutes; false when it cannot start,
// crashes or exits non-zero. *output gets its standard output.
bool runProgram(const QString &program, const QStringList &arguments, QByteArray *output = nullptr);

// Empty when every tool is on the PATH, else "<tool> is not installed" for a skip.
QString missingTool(const QStringList &tools);
