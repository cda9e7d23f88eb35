#pragma once

#include <QList>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Every message box, yes/no question, input box, file choice and modal dialog of
// the program goes through the Prompter, so that tests can answer them and read
// what was shown.
class Prompter {
public:
    enum class Icon { None, Information, Warning, Error, Question };

    virtual ~Prompter() = default;

    // A message box with OK only.
    virtual void message(QWidget *parent, const QString &title, const QString &text, Icon icon) = 0;
    // A question with Yes/No ("是"/"否"); true for yes.
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &text) = 0;
    // An input box; false when cancelled.
    virtual bool askText(QWidget *parent, const QString &title, const QString &prompt,
        const QString &defaultText, QString *answer)
        = 0;
    // Runs a modal dialog; returns QDialog::exec's result.
    virtual int exec(QDialog *dialog) = 0;
    // An existing file to open, starting in folder; empty when cancelled.
    virtual QString chooseOpenFile(
        QWidget *parent, const QString &title, const QString &folder, const QString &filter)
        = 0;
    // An existing folder; empty when cancelled.
    virtual QString chooseFolder(QWidget *parent, const QString &title, const QString &folder) = 0;

    // The program's prompter; the real one unless a test installed another.
    static Prompter &instance();
    // Installs p (not owned); nullptr returns to the real one.
    static void install(Prompter *p);
};

// The real prompter: QMessageBox with Chinese buttons, QInputDialog, QFileDialog,
// QDialog::exec.
class WidgetPrompter : public Prompter {
public:
    void message(QWidget *parent, const QString &title, const QString &text, Icon icon) override;
    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override;
    bool askText(QWidget *parent, const QString &title, const QString &prompt, const QString &defaultText,
        QString *answer) override;
    int exec(QDialog *dialog) override;
    QString chooseOpenFile(
        QWidget *parent, const QString &title, const QString &folder, const QString &filter) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &folder) override;
};

// A prompter for tests: records what was shown and answers from queues.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString kind; // "message", "question", "input", "dialog", "open-file", "folder"
        QString title;
        QString text; // a file choice: its filter
        Icon icon = Icon::None;
        QString preset; // an input's default text, a file choice's starting folder
    };

    QList<Shown> shown;
    QList<bool> yesNoAnswers; // taken from the front; default: no
    QList<QString> textAnswers; // taken from the front; default: cancel
    QList<QString> fileAnswers; // paths for the file and folder choices, from the front; default: cancel
    // Called for each dialog instead of exec(); returns the result. Default: reject.
    std::function<int(QDialog *)> dialogHandler;

    void message(QWidget *parent, const QString &title, const QString &text, Icon icon) override;
    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override;
    bool askText(QWidget *parent, const QString &title, const QString &prompt, const QString &defaultText,
        QString *answer) override;
    int exec(QDialog *dialog) override;
    QString chooseOpenFile(
        QWidget *parent, const QString &title, const QString &folder, const QString &filter) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &folder) override;

private:
    QString nextFile(const QString &kind, const QString &title, const QString &filter, const QString &folder);
};
