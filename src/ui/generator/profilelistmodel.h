#pragma once

#include "generation/voucherprofile.h"

#include <QAbstractTableModel>
#include <QIcon>

// The sellable profiles of the generator window: name (with the hotspot or
// User Manager symbol), validity and the design each prints with.
class ProfileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        ValidityColumn,
        DesignColumn,
        ColumnCount
    };

    ProfileListModel(const QIcon &hotSpotIcon, const QIcon &userManagerIcon, QObject *parent = nullptr);

    // Shows these profiles; the model keeps them alive while it shows them.
    void setProfiles(const ProfileList &profiles);
    // The profile of a row, or null outside the list.
    std::shared_ptr<VoucherProfile> profile(int row) const;
    // The row of a profile, or -1.
    int rowOf(const VoucherProfile *profile) const;
    // The profile's design changed.
    void designChanged(const VoucherProfile *profile);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ProfileList m_profiles;
    QIcon m_hotSpotIcon;
    QIcon m_userManagerIcon;
};
