#pragma once

#include "setuppage.h"

#include "config/appuser.h"

#include <QList>
#include <QStringList>

class OperatorInteraction;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
struct UiResources;

// The setup's first page, "Definições Gerais": the program users on the left
// (added, edited and deleted through the user editor), the rules of voucher
// generation and two program options on the right.
class CSetupDialog : public SetupPage
{
    Q_OBJECT

public:
    // A serial field of nine digits never leaves the 32-bit serial's range;
    // serials run to 999999999 anyway.
    static constexpr int SerialDigits = 9;

    CSetupDialog(OperatorInteraction &interaction, UiResources &resources, QWidget *parent = nullptr);

    void initialize(const SetupData &data) override;
    // At least one program user must keep access to the setup.
    bool validate() override;
    void save(SetupData &data) override;
    bool isModified() const override;

    QListWidget *usersView() const { return m_usersView; }
    // The working copies of the program users, in list order.
    const QList<AppUser> &users() const { return m_users; }

private:
    void addUser();
    void editUser();
    void deleteUser();
    void editUserNames();
    void updateUserButtons();
    void updateSizeEdits();
    void markModified() { m_modified = true; }
    // Shows user `row` in its list item (name or "< vazio >", and its icon).
    void showUser(int row);

    OperatorInteraction &m_interaction;
    UiResources &m_resources;
    QList<AppUser> m_users; // one per row of m_usersView
    QStringList m_userNames;
    bool m_modified = false;

    QListWidget *m_usersView;
    QPushButton *m_editButton;
    QPushButton *m_deleteButton;
    QCheckBox *m_randomUserName;
    QLineEdit *m_userSize;
    QCheckBox *m_useUserDatabase;
    QCheckBox *m_queryPassword;
    QCheckBox *m_randomPassword;
    QLineEdit *m_passwordSize;
    QCheckBox *m_onlyNumbers;
    QLineEdit *m_serial;
    QLineEdit *m_currency;
    QCheckBox *m_queryUserData;
    QCheckBox *m_verifyCreatedUser;
    QCheckBox *m_minimizeToTray;
};
