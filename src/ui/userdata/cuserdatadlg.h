#pragma once

#include <QDialog>
#include <QStringList>

class CEditCombo;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppSettings;
struct VoucherRecord;

// The user-data prompt: shows one voucher's name, password and customer data
// and lets the operator type what the settings leave to them. Confirming writes
// the fields into the record; cancelling leaves it untouched.
class CUserDataDlg : public QDialog
{
    Q_OBJECT

public:
    // The history columns hold 50 characters; longer texts would be cut there.
    static constexpr int FieldLength = 50;

    CUserDataDlg(VoucherRecord &record, const AppSettings &settings, const QStringList &userNames,
                 QWidget *parent = nullptr);

    void accept() override;

private:
    // The name picks from the username list (and not the plain name edit).
    bool namePicked() const;
    // The name as it would be stored; nothing while none can be taken.
    std::optional<QString> chosenName() const;
    void updateOk();

    VoucherRecord &m_record;
    bool m_useUserDatabase;
    QLineEdit *m_nameEdit;
    CEditCombo *m_nameCombo;
    QLineEdit *m_password;
    QList<QLineEdit *> m_dataEdits; // First Name to Email
    QLabel *m_nameProblem;
    QPushButton *m_ok;
};
