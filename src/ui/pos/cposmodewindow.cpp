#include "cposmodewindow.h"

#include "ckeypad.h"

#include "base/formatprice.h"
#include "base/operatorinteraction.h"
#include "design/printjob.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/skinpainter.h"
#include "ui/framework/uiresources.h"
#include "ui/tray/csystemtray.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

// The skin and the insets by which it stretches.
constexpr int SkinLeft = 370;
constexpr int SkinRight = 370;
constexpr int SkinTop = 180;
constexpr int SkinBottom = 70;
constexpr int MinimumWidth = 733;
constexpr int MinimumHeight = 391;

// The sales list: where it starts, and how much of the height it leaves.
constexpr int PanelLeft = 18;
constexpr int PanelTop = 170;

const QColor TextButtonText(200, 200, 200);
const QColor TextButtonLine(200, 200, 220);
const QColor PageOffText(150, 150, 180);
const QColor ProfileTitle(14, 10, 99);
const QColor ProfileTitleHot(38, 71, 138);
const QColor ProfileDesign(38, 71, 138);
const QColor ProfileDesignHot(38, 71, 181);
const QColor LockedTitle(215, 215, 225);
const QColor LockedDesign(210, 210, 220);
const QColor RouterLineText(0, 50, 0);
const QColor PanelBackground(53, 60, 74);
const QColor OddRow(49, 55, 70);
const QColor EvenRow(57, 63, 79);
const QColor SaleTitle(255, 255, 220);

QString art(const QString &name)
{
    return u":/ui/%1.png"_s.arg(name);
}

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

