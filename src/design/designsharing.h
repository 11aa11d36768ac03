#pragma once

#include "voucherdesign.h"

#include <QString>

class OperatorInteraction;

// The design page's "Compartilhar" commands: an exchange file written or read,
// with the operator told when it failed.

// Exports the design; on failure the operator is told.
bool shareDesign(const QString &path, const VoucherDesign &design, OperatorInteraction &interaction);

// Imports the file as a new design appended to `designs` under a name no other
// design has, and returns it; on failure the operator is told and the list
// stays as it was (bitmaps already stored stay in the data folder).
VoucherDesign *importSharedDesign(const QString &path, DesignList &designs, const QString &dataFolder,
                                  qint64 now, OperatorInteraction &interaction);

// `name` when no design of the list has it (in any case), else the first free
// of "name (1)", "name (2)", ...; long names are shortened so that the number
// still fits the 99 characters a name keeps in the files.
QString uniqueDesignName(const DesignList &designs, const QString &name);
