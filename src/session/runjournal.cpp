#include "runjournal.h"

#include "base/operatorinteraction.h"
#include "config/appsettings.h"
#include "config/voucherserial.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"
#include "history/historydatabase.h"
#include "history/historyrow.h"
#include "history/historystore.h"
#include "history/pendingjournal.h"

#include <QCoreApplication>

RunJournal::RunJournal(AppSettings &settings, SettingsKey settingsKey, QString dataFolder, QString routerName,
                       HistoryDatabase *history, bool historyWarningShown, RecordSale recordSale,
                       OperatorInteraction &interaction)
    : m_settings(settings), m_settingsKey(std::move(settingsKey)), m_pending(dataFolder),
      m_routerName(std::move(routerName)), m_history(history), m_historyWarningShown(historyWarningShown),
      m_recordSale(std::move(recordSale)), m_interaction(interaction)
{
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
    // confirmation then finds no database and no pending file would be lost.
    QList<HistoryRow> rows;
    rows.reserve(records.size());
    for (const VoucherRecord *record : records)
        rows.append(historyRowOf(*record, m_routerName));
    if (!m_pending.journalUnconfirmed(rows)) {
        for (auto it = records.crbegin(); it != records.crend(); ++it)
            withdrawVoucher(**it);
        fail(QCoreApplication::translate(
            "GenerationRun",
            "Erro: não foi possível registrar o voucher no banco de dados de histórico nem no "
            "arquivo de pendências da pasta de dados.\nA geração foi interrompida."));
        return false;
    }
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
    for (const VoucherRecord *record : records)
        rows.append(historyRowOf(*record, m_routerName));
    const qsizetype stored =
        m_history && m_history->isOpen() ? storeHistoryRows(m_history->connection(), rows) : 0;
    // The sale grows with the vouchers made, so a run that is cut short has
    // sold what it made. It is written before the entries are settled: an
    // entry still unconfirmed whose row is stored was sold (see
    // journalrecovery.h).
    const VoucherRecord &first = *records.constFirst();
    if (m_recordSale && first.Profile) {
        const bool newSale = m_sold == 0;
        m_sold += qint32(records.size());
        m_recordSale({m_sold, first.Profile->Title, first.Profile->Price}, newSale);
    }
    const bool settled = m_pending.settleConfirmed(rows, stored);
    const bool allStored = stored == rows.size();
    if (allStored) {
        m_historyWarningShown = false;
    } else if (!settled) {
        fail(
            QCoreApplication::translate(
                "GenerationRun",
                "Erro: o voucher %1 foi criado no roteador, mas não pôde ser registrado no banco de dados de "
                "histórico nem no arquivo de pendências.\nA geração foi interrompida.")
                .arg(records[stored]->UserName));
    } else if (!m_historyWarningShown) {
        m_interaction.showMessage(
            QCoreApplication::translate("History",
                                        "Erro: Não foi possível acessar o banco de dados de histórico."),
            MessageIcon::Warning);
        m_historyWarningShown = true;
    }

    return allStored || settled;
}

void RunJournal::withdrawVoucher(const VoucherRecord &record)
{
    if (record.Serial != 0)
        m_pending.dropUnconfirmed(record.Serial);
    const quint32 before = m_settings.VoucherSerial;
    giveBackSerial(record, m_settings);
    if (m_settings.VoucherSerial != before && !writeVoucherSerial(m_settingsKey, m_settings.VoucherSerial))
        m_settings.VoucherSerial = before; // what the key holds: never give a serial twice
}

void RunJournal::fail(const QString &text)
{
    m_failed = true;
    m_interaction.showMessage(text, MessageIcon::Error);
}
