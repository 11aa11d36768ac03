#include "cposmodewindow.h"

#include "ckeypad.h"
#include "poswindowlook.h"

#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/uiresources.h"
#include "ui/tray/csystemtray.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>

using namespace Qt::StringLiterals;
using namespace poslook;

namespace {

// A text drawn on the skin that screen readers read.
SkinItem &addLabel(CDesignWnd &window, const QRect &place, const SkinItem::Text &text, quint32 anchoring = 0)
{
    auto label = std::make_unique<SkinItem>();
    label->left = place.left();
    label->top = place.top();
    label->right = place.right();
    label->bottom = place.bottom();
    label->flags = SkinItem::Transparent;
    label->texts[0] = text;
    label->anchoring = anchoring;
    return window.addItem(std::move(label));
}

} // namespace

CPosModeWindow::CPosModeWindow(SessionFacade &session, OperatorInteraction &interaction,
                               UserDataPrompt &prompt, PrinterChooser &printerChooser, UiResources &resources,
                               QWidget *parent)
    : CDesignWnd(resources.skins, parent, Qt::Window), m_session(session), m_interaction(interaction),
      m_prompt(prompt), m_printerChooser(printerChooser), m_resources(resources)
{
    const AppState &state = m_session.state();
    SkinImage skin = resources.skins.load(art(u"pos-skin"_s), {}, SkinCache::Retention::WhileUsed);
    skin.leftInset = SkinLeft;
    skin.rightInset = SkinRight;
    skin.topInset = SkinTop;
    skin.bottomInset = SkinBottom;
    setSkin(skin);
    m_statusIcon = resources.skins.load(art(u"pos-status"_s));

    setWindowTitle(u"wifiTicketer"_s);
    if (const RouterConfig *router = state.currentRouter())
        setWindowTitle(u"%1 - %2 (%3)"_s.arg(u"wifiTicketer"_s, router->Name, router->Address));
    setWindowIcon(resources.appIcon);

    // 1200 × 700 in the middle of the screen, or what the screen has room for;
    // never smaller than the skin.
    setMinimumSize(MinimumWidth, MinimumHeight);
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = shown ? shown->availableGeometry() : QRect(0, 0, NormalWidth, NormalHeight);
    const QSize size(std::clamp(available.width(), MinimumWidth, NormalWidth),
                     std::clamp(available.height(), MinimumHeight, NormalHeight));
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available));

    createFixedItems();
    connect(this, &CDesignWnd::itemCommand, this, &CPosModeWindow::onItemCommand);
    refreshHistory(false);
    if (const AppUser *user = state.currentUser >= 0 && state.currentUser < state.users.size()
                                  ? &state.users[state.currentUser]
                                  : nullptr;
        user && user->FullScreen) {
        toggleFullScreen();
    }
    createProfileButtons();
    layOutPage();

    if (state.settings.MinimizeToTray) {
        m_tray = new CSystemTray(resources.appIcon, this);
        m_tray->setObjectName(u"tray"_s);
        connect(m_tray, &CSystemTray::showRequested, this, &CPosModeWindow::restore);
        connect(m_tray, &CSystemTray::closeRequested, this, [this] { requestLeave(Leave::Quit); });
    }

    connect(&m_session, &SessionFacade::salesChanged, this, [this] { refreshHistory(true); });
    connect(&m_session, &SessionFacade::generationProgress, this, &CPosModeWindow::saleProgress);
    // Queued, so the end of a sale (and its printing) is handled once the
    // session has finished telling everyone.
    connect(&m_session, &SessionFacade::generationFinished, this, &CPosModeWindow::saleFinished,
            Qt::QueuedConnection);
}

CPosModeWindow::~CPosModeWindow()
{
    delete m_keypad;
}

CKeyPad *CPosModeWindow::keypad() const
{
    return m_keypad;
}