CPosModeWindow::CPosModeWindow(SessionFacade &session, OperatorInteraction &interaction, UserDataPrompt &prompt,
                               PrinterChooser &printerChooser, UiResources &resources, QWidget *parent)
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
    addItem(makeSkinItem(skins, 279, 112, 0, 0, ClearItem, art(u"pos-clear"_s), {}, art(u"pos-clear-hot"_s), {},
                         button))
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
        item.texts[0] = {text.caption,  SkinItem::Centre, SkinItem::Centre,
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
        page.texts[0] = {next ? tr("Próximo") : tr("Anterior"),
                         SkinItem::Centre,
                         SkinItem::Centre,
                         PageOffText,
                         next ? QColor(10, 10, 0) : QColor(5, 5, 10),
                         m_resources.uiFont16};
        (next ? m_nextButton : m_previousButton) = &page;
    }

    m_totalLabel = &addLabel(*this, QRect(QPoint(145, h - 60), QPoint(330, h - 10)),
                             {QString(), SkinItem::AlignRight, SkinItem::Centre, Qt::white, Qt::white,
                              m_resources.uiFont21},
                             SkinItem::AnchorBottom);

    for (auto [id, y, name, anchoring] :
         {std::tuple{HistoryUpItem, PanelTop, u"pos-history-up"_s, quint32(0)},
          std::tuple{HistoryDownItem, h - 117, u"pos-history-down"_s, quint32(SkinItem::AnchorBottom)}}) {
        auto made = makeSkinItem(skins, PanelLeft, y, 0, 0, id, art(name), {}, art(name + u"-hot"_s), {},
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
    m_routerLine = &addLabel(*this, QRect(), {QString(), 0, SkinItem::Centre, RouterLineText, RouterLineText,
                                              m_resources.uiFont16});
    // The sale in progress, drawn over the page by the window itself.
    m_busyLabel = &addLabel(*this, QRect(), {QString(), SkinItem::Centre, SkinItem::Centre, Qt::white,
                                             Qt::white, m_resources.uiFont21});
    m_busyLabel->flags |= SkinItem::OwnerDrawn | SkinItem::Hidden;
    placeRouterLine();
}

void CPosModeWindow::createProfileButtons()
{
    const AppState &state = m_session.state();
    for (const std::shared_ptr<VoucherProfile> &profile : state.profiles) {
        const QString kind = profile->HotSpot ? u"hs"_s : u"um"_s;
        auto made = makeSkinItem(skins(), 0, 0, 355, 0, ProfileItem, art(u"pos-profile-"_s + kind), {},
                                 art(u"pos-profile-%1-hot"_s.arg(kind)), {},
                                 SkinItem::Transparent | SkinItem::Enabled | SkinItem::Hidden |
                                     SkinItem::ThreeSlice);
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

void CPosModeWindow::layOutPage()
{
    m_page = layOutPosPage(size(), int(m_profileButtons.size()), m_firstProfile);
    for (SkinItem *button : m_profileButtons)
        button->flags |= SkinItem::Hidden;
    for (const PosPageLayout::Button &place : std::as_const(m_page.buttons)) {
        SkinItem &button = *m_profileButtons[place.index];
        button.flags &= ~SkinItem::Hidden;
        const int height = button.bottom - button.top;
        button.left = place.left;
        button.top = place.top;
        button.right = place.left + place.width;
        button.bottom = place.top + height;
    }
    setPageButton(*m_previousButton, m_page.previousEnabled);
    setPageButton(*m_nextButton, m_page.nextEnabled);
    update(QRect(QPoint(380, 70), QPoint(width() - 45, height() - 105)));
}

void CPosModeWindow::setPageButton(SkinItem &button, bool enabled)
{
    if (button.has(SkinItem::Enabled) == enabled)
        return;
    if (enabled)
        button.flags |= SkinItem::Enabled;
    else
        button.flags &= ~SkinItem::Enabled;
    button.state = SkinItem::Normal;
    button.texts[0].colour = enabled ? QColor(Qt::black) : PageOffText;
    repaintItem(button);
}

void CPosModeWindow::placeRouterLine()
{
    const RouterConfig *router = m_session.state().currentRouter();
    m_routerLine->texts[0].text =
        router ? tr("Ligado ao router %1 (%2)").arg(router->Name, router->Address) : QString();
    const int textWidth = QFontMetrics(m_resources.uiFont16).horizontalAdvance(m_routerLine->texts[0].text);
    const int x = posRouterLineX(width(), textWidth);
    const int h = height();
    m_routerLine->left = x + 33;
    m_routerLine->top = h - 95;
    m_routerLine->right = x + 43 + textWidth;
    m_routerLine->bottom = h - 70;
    // The sale's progress covers the profile area.
    m_busyLabel->left = 380;
    m_busyLabel->top = 70;
    m_busyLabel->right = width() - 45;
    m_busyLabel->bottom = h - 105;
}

void CPosModeWindow::refreshHistory(bool scrollToEnd)
{
    const AppState &state = m_session.state();
    m_totalLabel->texts[0].text =
        formatPrice(state.posHistory.total(), state.settings.UseCurrency, state.separators);
    repaintItem(*m_totalLabel);
    layOutHistory(scrollToEnd);
    update(QRect(QPoint(PanelLeft, PanelTop), QPoint(PanelLeft + PosHistoryPanel::Width, height() - 67)));
}

void CPosModeWindow::layOutHistory(bool scrollToEnd)
{
    const AppState &state = m_session.state();
    m_panel = layOutPosHistory(state.posHistory, height(), m_historyTop, scrollToEnd, state.settings.UseCurrency,
                               state.separators);
    m_historyTop = m_panel.historyTop;
    auto show = [](SkinItem &item, bool shown) {
        if (shown) {
            item.flags &= ~SkinItem::Hidden;
        } else {
            item.flags |= SkinItem::Hidden;
            item.state = SkinItem::Normal;
        }
    };
    show(*m_historyUp, m_panel.upArrow);
    show(*m_historyDown, m_panel.downArrow);

    // The rows a screen reader reads: those in sight.
    qsizetype used = 0;
    for (const PosHistoryPanel::Row &row : std::as_const(m_panel.rows)) {
        if (row.top >= m_panel.listHeight)
            break;
        if (used == qsizetype(m_historyRows.size())) {
            auto made = std::make_unique<SkinItem>();
            made->flags = SkinItem::Transparent | SkinItem::OwnerDrawn;
            m_historyRows.push_back(&addItem(std::move(made)));
        }
        SkinItem &item = *m_historyRows[used++];
        item.flags &= ~SkinItem::Hidden;
        item.left = PanelLeft;
        item.top = PanelTop + row.top;
        item.right = PanelLeft + PosHistoryPanel::Width;
        item.bottom = PanelTop + std::min(row.top + PosHistoryPanel::RowHeight, m_panel.listHeight);
        item.accessibleName = u"%1 %2 %3"_s.arg(row.count, row.title, row.amount);
    }
    for (qsizetype i = used; i < qsizetype(m_historyRows.size()); ++i)
        m_historyRows[i]->flags |= SkinItem::Hidden;
}

void CPosModeWindow::lockProfiles(const SkinItem *selected, const CKeyPad *keypad)
{
    if (!selected && keypad != m_keypad.data())
        return;
    for (SkinItem *button : m_profileButtons) {
        const bool enabled = !selected || button == selected;
        if (button->has(SkinItem::Enabled) == enabled)
            continue;
        if (enabled)
            button->flags |= SkinItem::Enabled;
        else
            button->flags &= ~SkinItem::Enabled;
        button->state = SkinItem::Normal;
        button->texts[0].colour = enabled ? ProfileTitle : LockedTitle;
        button->texts[1].colour = enabled ? ProfileDesign : LockedDesign;
        repaintItem(*button);
    }
}

void CPosModeWindow::paintContent(QPainter &painter, const QRect &clip)
{
    const int h = height();
    // The caption's shadow, one pixel down and to the right.
    painter.setFont(m_resources.uiFont16);
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(76, 128), QPoint(251, 153)), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     tr("Histórico"));
    if (!m_statusIcon.isNull())
        painter.drawImage(QPoint(m_routerLine->left - 33, h - 95), *m_statusIcon.image);
    if (clip.intersects(QRect(QPoint(PanelLeft, PanelTop), QPoint(PanelLeft + PosHistoryPanel::Width, h - 67))))
        paintHistory(painter);
}

void CPosModeWindow::paintHistory(QPainter &painter)
{
    if (m_panel.listHeight <= 0)
        return;
    // Drawn apart and then copied, so rows and arrows stay inside the panel.
    QPixmap panel(PosHistoryPanel::Width, m_panel.listHeight);
    panel.fill(PanelBackground);
    QPainter out(&panel);
    out.setFont(m_resources.uiFont16);
    const QFontMetrics metrics(m_resources.uiFont16);
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    for (const PosHistoryPanel::Row &row : std::as_const(m_panel.rows)) {
        if (row.top >= m_panel.listHeight)
            break;
        const int y = row.top;
        out.fillRect(QRect(0, y, PosHistoryPanel::Width, PosHistoryPanel::RowHeight), row.odd ? OddRow : EvenRow);
        auto cell = [&](int left, int right, const QString &text, const QColor &colour, int align) {
            out.setPen(colour);
            const QRect box(QPoint(left, y), QPoint(right - 1, y + PosHistoryPanel::RowHeight - 1));
            out.drawText(box, flags | align, metrics.elidedText(text, Qt::ElideRight, box.width()));
        };
        cell(8, 43, row.count, Qt::white, Qt::AlignLeft);
        cell(51, 227, row.title, SaleTitle, Qt::AlignLeft);
        cell(235, 315, row.amount, Qt::white, Qt::AlignRight);
    }
    for (const SkinItem *arrow : {m_historyUp, m_historyDown}) {
        if (!arrow->has(SkinItem::Hidden))
            drawSkinItem(out, *arrow, QPoint(-PanelLeft, -PanelTop));
    }
    out.end();
    painter.drawPixmap(PanelLeft, PanelTop, panel);
}

void CPosModeWindow::paintEvent(QPaintEvent *event)
{
    CDesignWnd::paintEvent(event);
    if (!m_selling)
        return;
    // The sale covers the page: nothing there takes a touch until it is over.
    QPainter painter(this);
    const QRect area(QPoint(m_busyLabel->left, m_busyLabel->top), QPoint(m_busyLabel->right, m_busyLabel->bottom));
    painter.fillRect(area, QColor(20, 30, 60, 190));
    painter.setFont(m_busyLabel->texts[0].font);
    painter.setPen(Qt::white);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_busyLabel->texts[0].text);
}

