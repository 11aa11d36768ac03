#pragma once

#include "generation/voucherprofile.h"

#include <QStringList>

// The names of the profiles, in list order.
QStringList profileNames(const ProfileList &profiles);
