#pragma once

#include "generation/voucherrecord.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

// The vouchers of the last run in the generator window: user name (with the
// hotspot or User Manager symbol), password (hidden unless shown; its tooltip
// tells it either way), serial, profile and price.
class VoucherListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        UserNameColumn,
        PasswordColumn,
        SerialColumn,
        ProfileColumn,
        PriceColumn,
        ColumnCount
    };

    // What stands for a hidden password.
    static constexpr char16_t HiddenPassword[] = u"\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF";

    VoucherListModel(const QIcon &hotSpotIcon, const QIcon &userManagerIcon, QObject *parent = nullptr);

    // Shows a copy of the batch, so the list stays whole while a run empties
    // and refills the batch itself.
    void setBatch(const BatchList &batch);
    void clear();
    const VoucherRecord &record(int row) const { return m_records.at(size_t(row)); }

    bool showsPasswords() const { return m_showPasswords; }
    void setShowPasswords(bool show);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<VoucherRecord> m_records;
    QIcon m_hotSpotIcon;
    QIcon m_userManagerIcon;
    bool m_showPasswords = false;
};
