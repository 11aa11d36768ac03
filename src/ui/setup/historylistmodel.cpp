#include "historylistmodel.h"

#include "history/historycsv.h"
#include "history/historysearch.h"

#include <algorithm>
#include <numeric>

namespace {

// -1, 0 or 1 as a is before, with or after b in the column's order.
int compareRows(const HistoryRow &a, const HistoryRow &b, int column, const HistoryListModel &model, int ia,
                int ib)
{
    const auto three = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    switch (column) {
    case HistoryListModel::SerialColumn:
        // Rows without serial first.
        return three(a.Serial ? qint64(*a.Serial) : -1, b.Serial ? qint64(*b.Serial) : -1);
    case HistoryListModel::CreatedColumn:
        return three(a.Created.toSecsSinceEpoch(), b.Created.toSecsSinceEpoch());
    case HistoryListModel::PriceColumn:
        return three(a.Price, b.Price);
    default:
        return model.text(ia, column).localeAwareCompare(model.text(ib, column));
    }
}

} // namespace

HistoryListModel::HistoryListModel(const Icons &icons, const PriceFormat &format, QObject *parent)
    : QAbstractTableModel(parent), m_icons(icons), m_format(format), m_captions(historyColumnCaptions())
{
}

void HistoryListModel::setRows(const QList<HistoryRow> &rows)
{
    beginResetModel();
    m_rows = rows;
    if (m_sortColumn >= 0)
        sortRows(m_sortColumn, m_sortOrder);
    endResetModel();
}

void HistoryListModel::clear()
{
    if (m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void HistoryListModel::markRemoved(int index)
{
    HistoryRow &row = m_rows[index];
    if (isRemovedRow(row))
        return;
    row.UserName.prepend(u'|');
    Q_EMIT dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1));
}

QString HistoryListModel::text(int row, int column) const
{
    const HistoryRow &r = m_rows.at(row);
    switch (column) {
    case UserNameColumn:
        return shownUserName(r);
    case PasswordColumn:
        return r.Password;
    case ProfileColumn:
        return shownProfile(r);
    case SerialColumn:
        return r.Serial ? QStringLiteral("%1").arg(*r.Serial, 9, 10, QLatin1Char('0')) : QString();
    case CreatedColumn:
        return historyCreatedText(r);
    case RouterColumn:
        return r.Router;
    case GeneratorColumn:
        return r.Generator;
    case PriceColumn:
        return formatPrice(r.Price, m_format.pattern, m_format.separators);
    case FirstNameColumn:
        return r.FirstName;
    case LastNameColumn:
        return r.LastName;
    case PhoneColumn:
        return r.Phone;
    case LocationColumn:
        return r.Location;
    case CommentColumn:
        return r.Comment;
    case EmailColumn:
        return r.Email;
    default:
        return {};
    }
}

int HistoryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HistoryRow &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::DecorationRole:
        if (index.column() != UserNameColumn)
            return {};
        if (isRemovedRow(row))
            return m_icons.removed;
        return isHotSpotRow(row) ? m_icons.hotSpot : m_icons.userManager;
    case Qt::TextAlignmentRole:
        if (index.column() == PriceColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant HistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_captions.value(section);
    if (role == Qt::TextAlignmentRole && section == PriceColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void HistoryListModel::sort(int column, Qt::SortOrder order)
{
    if (column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    if (column < 0 || m_rows.size() < 2)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> oldRows;
    for (const QModelIndex &index : before)
        oldRows.append(index.row());
    const QList<int> newRowOf = sortRows(column, order);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(newRowOf[oldRows[i]], before[i].column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QList<int> HistoryListModel::sortRows(int column, Qt::SortOrder order)
{
    QList<int> sortedRows(m_rows.size());
    std::iota(sortedRows.begin(), sortedRows.end(), 0);
    std::stable_sort(sortedRows.begin(), sortedRows.end(), [&](int a, int b) {
        const int c = compareRows(m_rows[a], m_rows[b], column, *this, a, b);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QList<HistoryRow> sorted;
    sorted.reserve(m_rows.size());
    QList<int> newRowOf(m_rows.size());
    for (qsizetype i = 0; i < sortedRows.size(); ++i) {
        sorted.append(m_rows[sortedRows[i]]);
        newRowOf[sortedRows[i]] = int(i);
    }
    m_rows = std::move(sorted);
    return newRowOf;
}
