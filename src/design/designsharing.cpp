#include "designsharing.h"

#include "designrecords.h"
#include "exchangefile.h"

#include "base/operatorinteraction.h"

#include <QCoreApplication>

namespace {

constexpr qsizetype NameUnits = 100;

} // namespace

bool shareDesign(const QString &path, const VoucherDesign &design, OperatorInteraction &interaction)
{
    if (exportDesign(path, design))
        return true;
    interaction.showMessage(
        QCoreApplication::translate(
            "Designs", "Não foi possível exportar o design do voucher. Um erro ocorreu ao salvar o arquivo."),
        MessageIcon::Warning);
    return false;
}

VoucherDesign *importSharedDesign(const QString &path, DesignList &designs, const QString &dataFolder,
                                  qint64 now, OperatorInteraction &interaction)
{
    auto design = std::make_shared<VoucherDesign>();
    if (!importDesign(path, *design, dataFolder, now)) {
        interaction.showMessage(
            QCoreApplication::translate(
                "Designs", "Não foi possível importar o design do voucher. Formato de arquivo desconhecido."),
            MessageIcon::Warning);
        return nullptr;
    }
    design->Name = uniqueDesignName(designs, design->Name);
    designs.append(design);
    return design.get();
}

QString uniqueDesignName(const DesignList &designs, const QString &name)
{
    if (!findDesign(designs, name))
        return name;
    // Numbered on until one is free: two designs of one name could not be
    // told apart by the profiles' map files.
    for (int number = 1;; ++number) {
        const QString suffix = QString::asprintf(" (%i)", number);
        const QString candidate = storedText(name, NameUnits - suffix.size()) + suffix;
        if (!findDesign(designs, candidate))
            return candidate;
    }
}
