#include "designfile.h"

#include "designrecords.h"
#include "firstgenerationdesign.h"

#include "base/atomicfile.h"
#include "base/operatorinteraction.h"
#include "base/paths.h"
#include "base/recordfile.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString designFile(const QString &dataFolder)
{
    return dataFolder + u"/Voucher.bin"_s;
}

} // namespace

bool readDesigns(QIODevice &device, DesignList &designs)
{
    VoucherDesign *current = nullptr; // the design elements go to
    QList<FirstGenerationDesign> firstGeneration;

    const auto handle = [&](quint32 type, const QByteArray &record) {
        const quint32 size = designRecordSize(type);
        if (size == 0 || type == EmbeddedBitmapRecord)
            return true;
        if (quint32(record.size()) != size)
            return false;
        switch (type) {
        case HeaderRecord:
        case OldHeaderRecord:
            designs.append(std::make_shared<VoucherDesign>());
            current = designs.back().get();
            readHeaderRecord(record, *current);
            return true;
        case GraphicRecord:
        case OldGraphicRecord:
            if (!current)
                return false;
            current->Graphics.append(graphicFromRecord(record));
            return true;
        case TextRecord:
        case OldTextRecord:
            if (!current)
                return false;
            current->Texts.append(textFromRecord(record));
            return true;
        case FirstGenerationDesignRecord:
            firstGeneration.append(firstGenerationDesignFromRecord(record));
            return true;
        case FirstGenerationFontRecord:
            if (firstGeneration.isEmpty())
                return false;
            firstGeneration.back().Fonts.append(firstGenerationFontFromRecord(record));
            return true;
        case FirstGenerationTextRecord:
            if (firstGeneration.isEmpty())
                return false;
            firstGeneration.back().Texts.append(firstGenerationTextFromRecord(record));
            return true;
        }
        return true;
    };
    const bool whole = readRecords(device, DesignRecordSizeLimit, handle);

    for (const FirstGenerationDesign &old : firstGeneration)
        designs.append(std::make_shared<VoucherDesign>(convertFirstGenerationDesign(old)));
    return whole;
}

QByteArray serializeDesigns(const DesignList &designs)
{
    QByteArray bytes;
    for (const std::shared_ptr<VoucherDesign> &design : designs)
        bytes += designRecords(*design);
    return bytes;
}

ListFileState loadDesigns(const QString &dataFolder, const VoucherDesign &defaultDesign, DesignList &designs)
{
    const qsizetype before = designs.size();
    ListFileState state = ListFileState::Absent;
    if (!dataFolder.isEmpty())
        state =
            readListFile(designFile(dataFolder), [&](QIODevice &file) { return readDesigns(file, designs); });
    if (designs.size() == before)
        designs.append(std::make_shared<VoucherDesign>(defaultDesign));
    return state;
}

bool saveDesigns(const QString &dataFolder, const DesignList &designs, OperatorInteraction &interaction)
{
    const QString path = designFile(dataFolder);
    if (ensureFolder(dataFolder) && writeFileAtomically(path, serializeDesigns(designs)))
        return true;
    interaction.showMessage(
        writeFailureText(QCoreApplication::translate(
                             "Designs", "Ocorreu um erro inesperado ao salvar as definições de voucher."),
                         path),
        MessageIcon::Information);
    return false;
}
