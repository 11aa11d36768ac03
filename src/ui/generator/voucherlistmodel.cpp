#include "voucherlistmodel.h"

#include "generation/voucherprofile.h"

VoucherListModel::VoucherListModel(const QIcon &hotSpotIcon, const QIcon &userManagerIcon, QObject *parent)
    : QAbstractTableModel(parent), m_hotSpotIcon(hotSpotIcon), m_userManagerIcon(userManagerIcon)
{
}

void VoucherListModel::setBatch(const BatchList &batch)
{
    beginResetModel();
    m_records.assign(batch.begin(), batch.end());
    endResetModel();
}

void VoucherListModel::clear()
{
    if (m_records.empty())
        return;
    beginResetModel();
    m_records.clear();
    endResetModel();
}

void VoucherListModel::setShowPasswords(bool show)
{
    if (show == m_showPasswords)
        return;
    m_showPasswords = show;
    if (!m_records.empty())
        Q_EMIT dataChanged(index(0, PasswordColumn), index(rowCount() - 1, PasswordColumn),
                           {Qt::DisplayRole});
}

int VoucherListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

int VoucherListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant VoucherListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const VoucherRecord &record = m_records[size_t(index.row())];
    if (role == Qt::DecorationRole && index.column() == UserNameColumn)
        return record.HotSpotUser ? m_hotSpotIcon : m_userManagerIcon;
    // The password on demand, also while the column hides it.
    if (role == Qt::ToolTipRole && index.column() == PasswordColumn)
        return tr("Senha") + QStringLiteral(": ") + record.Password;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case UserNameColumn:
        return record.UserName;
    case PasswordColumn:
        return m_showPasswords ? record.Password : QString::fromUtf16(HiddenPassword);
    case SerialColumn:
        return formatSerial(record.Serial);
    case ProfileColumn:
        return record.Profile ? record.Profile->Title : QString();
    case PriceColumn:
        return record.Profile ? record.Profile->PriceText : QString();
    default:
        return {};
    }
}

QVariant VoucherListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case UserNameColumn:
        return tr("Nome do usuário");
    case PasswordColumn:
        return tr("Senha");
    case SerialColumn:
        return tr("Contador (código do voucher)");
    case ProfileColumn:
        return tr("Perfil");
    case PriceColumn:
        return tr("Preço");
    default:
        return {};
    }
}
