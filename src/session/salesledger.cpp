#include "salesledger.h"

#include "base/atomicfile.h"
#include "base/crashpoint.h"
#include "base/operatorinteraction.h"
#include "base/paths.h"
#include "base/runlock.h"
#include "history/pendinghistory.h"
#include "history/pendingjournal.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

enum class Found
{
    Absent,
    Read,
    Unreadable
};

Found readFile(const QString &path, QByteArray &bytes)
{
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return Found::Absent;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Found::Unreadable;
    bytes = file.readAll();
    return Found::Read;
}

// Renames the file to "PosHistory-yyyyMMdd-HHmmss.bin" beside it (with a
// number when that is taken); the new name, empty on failure.
QString keepAside(const QString &path, const QDateTime &now)
{
    const QDir folder = QFileInfo(path).dir();
    const QString stem = u"PosHistory-"_s + now.toString(u"yyyyMMdd-HHmmss"_s);
    for (int n = 1; n < 1000; ++n) {
        const QString name = folder.filePath(stem + (n == 1 ? QString() : u"-%1"_s.arg(n)) + u".bin"_s);
        if (QFileInfo(name).exists() || QFileInfo(name).isSymLink())
            continue;
        // rename() moves a link itself, never what it points to.
        return std::rename(QFile::encodeName(path).constData(), QFile::encodeName(name).constData()) == 0
                   ? name
                   : QString();
    }
    return {};
}

QList<JournalSale> salesOfFile(const PosHistoryFile &file)
{
    QList<JournalSale> sales;
    for (const PosHistoryEntry &entry : file.entries)
        sales.append({QString(), entry.title, entry.unitPrice, entry.count, {}});
    if (sales.size() > JournalSalesKept)
        sales.remove(0, sales.size() - JournalSalesKept);
    return sales;
}

} // namespace

QList<PosHistoryEntry> salesEntries(const QList<JournalSale> &sales)
{
    QList<PosHistoryEntry> entries;
    entries.reserve(sales.size());
    for (const JournalSale &sale : sales)
        entries.append({sale.count, sale.title, sale.unitPrice});
    return entries;
}

SalesFileOutcome reconcileSalesFile(PendingJournal &journal, const QString &dataFolder, const QDateTime &now)
{
    SalesFileOutcome outcome;
    const QString path = posHistoryPath(dataFolder);
    if (path.isEmpty())
        return outcome;
    if (!journal.load()) {
        outcome.journalFailed = true;
        return outcome;
    }
    QByteArray bytes;
    Found found = readFile(path, bytes);
    if (found == Found::Unreadable) {
        // Its sales cannot be seen, so nothing is written over it.
        outcome.unwritten = true;
        return outcome;
    }

    if (!journal.state().keepsSales) {
        // The first time: the journal takes the sales the file holds. A file
        // that does not read whole is kept as it is, and the new one starts
        // with what could be read of it.
        const PosHistoryFile file = decodePosHistoryFile(bytes);
        if (found == Found::Read && !file.whole) {
            outcome.keptAs = keepAside(path, now);
            if (outcome.keptAs.isEmpty()) {
                outcome.unwritten = true;
                return outcome;
            }
            found = Found::Absent;
        }
        // Sales the journal confirmed before (when the file could not be
        // read) come after the file's.
        if (!journal.keepSales(salesOfFile(file) + journal.state().sales) ||
            (found == Found::Read && !journal.posted(hashOf(bytes)))) {
            outcome.journalFailed = true;
            return outcome;
        }
    }

    const QByteArray expected = encodePosHistoryFile(salesEntries(journal.state().sales));
    if (found == Found::Read && bytes == expected) {
        // Sales are money: readable by their owner only, also a file an
        // older program left readable by all.
        const QFileInfo info(path);
        if (!info.isSymLink() && (info.permissions() & ~(QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ReadUser | QFile::WriteUser)))
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return outcome;
    }
    if (found == Found::Absent && expected.isEmpty())
        return outcome;
    if (found == Found::Read && hashOf(bytes) != journal.state().postedHash) {
        // Not the file the journal last wrote: kept, never written over.
        outcome.keptAs = keepAside(path, now);
        if (outcome.keptAs.isEmpty()) {
            outcome.unwritten = true;
            return outcome;
        }
    }
    // Sales are money: the file is readable by its owner only.
    if (!ensureFolder(dataFolder) || !writeFileAtomically(path, expected, FileAccess::OwnerOnly)) {
        outcome.unwritten = true;
        return outcome;
    }
    crashPoint("sales-written");
    // Should this fail, the file is still what the journal holds.
    journal.posted(hashOf(expected));
    return outcome;
}

