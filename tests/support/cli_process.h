#pragma once

#include <QString>
#include <QStringList>

// One tuvo-cli run of the build under test, standard output and error merged.
struct CliOutcome {
    int exitCode = -1; // -1: it did not finish within two minutes
    QString said;
};
CliOutcome runTuvoCli(const QStringList &arguments);
