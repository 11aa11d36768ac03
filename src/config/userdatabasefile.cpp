#include "userdatabasefile.h"

#include "base/atomicfile.h"
#include "base/operatorinteraction.h"
#include "base/paths.h"

#include <QCoreApplication>
#include <QFile>
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

void readUserDatabase(QIODevice &device, QStringList &names)
{
    for (;;) {
        const QByteArray prefix = device.read(2);
        if (prefix.size() < 2)
            return;
        const quint16 length = qFromLittleEndian<quint16>(prefix.constData());
        if (length >= LengthLimit)
            return;
        const QByteArray bytes = device.read(length);
        if (bytes.size() < length)
            return;
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

void loadUserDatabase(const QString &dataFolder, QStringList &names)
{
    if (dataFolder.isEmpty())
        return;
    QFile file(userDatabaseFile(dataFolder));
    if (file.open(QIODevice::ReadOnly))
        readUserDatabase(file, names);
}

bool saveUserDatabase(const QString &dataFolder, const QStringList &names, OperatorInteraction &interaction)
{
    if (ensureFolder(dataFolder) &&
        writeFileAtomically(userDatabaseFile(dataFolder), serializeUserDatabase(names)))
        return true;
    // The same text as for Routers.bin, as the program has always shown.
    interaction.showMessage(QCoreApplication::translate(
                                "DataFiles", "Ocorreu um erro inesperado salvar as definições do router."),
                            MessageIcon::Information);
    return false;
}
