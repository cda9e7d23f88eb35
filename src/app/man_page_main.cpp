// Writes tuvo-cli's man page from a template at build time:
// tuvo-man-page LANGUAGE TEMPLATE OUTPUT, LANGUAGE "en" or "zh_CN";
// and its shell completion: tuvo-man-page --completion bash|zsh OUTPUT.

#include "app/cli_options.h"
#include "settings/ui_language.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--completion")) {
        installUiLanguage(app, UiLanguage::English);
        const QString script = cliCompletion(args[2]);
        QSaveFile out(args[3]);
        if (script.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(script.toUtf8()) < 0
            || !out.commit()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(args[3]), qPrintable(out.errorString()));
            return 1;
        }
        return 0;
    }
    const std::optional<UiLanguage> language = args.size() == 4 ? uiLanguageFromCode(args[1]) : std::nullopt;
    if (!language) {
        std::fputs("usage: tuvo-man-page en|zh_CN TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    installUiLanguage(app, *language);
    QFile in(args[2]);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[2]), qPrintable(in.errorString()));
        return 1;
    }
    QSaveFile out(args[3]);
    if (!out.open(QIODevice::WriteOnly) || out.write(cliManPage(QString::fromUtf8(in.readAll())).toUtf8()) < 0
        || !out.commit()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[3]), qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
