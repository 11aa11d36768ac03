#include "userdatabasefile.h"

#include "base/atomicfile.h"
#include "base/operatorinteraction.h"
#include "base/paths.h"

#include <QCoreApplication>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

constexpr quint16 LengthLimit = 2000;
constexpr qsizetype MaxNameUnits = (LengthLimit - 1) / 2;

QString userDatabaseFile(const QString &dataFolder)
{
    return dataFolder + u"/UserDatabase.bin"_s;
}

} // namespace

bool readUserDatabase(QIODevice &device, QStringList &names)
{
    bool whole = true;
    for (;;) {
        const QByteArray prefix = device.read(2);
        if (prefix.isEmpty())
            return whole && readToEnd(device);
        if (prefix.size() < 2)
            return false;
        const quint16 length = qFromLittleEndian<quint16>(prefix.constData());
        if (length >= LengthLimit)
            return false;
        const QByteArray bytes = device.read(length);
        if (bytes.size() < length)
            return false;
        // No writer makes an odd count: its last byte would be lost on saving.
        if (length % 2 != 0)
            whole = false;
        QString name(length / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < name.size(); ++i)
            name[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
        names.append(name);
    }
}

QByteArray serializeUserDatabase(const QStringList &names)
{
    QByteArray bytes;
    for (const QString &full : names) {
        qsizetype units = qMin(full.size(), MaxNameUnits);
        if (units > 0 && units < full.size() && full[units - 1].isHighSurrogate())
            --units;
        QByteArray entry(2 + 2 * units, '\0');
        qToLittleEndian(quint16(2 * units), entry.data());
        for (qsizetype i = 0; i < units; ++i)
            qToLittleEndian(quint16(full[i].unicode()), entry.data() + 2 + 2 * i);
        bytes += entry;
    }
    return bytes;
}

ListFileState loadUserDatabase(const QString &dataFolder, QStringList &names)
{
    if (dataFolder.isEmpty())
        return ListFileState::Absent;
    return readListFile(userDatabaseFile(dataFolder),
                        [&](QIODevice &file) { return readUserDatabase(file, names); });
}

bool saveUserDatabase(const QString &dataFolder, const QStringList &names, OperatorInteraction &interaction)
{
    const QString path = userDatabaseFile(dataFolder);
    if (ensureFolder(dataFolder) && writeFileAtomically(path, serializeUserDatabase(names)))
        return true;
    // The same text as for Routers.bin, as the program has always shown.
    interaction.showMessage(
        writeFailureText(QCoreApplication::translate(
                             "DataFiles", "Ocorreu um erro inesperado salvar as definições do router."),
                         path),
        MessageIcon::Information);
    return false;
}