void CPosModeWindow::createFixedItems()
{
    SkinCache &skins = m_resources.skins;
    const int w = width();
    const int h = height();
    const quint32 button = SkinItem::Transparent | SkinItem::Enabled;

    for (auto [id, x, name, spoken] : {std::tuple{CloseItem, w - 72, u"close"_s, tr("Fechar")},
                                       std::tuple{MinimizeItem, w - 136, u"minimize"_s, tr("Minimizar")}}) {
        auto made = makeSkinItem(skins, x, 0, 0, 0, id, art(name), {}, art(name + u"-hot"_s), {}, button);
        made->anchoring = SkinItem::AnchorRight;
        made->accessibleName = spoken;
        addItem(std::move(made));
    }
    addItem(makeSkinItem(skins, 279, 112, 0, 0, ClearItem, art(u"pos-clear"_s), {}, art(u"pos-clear-hot"_s),
                         {}, button))
        .accessibleName = tr("Limpar histórico");

    // The text buttons along the bottom edge, right to left.
    struct TextButton
    {
        int id;
        int right; // distance of the right edge from the window's
        QString caption;
    };
    const TextButton textButtons[] = {
        {LogoutItem, 10, tr("Sair do aplicativo")},
        {FullScreenItem, 160, tr("Tela cheia")},
        {NormalModeItem, 310, tr("Modo Normal")},
        {ClearItem, 460, tr("Apagar histórico")},
    };
    for (const TextButton &text : textButtons) {
        SkinItem &item = addItem([&] {
            auto made = makeSkinItem(skins, w - text.right - 150, h - 45, 150, 25, text.id,
                                     art(u"pos-textbutton"_s), {}, art(u"pos-textbutton-hot"_s), {}, button);
            made->anchoring = SkinItem::AnchorRight | SkinItem::AnchorBottom;
            return made;
        }());
        item.texts[0] = {text.caption,   SkinItem::Centre, SkinItem::Centre,
                         TextButtonText, Qt::white,        m_resources.uiFont16};
        item.lineColour = TextButtonLine;
        item.leftLine = text.id == FullScreenItem || text.id == NormalModeItem;
        item.rightLine = text.id == FullScreenItem;
        if (text.id == FullScreenItem)
            m_fullScreenButton = &item;
    }

    // The page buttons start switched off; the page layout switches them on.
    for (auto [id, x, name, anchoring] :
         {std::tuple{NextItem, w - 170, u"pos-next"_s, SkinItem::AnchorRight | SkinItem::AnchorBottom},
          std::tuple{PreviousItem, 365, u"pos-previous"_s, quint32(SkinItem::AnchorBottom)}}) {
        auto made = makeSkinItem(skins, x, h - 105, 140, 0, id, art(name), {}, art(name + u"-hot"_s), {},
                                 SkinItem::Transparent | SkinItem::ThreeSlice);
        made->offImage = skins.load(art(name + u"-off"_s));
        made->anchoring = anchoring;
        SkinItem &page = addItem(std::move(made));
        const bool next = id == NextItem;
        for (SkinImage *image : {&page.normalImage, &page.hotImage, &page.offImage}) {
            image->leftInset = next ? 5 : 30;
            image->rightInset = next ? 30 : 5;
        }
        page.textMargins = next ? QMargins(0, 0, 35, 0) : QMargins(35, 0, 0, 0);
        page.texts[0] = {
            next ? tr("Próximo") : tr("Anterior"),       SkinItem::Centre,    SkinItem::Centre, PageOffText,
            next ? QColor(10, 10, 0) : QColor(5, 5, 10), m_resources.uiFont16};
        (next ? m_nextButton : m_previousButton) = &page;
    }

    m_totalLabel = &addLabel(
        *this, QRect(QPoint(145, h - 60), QPoint(330, h - 10)),
        {QString(), SkinItem::AlignRight, SkinItem::Centre, Qt::white, Qt::white, m_resources.uiFont21},
        SkinItem::AnchorBottom);

    for (auto [id, y, name, anchoring] :
         {std::tuple{HistoryUpItem, PanelTop, u"pos-history-up"_s, quint32(0)},
          std::tuple{HistoryDownItem, h - 117, u"pos-history-down"_s, quint32(SkinItem::AnchorBottom)}}) {
        auto made =
            makeSkinItem(skins, PanelLeft, y, 0, 0, id, art(name), {}, art(name + u"-hot"_s), {},
                         SkinItem::Enabled | SkinItem::NoFill | SkinItem::OwnerDrawn | SkinItem::Hidden);
        made->anchoring = anchoring;
        made->accessibleName = id == HistoryUpItem ? tr("Vendas anteriores") : tr("Vendas seguintes");
        (id == HistoryUpItem ? m_historyUp : m_historyDown) = &addItem(std::move(made));
    }

    // The captions of the skin, read by screen readers too.
    addLabel(*this, QRect(QPoint(75, 127), QPoint(250, 152)),
             {tr("Histórico"), 0, SkinItem::Centre, Qt::white, Qt::white, m_resources.uiFont16});
    addLabel(*this, QRect(QPoint(45, h - 48), QPoint(300, h - 23)),
             {tr("TOTAL"), 0, SkinItem::Centre, Qt::white, Qt::white, m_resources.uiFont16},
             SkinItem::AnchorBottom);
    m_routerLine =
        &addLabel(*this, QRect(),
                  {QString(), 0, SkinItem::Centre, RouterLineText, RouterLineText, m_resources.uiFont16});
    // The sale in progress, drawn over the page by the window itself.
    m_busyLabel = &addLabel(
        *this, QRect(),
        {QString(), SkinItem::Centre, SkinItem::Centre, Qt::white, Qt::white, m_resources.uiFont21});
    m_busyLabel->flags |= SkinItem::OwnerDrawn | SkinItem::Hidden;
    placeRouterLine();
}

