#pragma once

#include "generation/userdataprompt.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

struct AppSettings;

// The windows' user-data prompt: CUserDataDlg over the parent window, with the
// settings and the username list it reads when it opens.
class DialogUserDataPrompt : public UserDataPrompt
{
public:
    DialogUserDataPrompt(QWidget *parent, const AppSettings &settings, const QStringList &userNames);

    bool askUserData(VoucherRecord &record) override;

private:
    QPointer<QWidget> m_parent;
    const AppSettings &m_settings;
    const QStringList &m_userNames;
};
