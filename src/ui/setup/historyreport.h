#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;

// The printed list of the history page: a head line and a stamp on every
// page, the column captions in bold, then the rows, as plain texts.
struct HistoryReport
{
    QString head;  // left in the head band
    QString stamp; // right in the head band, followed by " - <page>"
    QStringList captions;
    QList<int> widths; // relative widths of the columns
    QList<QStringList> rows;
};

// Draws the report with the painter on pages whose printable part is `page`
// (device pixels at `dpi`), 10 mm in from each side; `newPage` ends a page and
// starts the next, false when it could not. Texts wrap to two lines at most,
// with an ellipsis where they do not fit; the last column is right-aligned.
// Returns the number of pages begun.
int drawHistoryReport(QPainter &painter, const QRect &page, int dpi, const HistoryReport &report,
                      const std::function<bool()> &newPage);
