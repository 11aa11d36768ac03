#pragma once

#include <QList>
#include <QString>

class PosHistory;
struct NumberSeparators;

// The sales list on the left of the counter window, oldest sale first: which
// rows it shows at the client height, and whether its arrows show.
struct PosHistoryPanel
{
    static constexpr int RowHeight = 38;
    static constexpr int Width = 323;

    struct Row
    {
        int index = 0; // of the sale, from the oldest
        int top = 0;   // in the panel
        bool odd = false;
        QString count;  // "3x"
        QString title;  // the profile's title
        QString amount; // count × unit price, formatted
    };

    int listHeight = 0; // the panel's height
    int historyTop = 0; // the first sale shown
    QList<Row> rows;    // every sale from historyTop on; the panel clips those below it
    bool upArrow = false;
    bool downArrow = false; // rows go past the panel's bottom
};

// The panel at the client height. `historyTop` is the window's first row;
// `scrollToEnd` shows the newest sales (after a sale).
PosHistoryPanel layOutPosHistory(const PosHistory &history, int clientHeight, int historyTop,
                                 bool scrollToEnd, const QString &currencyPattern,
                                 const NumberSeparators &separators);
