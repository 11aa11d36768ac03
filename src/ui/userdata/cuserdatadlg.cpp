#include "cuserdatadlg.h"

#include "config/appsettings.h"
#include "generation/givennamecheck.h"
#include "generation/voucherrecord.h"
#include "ui/framework/ceditcombo.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The customer data fields, top to bottom.
constexpr QString VoucherRecord::*DataFields[] = {&VoucherRecord::FirstName, &VoucherRecord::LastName,
                                                  &VoucherRecord::Phone,     &VoucherRecord::Location,
                                                  &VoucherRecord::Comment,   &VoucherRecord::Email};

// An edit the operator may type in takes at most `length` characters; one that
// only shows a value keeps it whole.
void setEditable(QLineEdit *edit, bool editable, int length)
{
    edit->setReadOnly(!editable);
    if (editable)
        edit->setMaxLength(length);
}

} // namespace

CUserDataDlg::CUserDataDlg(VoucherRecord &record, const AppSettings &settings, const QStringList &userNames,
                           QWidget *parent)
    : QDialog(parent), m_record(record), m_useUserDatabase(settings.UseUserDatabase),
      m_nameEdit(new QLineEdit(this)), m_nameCombo(new CEditCombo(this)), m_password(new QLineEdit(this)),
      m_nameProblem(new QLabel(this))
{
    setWindowTitle(tr("New user data"));

    auto *form = new QFormLayout;
    auto *nameLabel = new QLabel(tr("Username:"), this);
    auto *nameRow = new QHBoxLayout;
    nameRow->setContentsMargins(0, 0, 0, 0);
    nameRow->addWidget(m_nameEdit);
    nameRow->addWidget(m_nameCombo);
    form->addRow(nameLabel, nameRow);
    form->addRow(tr("Password:"), m_password);
    const QString dataLabels[] = {tr("First Name:"), tr("Last Name:"), tr("Phone:"),
                                  tr("Location:"),   tr("Comment:"),   tr("Email:")};
    for (const QString &label : dataLabels) {
        auto *edit = new QLineEdit(this);
        form->addRow(label, edit);
        m_dataEdits.append(edit);
    }

    // Why a typed name cannot be taken, in place of a silent grey OK.
    m_nameProblem->setWordWrap(true);
    QPalette problemPalette = m_nameProblem->palette();
    problemPalette.setColor(QPalette::WindowText, Qt::darkRed);
    m_nameProblem->setPalette(problemPalette);
    m_nameProblem->hide();

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_nameProblem);
    layout->addWidget(buttons);

    // The name: the combo picks from the username list, unless the name is
    // random or the list is not used.
    m_nameCombo->setNames(userNames);
    m_nameCombo->setVisible(namePicked());
    m_nameEdit->setVisible(!namePicked());
    nameLabel->setBuddy(namePicked() ? static_cast<QWidget *>(m_nameCombo) : m_nameEdit);
    m_nameCombo->lineEdit()->setAccessibleName(nameLabel->text());
    setEditable(m_nameEdit, !record.RandomName, FieldLength);
    m_nameCombo->setMaxLength(FieldLength);
    if (namePicked())
        m_nameCombo->setText(record.UserName);
    else
        m_nameEdit->setText(record.UserName);

    m_password->setText(record.Password);
    setEditable(m_password, settings.QueryPassword, FieldLength);
    for (qsizetype i = 0; i < m_dataEdits.size(); ++i) {
        m_dataEdits[i]->setText(record.*DataFields[i]);
        setEditable(m_dataEdits[i], settings.QueryUserData, FieldLength);
    }

    // The focus goes to what the operator most needs to type: the name before
    // the password before the customer data.
    if (settings.QueryUserData)
        m_dataEdits.first()->setFocus();
    if (settings.QueryPassword)
        m_password->setFocus();
    if (!record.RandomName) {
        if (namePicked() && !m_nameCombo->isExactMatch())
            m_nameCombo->setFocus();
        else if (!namePicked() && record.UserName.isEmpty())
            m_nameEdit->setFocus();
    }

    connect(m_nameEdit, &QLineEdit::textChanged, this, &CUserDataDlg::updateOk);
    connect(m_nameCombo, &CEditCombo::textChanged, this, &CUserDataDlg::updateOk);
    updateOk();
}

bool CUserDataDlg::namePicked() const
{
    return !m_record.RandomName && m_useUserDatabase;
}

std::optional<QString> CUserDataDlg::chosenName() const
{
    // A random name is the program's own and is kept as it was made.
    if (m_record.RandomName)
        return m_record.UserName.isEmpty() ? std::nullopt : std::optional(m_record.UserName);
    if (namePicked() && !m_nameCombo->isExactMatch())
        return std::nullopt;
    const QString name = namePicked() ? m_nameCombo->text() : m_nameEdit->text();
    if (givenNameProblem(name, FieldLength))
        return std::nullopt;
    return name;
}

void CUserDataDlg::updateOk()
{
    m_ok->setEnabled(chosenName().has_value());
    // An empty name needs no explanation; a refused one does.
    const QString typed = namePicked() ? m_nameCombo->text() : m_nameEdit->text();
    const std::optional<QString> problem =
        m_record.RandomName || typed.isEmpty() ? std::nullopt : givenNameProblem(typed, FieldLength);
    m_nameProblem->setText(problem.value_or(QString()));
    m_nameProblem->setVisible(problem.has_value());
}

void CUserDataDlg::accept()
{
    const std::optional<QString> name = chosenName();
    if (!name)
        return;
    m_record.UserName = *name;
    m_record.Password = m_password->text();
    for (qsizetype i = 0; i < m_dataEdits.size(); ++i)
        m_record.*DataFields[i] = m_dataEdits[i]->text();
    QDialog::accept();
}
