#pragma once

#include "generation/userdataprompt.h"

#include <QStringList>

struct AppSettings;

// The user-data prompt of the command-line front end: asks on the terminal for
// what the settings leave to the operator (the name when it is not random, the
// password with "QueryPassword", the customer data with "QueryUserData").
// Without a terminal it cannot ask: it says so and cancels.
class TerminalUserDataPrompt : public UserDataPrompt
{
public:
    TerminalUserDataPrompt(const AppSettings &settings, const QStringList &userNames);
    bool askUserData(VoucherRecord &record) override;

private:
    const AppSettings &m_settings;
    const QStringList &m_userNames;
    bool m_interactive;
};
