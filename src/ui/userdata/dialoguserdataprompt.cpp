#include "dialoguserdataprompt.h"

#include "cuserdatadlg.h"

DialogUserDataPrompt::DialogUserDataPrompt(QWidget *parent, const AppSettings &settings,
                                           const QStringList &userNames)
    : m_parent(parent), m_settings(settings), m_userNames(userNames)
{
}

bool DialogUserDataPrompt::askUserData(VoucherRecord &record)
{
    CUserDataDlg dialog(record, m_settings, m_userNames, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