void reportSalesFile(const SalesFileOutcome &outcome, const QString &dataFolder,
                     OperatorInteraction &interaction)
{
    if (!outcome.keptAs.isEmpty()) {
        interaction.showMessage(
            QCoreApplication::translate(
                "SalesLedger", "O histórico de vendas (%1) não era o que o programa gravou por último ou "
                               "não pôde ser lido por inteiro.\nEle foi mantido como %2, e um novo foi "
                               "gravado com as vendas registradas.")
                .arg(QDir::toNativeSeparators(posHistoryPath(dataFolder)),
                     QDir::toNativeSeparators(outcome.keptAs)),
            MessageIcon::Warning);
    }
    if (outcome.journalFailed) {
        interaction.showMessage(
            QCoreApplication::translate(
                "SalesLedger",
                "Erro: não foi possível ler ou gravar o registro de vendas e vouchers (%1).\nO "
                "arquivo foi mantido como está; as vendas serão gravadas assim que for "
                "possível.")
                .arg(QDir::toNativeSeparators(pendingHistoryPath(dataFolder))),
            MessageIcon::Error);
    } else if (outcome.unwritten) {
        // A symbolic link in its place is named as the reason.
        const QString path = posHistoryPath(dataFolder);
        interaction.showMessage(
            writeFailureText(QCoreApplication::translate(
                                 "SalesLedger",
                                 "Erro: não foi possível gravar o histórico de vendas (%1).\nAs vendas "
                                 "continuam registradas na pasta de dados e serão gravadas assim que for "
                                 "possível.")
                                 .arg(QDir::toNativeSeparators(path)),
                             path),
            MessageIcon::Error);
    }
}

QList<PosHistoryEntry> currentSales(const QString &dataFolder)
{
    const std::optional<JournalState> journal = readJournal(dataFolder);
    if (journal && journal->keepsSales)
        return salesEntries(journal->sales);
    QByteArray bytes;
    if (dataFolder.isEmpty() || readFile(posHistoryPath(dataFolder), bytes) != Found::Read)
        return {};
    return decodePosHistoryFile(bytes).entries;
}

SalesFileOutcome updateSalesFile(const QString &dataFolder, const QDateTime &now)
{
    // Without a journal there is nothing PosHistory.bin could lack.
    if (dataFolder.isEmpty() || !QFileInfo::exists(pendingHistoryPath(dataFolder)))
        return {};
    RunLock lock(dataFolder);
    if (lock.acquire(0) != RunLock::Outcome::Held)
        return {};
    PendingJournal journal(dataFolder);
    SalesFileOutcome outcome = reconcileSalesFile(journal, dataFolder, now);
    journal.compact();
    return outcome;
}

bool clearRecordedSales(const QString &dataFolder, const QDateTime &now, OperatorInteraction &interaction)
{
    if (dataFolder.isEmpty())
        return true;
    RunLock lock(dataFolder);
    if (lock.acquire(5000) != RunLock::Outcome::Held) {
        interaction.showMessage(
            QCoreApplication::translate("SalesLedger",
                                        "As vendas não foram apagadas: outra geração de vouchers está em "
                                        "andamento com esta pasta de dados.\nAguarde o fim dela e tente "
                                        "novamente."),
            MessageIcon::Error);
        return false;
    }
    PendingJournal journal(dataFolder);
    // The sales of PosHistory.bin are taken in first, so that the clearing
    // covers them.
    SalesFileOutcome outcome = reconcileSalesFile(journal, dataFolder, now);
    if (outcome.journalFailed || !journal.clearSales()) {
        outcome.journalFailed = true;
        reportSalesFile(outcome, dataFolder, interaction);
        return false;
    }
    const SalesFileOutcome written = reconcileSalesFile(journal, dataFolder, now);
    outcome.unwritten = written.unwritten;
    if (outcome.keptAs.isEmpty())
        outcome.keptAs = written.keptAs;
    reportSalesFile(outcome, dataFolder, interaction);
    journal.compact();
    return true;
}
