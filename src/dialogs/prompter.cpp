#include "dialogs/prompter.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
WidgetPrompter realPrompter;
Prompter *installed = nullptr;

QMessageBox::Icon toBoxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Prompter &Prompter::instance()
{
    return installed ? *installed : realPrompter;
}

void Prompter::install(Prompter *p)
{
    installed = p;
}

void WidgetPrompter::message(QWidget *parent, const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toBoxIcon(icon), title, text, QMessageBox::NoButton, parent);
    box.addButton(QCoreApplication::translate("tuvo", "确定"), QMessageBox::AcceptRole);
    box.exec();
}

bool WidgetPrompter::askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QCoreApplication::translate("tuvo", "是"), QMessageBox::YesRole);
    box.addButton(QCoreApplication::translate("tuvo", "否"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

bool WidgetPrompter::askText(
    QWidget *parent, const QString &title, const QString &prompt, const QString &defaultText, QString *answer)
{
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setOkButtonText(QCoreApplication::translate("tuvo", "确定"));
    box.setCancelButtonText(QCoreApplication::translate("tuvo", "取消"));
    const bool ok = box.exec() == QDialog::Accepted;
    if (ok && answer)
        *answer = box.textValue();
    return ok;
}

int WidgetPrompter::exec(QDialog *dialog)
{
    return dialog->exec();
}

QString WidgetPrompter::chooseOpenFile(
    QWidget *parent, const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString WidgetPrompter::chooseFolder(QWidget *parent, const QString &title, const QString &folder)
{
    return QFileDialog::getExistingDirectory(parent, title, folder);
}

void ScriptedPrompter::message(QWidget *, const QString &title, const QString &text, Icon icon)
{
    shown << Shown {QStringLiteral("message"), title, text, icon, {}};
}

bool ScriptedPrompter::askYesNo(QWidget *, const QString &title, const QString &text)
{
    shown << Shown {QStringLiteral("question"), title, text, Icon::Question, {}};
    return yesNoAnswers.isEmpty() ? false : yesNoAnswers.takeFirst();
}

bool ScriptedPrompter::askText(
    QWidget *, const QString &title, const QString &prompt, const QString &defaultText, QString *answer)
{
    shown << Shown {QStringLiteral("input"), title, prompt, Icon::None, defaultText};
    if (textAnswers.isEmpty())
        return false;
    const QString a = textAnswers.takeFirst();
    if (answer)
        *answer = a;
    return true;
}

int ScriptedPrompter::exec(QDialog *dialog)
{
    shown << Shown {QStringLiteral("dialog"), dialog->windowTitle(), dialog->objectName(), Icon::None, {}};
    return dialogHandler ? dialogHandler(dialog) : int(QDialog::Rejected);
}

QString ScriptedPrompter::chooseOpenFile(
    QWidget *, const QString &title, const QString &folder, const QString &filter)
{
    return nextFile(QStringLiteral("open-file"), title, filter, folder);
}

QString ScriptedPrompter::chooseFolder(QWidget *, const QString &title, const QString &folder)
{
    return nextFile(QStringLiteral("folder"), title, QString(), folder);
}

QString ScriptedPrompter::nextFile(
    const QString &kind, const QString &title, const QString &filter, const QString &folder)
{
    shown << Shown {kind, title, filter, Icon::None, folder};
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}
