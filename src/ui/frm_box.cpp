#include "ui/frm_box.h"

#include "ui/prompter.h"

#include <QCoreApplication>

QString frmBoxTitle()
{
    return QCoreApplication::translate("tuvo", "Tuvo提示");
}

bool frmBoxConfirm(QWidget *parent, const QString &text)
{
    return Prompter::instance().askYesNo(parent, frmBoxTitle(), text);
}