QString CPosModeWindow::busyText() const
{
    if (!m_selling)
        return {};
    if (m_printing)
        return tr("Imprimindo...");
    if (m_saleCount > 1)
        return tr("Gerando vouchers... %1 de %2").arg(m_saleMade).arg(m_saleCount);
    return tr("Gerando voucher...");
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

void CPosModeWindow::startSale(SkinItem &button)
{
    const qsizetype index = button.data.toLongLong();
    const ProfileList &profiles = m_session.state().profiles;
    if (index < 0 || index >= profiles.size())
        return;
    const std::shared_ptr<const VoucherProfile> profile = profiles[index];
    const AppSettings &settings = m_session.state().settings;
    if (CKeyPad::confirmsAtOnce(settings)) {
        // The run's user-data prompt asks for the name.
        sell(profile, 1, QString());
        return;
    }
    delete m_keypad;
    clearHover();
    auto *keypad = new CKeyPad(m_resources, settings,
                               QRect(mapToGlobal(QPoint(button.left, button.top)),
                                     QSize(button.right - button.left, button.bottom - button.top)),
                               this);
    m_keypad = keypad;
    connect(keypad, &CKeyPad::closing, this, [this, keypad] { lockProfiles(nullptr, keypad); });
    connect(keypad, &CKeyPad::confirmed, this,
            [this, profile](bool countMode, int count, const QString &name) {
                sell(profile, count, countMode ? std::nullopt : std::optional<QString>(name));
            });
    lockProfiles(&button, keypad);
    keypad->open();
}

void CPosModeWindow::sell(const std::shared_ptr<const VoucherProfile> &profile, int count,
                          const std::optional<QString> &name)
{
    if (m_selling || count <= 0)
        return;
    GenerationRequest request;
    request.profile = profile;
    request.count = quint32(count);
    request.givenName = name;
    if (!m_session.startGeneration(request, m_prompt))
        return;
    m_selling = true;
    m_saleProfile = profile;
    m_saleCount = request.count;
    m_saleMade = 0;
    m_printing = false;
    clearHover();
    setCursor(Qt::BusyCursor);
    m_busyLabel->texts[0].text = busyText();
    m_busyLabel->flags &= ~SkinItem::Hidden;
    update();
}

void CPosModeWindow::saleProgress(quint32 made, quint32 count)
{
    if (!m_selling)
        return;
    m_saleMade = made;
    m_saleCount = count;
    m_busyLabel->texts[0].text = busyText();
    update(QRect(QPoint(m_busyLabel->left, m_busyLabel->top), QPoint(m_busyLabel->right, m_busyLabel->bottom)));
}

void CPosModeWindow::saleFinished()
{
    if (!m_selling)
        return;
    if (!m_session.state().batch.empty())
        printSale();
    refreshHistory(true);
    // What was touched during the sale and the printing is dropped now,
    // while the window still counts as busy.
    QCoreApplication::processEvents();
    m_selling = false;
    m_printing = false;
    m_saleProfile.reset();
    m_busyLabel->flags |= SkinItem::Hidden;
    m_busyLabel->texts[0].text.clear();
    unsetCursor();
    update();
    if (m_pendingLeave != Leave::None) {
        const Leave pending = std::exchange(m_pendingLeave, Leave::None);
        QMetaObject::invokeMethod(
            this, [this, pending] { leave(pending); }, Qt::QueuedConnection);
    }
}

void CPosModeWindow::printSale()
{
    const AppState &state = m_session.state();
    const VoucherDesign *design = m_saleProfile && m_saleProfile->Design ? m_saleProfile->Design
                                  : !state.designs.isEmpty()              ? state.designs.first().get()
                                                                          : &state.defaultDesign;
    QList<const VoucherRecord *> vouchers;
    for (const VoucherRecord &record : state.batch)
        vouchers.append(&record);
    m_printing = true;
    m_busyLabel->texts[0].text = busyText();
    repaint();
    const PrintOutcome outcome = printVouchers(*design, vouchers, false, m_printerChooser, m_interaction);
    if (outcome == PrintOutcome::Failed || outcome == PrintOutcome::Cancelled) {
        // The sale stands: the vouchers are on the router, in the history and
        // in the sales list.
        m_interaction.showMessage(tr("Os vouchers desta venda não foram impressos. Eles foram criados e "
                                     "estão no histórico de vouchers, de onde podem ser impressos novamente."),
                                  MessageIcon::Warning);
    }
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
