#include "profilelistmodel.h"

#include "design/voucherdesign.h"

ProfileListModel::ProfileListModel(const QIcon &hotSpotIcon, const QIcon &userManagerIcon, QObject *parent)
    : QAbstractTableModel(parent), m_hotSpotIcon(hotSpotIcon), m_userManagerIcon(userManagerIcon)
{
}

void ProfileListModel::setProfiles(const ProfileList &profiles)
{
    beginResetModel();
    m_profiles = profiles;
    endResetModel();
}

std::shared_ptr<VoucherProfile> ProfileListModel::profile(int row) const
{
    return row >= 0 && row < m_profiles.size() ? m_profiles[row] : nullptr;
}

int ProfileListModel::rowOf(const VoucherProfile *profile) const
{
    for (qsizetype row = 0; row < m_profiles.size(); ++row) {
        if (m_profiles[row].get() == profile)
            return int(row);
    }
    return -1;
}

void ProfileListModel::designChanged(const VoucherProfile *profile)
{
    const int row = rowOf(profile);
    if (row < 0)
        return;
    const QModelIndex cell = index(row, DesignColumn);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

int ProfileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_profiles.size());
}

int ProfileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProfileListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const VoucherProfile &profile = *m_profiles[index.row()];
    if (role == Qt::DecorationRole && index.column() == NameColumn)
        return profile.HotSpot ? m_hotSpotIcon : m_userManagerIcon;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case NameColumn:
        return profile.Title;
    case ValidityColumn:
        return profile.ValidityDisplay;
    case DesignColumn:
        return profile.Design ? profile.Design->Name : QString();
    default:
        return {};
    }
}

QVariant ProfileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return tr("Nome");
    case ValidityColumn:
        return tr("Validade");
    case DesignColumn:
        return tr("Design");
    default:
        return {};
    }
}
