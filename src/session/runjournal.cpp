#include "runjournal.h"

#include "base/clock.h"
#include "base/crashpoint.h"
#include "base/operatorinteraction.h"
#include "config/appsettings.h"
#include "config/routerconfig.h"
#include "config/voucherserial.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"
#include "history/historydatabase.h"
#include "history/historyrow.h"
#include "history/historystore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QUuid>

using namespace Qt::StringLiterals;

RunJournal::RunJournal(AppSettings &settings, SettingsKey settingsKey, QString dataFolder,
                       const RouterConfig &router, HistoryDatabase *history, bool historyWarningShown,
                       RecordSale recordSale, OperatorInteraction &interaction, const Clock &clock)
    : m_settings(settings), m_settingsKey(std::move(settingsKey)), m_dataFolder(std::move(dataFolder)),
      m_journal(m_dataFolder), m_routerName(router.Name), m_routerAt(routerPlace(router)), m_history(history),
      m_historyWarningShown(historyWarningShown), m_recordSale(std::move(recordSale)),
      m_interaction(interaction), m_clock(clock), m_saleId(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

void RunJournal::start()
{
    writeSalesFile();
    // The first sale of the run is written at once.
    m_salesFileWritten.invalidate();
}

void RunJournal::finish()
{
    if (m_salesFileBehind)
        writeSalesFile();
    // A quiet moment: the lines of the run's changes become the journal's
    // shortest form. Should this fail, the appended lines say the same.
    m_journal.compact();
}

bool RunJournal::recordVoucher(VoucherRecord &record)
{
    return recordVouchers({&record});
}

bool RunJournal::recordVouchers(const QList<VoucherRecord *> &records)
{
    if (m_failed)
        return false;
    // Serials are taken in order and written once for the lot.
    QList<VoucherRecord *> numbered;
    for (VoucherRecord *record : records) {
        if (record->Serial == 0) {
            takeSerial(*record, m_settings);
            numbered.append(record);
        }
    }
    if (!numbered.isEmpty() && !writeVoucherSerial(m_settingsKey, m_settings.VoucherSerial)) {
        for (auto it = numbered.crbegin(); it != numbered.crend(); ++it) {
            giveBackSerial(**it, m_settings);
            (*it)->Serial = 0;
        }
        fail(QCoreApplication::translate(
            "GenerationRun", "Erro: não foi possível gravar o número de série dos vouchers nas "
                             "configurações.\nA geração foi interrompida para que nenhum número se repita."));
        return false;
    }
    // No voucher goes to the router before it is written down: a voucher whose
    // confirmation then finds no database and no journal would be lost.
    QList<JournalEntry> entries;
    entries.reserve(records.size());
    for (const VoucherRecord *record : records) {
        JournalEntry entry{historyRowOf(*record, m_routerName), m_routerAt, {}, {}, false};
        if (record->Profile) {
            entry.saleTitle = record->Profile->Title;
            if (!record->HotSpotUser)
                entry.profileName = record->Profile->Name;
        }
        entries.append(entry);
    }
    if (!m_journal.record(entries)) {
        for (auto it = records.crbegin(); it != records.crend(); ++it)
            giveBackSerial(**it, m_settings);
        writeVoucherSerial(m_settingsKey, m_settings.VoucherSerial);
        fail(QCoreApplication::translate(
            "GenerationRun",
            "Erro: não foi possível registrar o voucher no banco de dados de histórico nem no "
            "arquivo de pendências da pasta de dados.\nA geração foi interrompida."));
        return false;
    }
    crashPoint("run-recorded");
    return true;
}

bool RunJournal::confirmVoucher(const VoucherRecord &record)
{
    return confirmVouchers({&record});
}

bool RunJournal::confirmVouchers(const QList<const VoucherRecord *> &records)
{
    if (records.isEmpty())
        return true;
    QList<HistoryRow> rows;
    rows.reserve(records.size());
    JournalConfirmation confirmation;
    for (const VoucherRecord *record : records) {
        rows.append(historyRowOf(*record, m_routerName));
        confirmation.serials.append(record->Serial);
    }
    std::sort(confirmation.serials.begin(), confirmation.serials.end());
    // The database first: a kill after it leaves the vouchers unconfirmed, and
    // the next start finds their rows stored and does not store them again.
    const qsizetype stored =
        m_history && m_history->isOpen() ? storeHistoryRows(m_history->connection(), rows) : 0;
    confirmation.waiting = rows.mid(stored);
    crashPoint("run-stored");
    const VoucherRecord &first = *records.constFirst();
    if (first.Profile)
        confirmation.sales = {{m_saleId, first.Profile->Title, first.Profile->Price, confirmation.serials}};
    if (!m_journal.confirm(confirmation)) {
        fail(
            QCoreApplication::translate(
                "GenerationRun",
                "Erro: o voucher %1 foi criado no roteador, mas não pôde ser registrado no banco de dados de "
                "histórico nem no arquivo de pendências.\nA geração foi interrompida.")
                .arg(first.UserName));
        return false;
    }
    crashPoint("run-confirmed");
    // Sold: the sale grows with the vouchers made, so a run that is cut short
    // has sold what it made.
    if (first.Profile) {
        const bool newSale = m_sold == 0;
        m_sold += qint32(records.size());
        if (m_recordSale)
            m_recordSale({m_sold, first.Profile->Title, first.Profile->Price}, newSale);
    }
    // PosHistory.bin follows the journal, where the sale is safe already: it
    // is written at most once a second while vouchers are made, and at the
    // run's end.
    m_salesFileBehind = true;
    if (!m_salesFileWritten.isValid() || m_salesFileWritten.hasExpired(SalesFileIntervalMs))
        writeSalesFile();
    if (stored == rows.size()) {
        m_historyWarningShown = false;
    } else if (!m_historyWarningShown) {
        m_interaction.showMessage(
            QCoreApplication::translate("History",
                                        "Erro: Não foi possível acessar o banco de dados de histórico."),
            MessageIcon::Warning);
        m_historyWarningShown = true;
    }
    return true;
}

void RunJournal::withdrawVoucher(const VoucherRecord &record)
{
    withdrawVouchers({&record});
}

void RunJournal::withdrawVouchers(const QList<const VoucherRecord *> &records)
{
    SerialList serials;
    for (const VoucherRecord *record : records) {
        if (record->Serial != 0)
            serials.append(record->Serial);
    }
    std::sort(serials.begin(), serials.end());
    // Should this fail, the entries stay unconfirmed, and the next start asks
    // the router about them.
    if (!serials.isEmpty())
        m_journal.withdraw(serials);
    const quint32 before = m_settings.VoucherSerial;
    // The last serial first, so that every serial let go can be given back.
    for (auto it = serials.crbegin(); it != serials.crend(); ++it) {
        VoucherRecord numbered;
        numbered.Serial = *it;
        giveBackSerial(numbered, m_settings);
    }
    if (m_settings.VoucherSerial != before && !writeVoucherSerial(m_settingsKey, m_settings.VoucherSerial))
        m_settings.VoucherSerial = before; // what the key holds: never give a serial twice
}

void RunJournal::writeSalesFile()
{
    m_salesFileWritten.start();
    m_salesFileBehind = false;
    const SalesFileOutcome outcome =
        reconcileSalesFile(m_journal, m_dataFolder, QDateTime::fromSecsSinceEpoch(m_clock.now()));
    // The operator hears of a failure once a run; a file kept aside each time.
    SalesFileOutcome told = outcome;
    if (m_salesFileFailed) {
        told.unwritten = false;
        told.journalFailed = false;
    }
    reportSalesFile(told, m_dataFolder, m_interaction);
    m_salesFileFailed = m_salesFileFailed || outcome.unwritten || outcome.journalFailed;
}

void RunJournal::fail(const QString &text)
{
    m_failed = true;
    m_interaction.showMessage(text, MessageIcon::Error);
}

QString routerPlace(const RouterConfig &router)
{
    return router.Address.trimmed().toLower() + u':' + router.Port.trimmed();
}
