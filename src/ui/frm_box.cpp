#include "ui/frm_box.h"

#include "ui/prompter.h"

QString frmBoxTitle()
{
    return QStringLiteral("Tuvo提示");
}

bool frmBoxConfirm(QWidget *parent, const QString &text)
{
    return Prompter::instance().askYesNo(parent, frmBoxTitle(), text);
}
