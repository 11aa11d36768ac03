#include "poshistorypanel.h"

#include "poshistory.h"

#include "base/formatprice.h"

#include <algorithm>

namespace {

// The panel starts 170 px down and ends 67 px above the bottom.
constexpr int PanelFrame = 237;

} // namespace

PosHistoryPanel layOutPosHistory(const PosHistory &history, int clientHeight, int historyTop,
                                 bool scrollToEnd, const QString &currencyPattern,
                                 const NumberSeparators &separators)
{
    PosHistoryPanel panel;
    // A window lower than the frame has an empty panel, not a negative one.
    panel.listHeight = std::max(clientHeight - PanelFrame, 0);
    const int n = history.size();
    if (scrollToEnd)
        historyTop = std::max(0, n - panel.listHeight / PosHistoryPanel::RowHeight);
    if (historyTop >= n || historyTop < 0)
        historyTop = 0;
    panel.historyTop = historyTop;
    for (int k = historyTop; k < n; ++k) {
        const PosHistoryEntry &sale = history.entry(k);
        PosHistoryPanel::Row row;
        row.index = k;
        row.top = PosHistoryPanel::RowHeight * (k - historyTop);
        row.odd = k % 2 == 1;
        row.count = QStringLiteral("%1x").arg(sale.count);
        row.title = sale.title;
        row.amount = formatPrice(qint64(sale.count) * sale.unitPrice, currencyPattern, separators);
        if (row.top + PosHistoryPanel::RowHeight > panel.listHeight)
            panel.downArrow = true;
        panel.rows.append(row);
    }
    panel.upArrow = historyTop != 0;
    return panel;
}