void CPosModeWindow::createProfileButtons()
{
    const AppState &state = m_session.state();
    for (const std::shared_ptr<VoucherProfile> &profile : state.profiles) {
        const QString kind = profile->HotSpot ? u"hs"_s : u"um"_s;
        auto made =
            makeSkinItem(skins(), 0, 0, 355, 0, ProfileItem, art(u"pos-profile-"_s + kind), {},
                         art(u"pos-profile-%1-hot"_s.arg(kind)), {},
                         SkinItem::Transparent | SkinItem::Enabled | SkinItem::Hidden | SkinItem::ThreeSlice);
        made->offImage = skins().load(art(u"pos-profile-%1-off"_s.arg(kind)));
        for (SkinImage *image : {&made->normalImage, &made->hotImage, &made->offImage}) {
            image->leftInset = 70;
            image->rightInset = 60;
        }
        // Long titles stay clear of the badge.
        made->textMargins = QMargins(0, 0, 60, 0);
        made->texts[0] = {u"%1 (%2)"_s.arg(profile->Title, profile->PriceText),
                          70,
                          5,
                          ProfileTitle,
                          ProfileTitleHot,
                          m_resources.uiFont16};
        made->texts[1] = {profile->Design ? profile->Design->Name : QString(),
                          70,
                          27,
                          ProfileDesign,
                          ProfileDesignHot,
                          m_resources.uiFont16};
        made->data = qlonglong(m_profileButtons.size());
        m_profileButtons.push_back(&addItem(std::move(made)));
    }
}

void CPosModeWindow::onItemCommand(int id, const QVariant &choice)
{
    // Whatever was asked during a sale (a second tap, a screen reader's
    // press) is dropped, never carried out afterwards.
    if (m_selling || m_leaving)
        return;
    switch (id) {
    case NormalModeItem:
        requestLeave(Leave::NormalMode);
        break;
    case LogoutItem:
        requestLeave(Leave::Logout);
        break;
    case CloseItem:
        clearHover();
        requestLeave(Leave::Close);
        break;
    case FullScreenItem:
        clearHover();
        toggleFullScreen();
        break;
    case MinimizeItem:
        clearHover();
        if (m_keypad)
            m_keypad->close();
        showMinimized();
        break;
    case ClearItem:
        m_session.clearSales();
        refreshHistory(false);
        break;
    case ProfileItem: {
        const qsizetype index = choice.toLongLong();
        if (index >= 0 && index < qsizetype(m_profileButtons.size()))
            startSale(*m_profileButtons[index]);
        break;
    }
    case NextItem:
        if (m_page.nextEnabled) {
            m_firstProfile = nextPosPage(m_page, m_firstProfile);
            layOutPage();
        }
        break;
    case PreviousItem:
        if (m_firstProfile > 0) {
            m_firstProfile = previousPosPage(m_page, m_firstProfile);
            layOutPage();
        }
        break;
    case HistoryUpItem:
        if (m_historyTop > 0) {
            --m_historyTop;
            refreshHistory(false);
        }
        break;
    case HistoryDownItem:
        ++m_historyTop;
        refreshHistory(false);
        break;
    default:
        break;
    }
}

