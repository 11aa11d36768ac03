#pragma once

#include "generation/voucherprofile.h"
#include "history/historyrow.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>

// The rows the history page found, with their marks read: the user name
// without the removal mark and the profile without the hotspot mark, an icon
// for removed, hotspot and User Manager vouchers. Sorts by any column (dates,
// serials and prices by value).
class HistoryListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        UserNameColumn,
        PasswordColumn,
        ProfileColumn,
        SerialColumn,
        CreatedColumn,
        RouterColumn,
        GeneratorColumn,
        PriceColumn,
        FirstNameColumn,
        LastNameColumn,
        PhoneColumn,
        LocationColumn,
        CommentColumn,
        EmailColumn,
        ColumnCount
    };

    struct Icons
    {
        QIcon removed;
        QIcon hotSpot;
        QIcon userManager;
    };

    HistoryListModel(const Icons &icons, const PriceFormat &format, QObject *parent = nullptr);

    // Shows the rows in the order given (the sort column, if any, applies
    // again).
    void setRows(const QList<HistoryRow> &rows);
    void clear();
    const QList<HistoryRow> &rows() const { return m_rows; }
    const HistoryRow &row(int index) const { return m_rows.at(index); }
    // The row's user has been removed from its router.
    void markRemoved(int index);

    // The text a cell shows.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // Sorts the rows; gives the new row of each old one.
    QList<int> sortRows(int column, Qt::SortOrder order);

    QList<HistoryRow> m_rows;
    Icons m_icons;
    PriceFormat m_format;
    QStringList m_captions;
    int m_sortColumn = -1; // none: the database's order
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
