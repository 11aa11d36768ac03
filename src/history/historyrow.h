#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

struct VoucherRecord;

// One row of the History table as stored: the marks are part of the texts.
struct HistoryRow
{
    QString UserName; // "|" in front once removed from the router
    QString Password;
    QString Profile; // the profile's title, "!#" in front for a hotspot voucher
    QString Router;
    QDateTime Created; // local date and time, to the second
    QString Generator;
    QString Validity; // the profile's duration text
    qint32 Price = 0;
    std::optional<quint32> Serial; // rows of old databases may have none
    QString FirstName;
    QString LastName;
    QString Phone;
    QString Location;
    QString Comment;
    QString Email;
};

// The longest text a History column holds.
constexpr qsizetype HistoryTextColumnSize = 50;

// The row that records a voucher made on the named router. Texts are cut to
// what their columns hold, so a long customer comment cannot keep the voucher
// out of the history.
HistoryRow historyRowOf(const VoucherRecord &record, const QString &routerName);

// The marks in stored texts.
bool isHotSpotRow(const HistoryRow &row);
bool isRemovedRow(const HistoryRow &row);
QString shownUserName(const HistoryRow &row); // without the removal mark
QString shownProfile(const HistoryRow &row);  // without the hotspot mark
