#include "terminaluserdataprompt.h"

#include "config/appsettings.h"
#include "generation/voucherrecord.h"

#include <QTextStream>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// One field: the current value is kept when the operator just presses Enter.
// Nothing at the end of input.
std::optional<QString> askField(QTextStream &in, const QString &label, const QString &current)
{
    QTextStream err(stderr);
    err << label << (current.isEmpty() ? u" "_s : u" [%1] "_s.arg(current));
    err.flush();
    QString reply;
    if (!in.readLineInto(&reply))
        return std::nullopt;
    return reply.isEmpty() ? current : reply;
}

} // namespace

TerminalUserDataPrompt::TerminalUserDataPrompt(const AppSettings &settings, const QStringList &userNames)
    : m_settings(settings), m_userNames(userNames), m_interactive(isatty(STDIN_FILENO) == 1)
{
}

bool TerminalUserDataPrompt::askUserData(VoucherRecord &record)
{
    QTextStream err(stderr);
    if (!m_interactive) {
        err << "wifiticketer-cli: this voucher needs the user data typed in (name, password or customer "
               "data), which needs a terminal\n";
        return false;
    }
    QTextStream in(stdin);
    VoucherRecord edited = record;
    if (!record.RandomName) {
        // With the username database on, only a name of the database is taken.
        const bool fromDatabase = m_settings.UseUserDatabase;
        for (;;) {
            std::optional<QString> name = askField(in, u"Username:"_s, edited.UserName);
            if (!name)
                return false;
            if (fromDatabase && !m_userNames.contains(*name, Qt::CaseInsensitive)) {
                err << "wifiticketer-cli: not a name of the username database\n";
                continue;
            }
            if (!name->isEmpty()) {
                edited.UserName = *name;
                break;
            }
        }
    }
    if (m_settings.QueryPassword) {
        std::optional<QString> password = askField(in, u"Password:"_s, edited.Password);
        if (!password)
            return false;
        edited.Password = *password;
    }
    if (m_settings.QueryUserData) {
        const std::pair<QString, QString VoucherRecord::*> fields[] = {
            {u"First Name:"_s, &VoucherRecord::FirstName}, {u"Last Name:"_s, &VoucherRecord::LastName},
            {u"Phone:"_s, &VoucherRecord::Phone},          {u"Location:"_s, &VoucherRecord::Location},
            {u"Comment:"_s, &VoucherRecord::Comment},      {u"Email:"_s, &VoucherRecord::Email},
        };
        for (const auto &[label, field] : fields) {
            std::optional<QString> value = askField(in, label, edited.*field);
            if (!value)
                return false;
            edited.*field = *value;
        }
    }
    record = edited;
    return true;
}