bool CPosModeWindow::event(QEvent *event)
{
    if (m_selling) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            // Dropped: a tap during a sale must not start another one.
            event->accept();
            return true;
        default:
            break;
        }
    }
    return CDesignWnd::event(event);
}

void CPosModeWindow::mousePressEvent(QMouseEvent *event)
{
    // A touch beside an open keypad only closes it.
    if (m_keypad) {
        m_keypad->close();
        m_swallowRelease = true;
        event->accept();
        return;
    }
    CDesignWnd::mousePressEvent(event);
}

void CPosModeWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (std::exchange(m_swallowRelease, false)) {
        event->accept();
        return;
    }
    CDesignWnd::mouseReleaseEvent(event);
}

void CPosModeWindow::resizeEvent(QResizeEvent *event)
{
    CDesignWnd::resizeEvent(event);
    if (!m_previousButton)
        return;
    reanchor();
    placeRouterLine();
    layOutPage();
    layOutHistory(false);
}

void CPosModeWindow::toggleFullScreen()
{
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!m_fullScreen) {
        m_savedRect = geometry();
        // The screen's work area, so the taskbar stays in sight.
        if (shown)
            setGeometry(shown->availableGeometry());
        m_fullScreenButton->texts[0].text = tr("Restaurar");
        m_fullScreen = true;
    } else {
        setGeometry(m_savedRect);
        m_fullScreenButton->texts[0].text = tr("Tela cheia");
        m_fullScreen = false;
    }
    m_firstProfile = 0;
    if (m_previousButton && !m_profileButtons.empty())
        layOutPage();
    update();
    m_session.setFullScreen(m_fullScreen);
}

void CPosModeWindow::restore()
{
    if (isVisible()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        activateWindow();
    } else if (m_tray) {
        m_tray->showFromTray(*this);
    } else {
        show();
        raise();
        activateWindow();
    }
}

void CPosModeWindow::endProgram()
{
    if (m_selling)
        m_session.requestStop();
    requestLeave(Leave::Quit);
}

void CPosModeWindow::requestLeave(Leave leave)
{
    if (m_selling) {
        // Once the sale is over; the end of the program is not turned into less.
        if (m_pendingLeave != Leave::Quit)
            m_pendingLeave = leave;
        return;
    }
    this->leave(leave);
}

void CPosModeWindow::leave(Leave leave)
{
    if (m_leaving)
        return;
    // The keypad goes first, giving the profile buttons back.
    if (m_keypad)
        m_keypad->close();
    if (leave == Leave::Close) {
        if (m_tray) {
            if (m_tray->hideToTray(*this))
                m_tray->showBalloonOnce();
            return;
        }
        leave = Leave::Quit;
    }
    m_leaving = true;
    const QPointer<CPosModeWindow> self(this);
    switch (leave) {
    case Leave::Logout:
        Q_EMIT logoutRequested();
        break;
    case Leave::NormalMode:
        m_session.setPosMode(false);
        Q_EMIT normalModeRequested();
        break;
    default:
        Q_EMIT quitRequested();
        // The main window closing ends the program, also when nobody listens.
        if (self)
            close();
        break;
    }
}

void CPosModeWindow::closeEvent(QCloseEvent *event)
{
    if (m_leaving) {
        event->accept();
        return;
    }
    if (m_selling || m_tray) {
        event->ignore();
        requestLeave(Leave::Close);
        return;
    }
    if (m_keypad)
        m_keypad->close();
    m_leaving = true;
    event->accept();
    Q_EMIT quitRequested();
}
