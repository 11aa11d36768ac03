#pragma once

#include "design/voucherdesign.h"

#include <QList>

// The designs of a list themselves, for comparing lists.
QList<VoucherDesign> valuesOf(const DesignList &designs);
// A list holding a copy of each design.
DesignList listOf(const QList<VoucherDesign> &designs);
