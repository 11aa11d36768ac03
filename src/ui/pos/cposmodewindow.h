#pragma once

#include "ui/framework/cdesignwnd.h"
#include "ui/framework/workingwindow.h"

#include "pos/poshistorypanel.h"
#include "pos/pospagelayout.h"

#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

class CKeyPad;
class CSystemTray;
class OperatorInteraction;
class PrinterChooser;
class SessionFacade;
class UserDataPrompt;
struct UiResources;
struct VoucherProfile;

// The counter (POS) main window: one big button per profile of the current
// router, a touch opens the keypad, a confirmed keypad sells (makes the
// vouchers on a worker thread and prints them with the profile's design), and
// the shift's sales with their total stay in view on the left. While a sale is
// going on the window says so ("n de N") and drops every touch, click and key
// it gets, so a double tap never sells twice. Like the generator window it
// asks for a switch of main window with a signal and leaves after the sale.
class CPosModeWindow : public CDesignWnd, public WorkingWindow
{
    Q_OBJECT

public:
    // Item ids.
    enum : int
    {
        NormalModeItem = 4,
        LogoutItem = 8,
        CloseItem = 166,
        FullScreenItem = 170,
        MinimizeItem = 172,
        ClearItem = 174,
        ProfileItem = 178,
        NextItem = 186,
        PreviousItem = 188,
        HistoryUpItem = 212,
        HistoryDownItem = 214,
    };
    static constexpr int NormalWidth = 1200;
    static constexpr int NormalHeight = 700;

    CPosModeWindow(SessionFacade &session, OperatorInteraction &interaction, UserDataPrompt &prompt,
                   PrinterChooser &printerChooser, UiResources &resources, QWidget *parent = nullptr);
    ~CPosModeWindow() override;

    void restore() override;
    void endProgram() override;
    bool isLeaving() const override { return m_leaving; }

    // The total and the sales list again; `scrollToEnd` shows the newest sales.
    void refreshHistory(bool scrollToEnd);
    // While a keypad is open only its profile button takes touches; the
    // others are drawn grey. `selected` none: the keypad `keypad` closed (a
    // keypad that is no longer the open one changes nothing).
    void lockProfiles(const SkinItem *selected, const CKeyPad *keypad);

    bool isFullScreenMode() const { return m_fullScreen; }
    bool isSelling() const { return m_selling; }
    // What the window says while a sale is going on; empty otherwise.
    QString busyText() const;
    // The keypad open for a sale, or none.
    CKeyPad *keypad() const;
    CSystemTray *tray() const { return m_tray; }
    const PosPageLayout &pageLayout() const { return m_page; }
    int firstProfile() const { return m_firstProfile; }
    int historyTop() const { return m_historyTop; }
    const std::vector<SkinItem *> &profileButtons() const { return m_profileButtons; }

Q_SIGNALS:
    // "Sair do aplicativo": the login window should take over.
    void logoutRequested();
    // "Modo Normal" (the user's POS mode already cleared): the generator
    // window should take over.
    void normalModeRequested();
    // Closed for good: the program ends.
    void quitRequested();

protected:
    void paintContent(QPainter &painter, const QRect &clip) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Leave
    {
        None,
        Close, // the close image or the window's close: to the tray, or quit
        Quit,
        Logout,
        NormalMode,
    };

    void createFixedItems();
    void createProfileButtons();
    void onItemCommand(int id, const QVariant &choice);
    void layOutPage();
    void setPageButton(SkinItem &button, bool enabled);
    void placeRouterLine();
    void layOutHistory(bool scrollToEnd);
    void paintHistory(QPainter &painter);
    void toggleFullScreen();

    void startSale(SkinItem &button);
    void sell(const std::shared_ptr<const VoucherProfile> &profile, int count,
              const std::optional<QString> &name);
    void saleProgress(quint32 made, quint32 count);
    void saleFinished();
    void printSale();

    void requestLeave(Leave leave);
    void leave(Leave leave);

    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    UserDataPrompt &m_prompt;
    PrinterChooser &m_printerChooser;
    UiResources &m_resources;

    SkinImage m_statusIcon;
    CSystemTray *m_tray = nullptr;
    bool m_fullScreen = false;
    QRect m_savedRect;

    SkinItem *m_fullScreenButton = nullptr;
    SkinItem *m_previousButton = nullptr;
    SkinItem *m_nextButton = nullptr;
    SkinItem *m_totalLabel = nullptr;
    SkinItem *m_routerLine = nullptr;
    SkinItem *m_busyLabel = nullptr;
    SkinItem *m_historyUp = nullptr;
    SkinItem *m_historyDown = nullptr;
    std::vector<SkinItem *> m_profileButtons;
    std::vector<SkinItem *> m_historyRows; // what screen readers read of the sales list

    int m_historyTop = 0;
    PosHistoryPanel m_panel;
    int m_firstProfile = 0;
    PosPageLayout m_page;
    QPointer<CKeyPad> m_keypad;
    bool m_swallowRelease = false; // the press that closed the keypad did only that

    bool m_selling = false;
    std::shared_ptr<const VoucherProfile> m_saleProfile;
    quint32 m_saleMade = 0;
    quint32 m_saleCount = 0;
    bool m_printing = false;

    Leave m_pendingLeave = Leave::None;
    bool m_leaving = false;
};
