#include "designlists.h"

QList<VoucherDesign> valuesOf(const DesignList &designs)
{
    QList<VoucherDesign> values;
    for (const auto &design : designs)
        values.append(*design);
    return values;
}

DesignList listOf(const QList<VoucherDesign> &designs)
{
    DesignList list;
    for (const VoucherDesign &design : designs)
        list.append(std::make_shared<VoucherDesign>(design));
    return list;
}
