#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs this test program again inside another display session (a Wayland
// compositor, Xvfb, a private D-Bus) with only the tests named by filter, and
// tells whether they ran and passed. output receives what the run printed.
bool rerunTestsIn(const QString &launcher, const QStringList &launcherArguments, const QString &filter,
    const QProcessEnvironment &env, int timeoutMs, QString *output);
