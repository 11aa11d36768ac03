#include "historyrow.h"

#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"

using namespace Qt::StringLiterals;

namespace {

const QString RemovedMark = u"|"_s;
const QString HotSpotMark = u"!#"_s;

QString fitted(const QString &text)
{
    qsizetype size = qMin(text.size(), HistoryTextColumnSize);
    if (size < text.size() && size > 0 && text[size - 1].isHighSurrogate())
        --size;
    return text.first(size);
}

} // namespace

HistoryRow historyRowOf(const VoucherRecord &record, const QString &routerName)
{
    HistoryRow row;
    row.UserName = fitted(record.UserName);
    row.Password = fitted(record.Password);
    if (record.Profile) {
        row.Profile =
            fitted(record.HotSpotUser ? HotSpotMark + record.Profile->Title : record.Profile->Title);
        row.Validity = fitted(record.Profile->Validity);
        row.Price = record.Profile->Price;
    }
    row.Router = fitted(routerName);
    row.Created = QDateTime::fromSecsSinceEpoch(record.Created);
    row.Generator = fitted(record.Generator);
    row.Serial = record.Serial;
    row.FirstName = fitted(record.FirstName);
    row.LastName = fitted(record.LastName);
    row.Phone = fitted(record.Phone);
    row.Location = fitted(record.Location);
    row.Comment = fitted(record.Comment);
    row.Email = fitted(record.Email);
    return row;
}

bool isHotSpotRow(const HistoryRow &row)
{
    return row.Profile.startsWith(HotSpotMark);
}

bool isRemovedRow(const HistoryRow &row)
{
    return row.UserName.startsWith(RemovedMark);
}

QString shownUserName(const HistoryRow &row)
{
    return isRemovedRow(row) ? row.UserName.mid(RemovedMark.size()) : row.UserName;
}

QString shownProfile(const HistoryRow &row)
{
    return isHotSpotRow(row) ? row.Profile.mid(HotSpotMark.size()) : row.Profile;
}
