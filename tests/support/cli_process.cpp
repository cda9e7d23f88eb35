#include "support/cli_process.h"

#include <QProcess>

CliOutcome runTuvoCli(const QStringList &arguments)
{
    QProcess cli;
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start(QStringLiteral(TUVO_CLI_PATH), arguments);
    CliOutcome outcome;
    if (cli.waitForFinished(120000))
        outcome.exitCode = cli.exitCode();
    outcome.said = QString::fromUtf8(cli.readAll());
    return outcome;
}
