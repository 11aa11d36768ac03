#pragma once

#include <QDialog>
#include <QStringList>

class OperatorInteraction;
class QListView;
class QPushButton;
class QStringListModel;

// The username database: a list of the names offered when a voucher's name is
// picked rather than typed, with buttons to add, edit and delete names. It
// works on its own copy; the caller's list changes only on "Ok".
class CUserDatabaseDlg : public QDialog
{
    Q_OBJECT

public:
    // Names longer than the history columns could not be sold.
    static constexpr int NameLength = 50;

    CUserDatabaseDlg(const QStringList &names, OperatorInteraction &interaction, QWidget *parent = nullptr);

    // The rows in their displayed order.
    QStringList names() const;
    QListView *view() const { return m_view; }

private:
    void addName();
    void editName();
    void deleteName();
    // Asks for a name with the input box; nothing when cancelled, empty or refused.
    std::optional<QString> askName(const QString &initial);
    // Sorts the rows ignoring case; `name` (at `row`) stays selected and in view.
    void sortKeeping(int row);
    void updateButtons();

    OperatorInteraction &m_interaction;
    QStringListModel *m_model;
    QListView *m_view;
    QPushButton *m_edit;
    QPushButton *m_delete;
};

// Lets the operator edit the username list; true when confirmed (the list then
// holds the dialog's rows), false when cancelled (the list unchanged).
bool editUserDatabase(QWidget *parent, QStringList &names, OperatorInteraction &interaction);
