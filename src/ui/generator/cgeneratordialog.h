#pragma once

#include "ui/framework/workingwindow.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class CEditCombo;
class CSystemTray;
class OperatorInteraction;
class PrinterChooser;
class ProfileListModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTreeView;
class QValidator;
class SessionFacade;
class UserDataPrompt;
class VoucherListModel;
struct GenerationRequest;
struct UiResources;
struct VoucherDesign;
struct VoucherProfile;

// The main window once an operator has logged in: the sellable profiles of the
// current router, the vouchers of the last run, making vouchers (on a thread
// of their own, with progress and a stop) and printing them. Closing it hides
// it to the tray when the settings say so. It never opens another main window:
// it asks for the switch with a signal, after keeping the operator's choices
// (the profiles' designs, "AutoPrint"), and a request made while vouchers are
// being made waits for the run to end. Receivers of the signals delete the
// window later (deleteLater), not in the slot: a signal may come from inside
// its close.
class CGeneratorDialog : public QDialog, public WorkingWindow
{
    Q_OBJECT

public:
    CGeneratorDialog(SessionFacade &session, OperatorInteraction &interaction, UserDataPrompt &prompt,
                     PrinterChooser &printerChooser, UiResources &resources, QWidget *parent = nullptr);
    ~CGeneratorDialog() override;

    void restore() override;
    // A run stops after its voucher, the operator's choices are kept, then
    // quitRequested.
    void endProgram() override;
    bool isLeaving() const override { return m_leaving; }
    // The icon in the notification area; none when the window does not hide
    // there ("MinimizeToTray" off).
    CSystemTray *tray() const { return m_tray; }

Q_SIGNALS:
    // "&Sair": the login window should take over.
    void logoutRequested();
    // "Modo P&OS" (the user's POS mode already set): the POS window should
    // take over.
    void posModeRequested();
    // Closed for good: the program ends.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // What the operator asked the window to do about itself.
    enum class Leave
    {
        None,
        Close, // the close box or Escape: to the tray, or quit
        Quit,
        Logout,
        PosMode
    };

    void createControls();
    void layOutControls();
    void connectControls();
    void fillDesignCombo();

    void applyMode();
    void generate();
    void startRun(const GenerationRequest &request);
    void runProgress(quint32 made, quint32 count);
    void runFinished();
    void fillVoucherList();
    void rebuildProfiles();
    void profileSelectionChanged();
    void designPicked(int index);
    void printBatch();

    void requestLeave(Leave leave);
    void leave(Leave leave);
    void saveChoices();
    void fitColumns();

    std::shared_ptr<VoucherProfile> selectedProfile() const;
    int designIndex(const VoucherDesign *design) const;
    const VoucherDesign *designAt(int index) const;

    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    UserDataPrompt &m_prompt;
    PrinterChooser &m_printerChooser;
    UiResources &m_resources;

    ProfileListModel *m_profiles = nullptr;
    VoucherListModel *m_vouchers = nullptr;

    QLabel *m_profileLabel = nullptr;
    QTreeView *m_profileView = nullptr;
    QLabel *m_inputLabel = nullptr;
    QLineEdit *m_input = nullptr;
    CEditCombo *m_userNameCombo = nullptr;
    QPushButton *m_generateButton = nullptr;
    QPushButton *m_logoutButton = nullptr;
    QPushButton *m_posButton = nullptr;
    QCheckBox *m_randomName = nullptr;
    QCheckBox *m_autoPrint = nullptr;
    QCheckBox *m_showPasswords = nullptr;
    QLabel *m_voucherLabel = nullptr;
    QTreeView *m_voucherView = nullptr;
    QLabel *m_designLabel = nullptr;
    QComboBox *m_designCombo = nullptr;
    QPushButton *m_printButton = nullptr;
    QValidator *m_digitsOnly = nullptr;
    CSystemTray *m_tray = nullptr;
    QPointer<QProgressDialog> m_progress;

    QString m_initialInputLabel;
    bool m_running = false;
    Leave m_pendingLeave = Leave::None;
    bool m_leaving = false; // a switch or the end was asked for: the next close goes through
};
