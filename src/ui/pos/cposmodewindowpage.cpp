// The counter window's page of profile buttons, its sales list and what it
// paints between the skin and the items.

#include "cposmodewindow.h"

#include "ckeypad.h"
#include "poswindowlook.h"

#include "base/formatprice.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/skinpainter.h"
#include "ui/framework/uiresources.h"

#include <QPainter>

using namespace Qt::StringLiterals;
using namespace poslook;

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
    m_panel = layOutPosHistory(state.posHistory, height(), m_historyTop, scrollToEnd,
                               state.settings.UseCurrency, state.separators);
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
    painter.drawText(QRect(QPoint(76, 128), QPoint(251, 153)),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, tr("Histórico"));
    if (!m_statusIcon.isNull())
        painter.drawImage(QPoint(m_routerLine->left - 33, h - 95), *m_statusIcon.image);
    if (clip.intersects(
            QRect(QPoint(PanelLeft, PanelTop), QPoint(PanelLeft + PosHistoryPanel::Width, h - 67))))
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
        out.fillRect(QRect(0, y, PosHistoryPanel::Width, PosHistoryPanel::RowHeight),
                     row.odd ? OddRow : EvenRow);
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
    const QRect area(QPoint(m_busyLabel->left, m_busyLabel->top),
                     QPoint(m_busyLabel->right, m_busyLabel->bottom));
    painter.fillRect(area, QColor(20, 30, 60, 190));
    painter.setFont(m_busyLabel->texts[0].font);
    painter.setPen(Qt::white);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_busyLabel->texts[0].text);
}
