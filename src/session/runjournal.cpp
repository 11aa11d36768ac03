#include "runjournal.h"

#include "base/operatorinteraction.h"
#include "config/appsettings.h"
#include "config/voucherserial.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "history/pendingjournal.h"

#include <QCoreApplication>

RunJournal::RunJournal(AppSettings &settings, SettingsKey settingsKey, QString dataFolder, QString routerName,
                       HistoryDatabase *history, bool historyWarningShown, RecordSale recordSale,
                       OperatorInteraction &interaction)
    : m_settings(settings), m_settingsKey(std::move(settingsKey)), m_dataFolder(std::move(dataFolder)),
      m_routerName(std::move(routerName)), m_history(history), m_historyWarningShown(historyWarningShown),
      m_recordSale(std::move(recordSale)), m_interaction(interaction)
{
}

bool RunJournal::recordVoucher(VoucherRecord &record)
{
    if (m_failed)
        return false;
    if (record.Serial == 0) {
        takeSerial(record, m_settings);
        if (!writeVoucherSerial(m_settingsKey, m_settings.VoucherSerial)) {
            giveBackSerial(record, m_settings);
            fail(QCoreApplication::translate(
                "GenerationRun",
                "Erro: não foi possível gravar o número de série dos vouchers nas "
                "configurações.\nA geração foi interrompida para que nenhum número se repita."));
            return false;
        }
    }
    // No voucher goes to the router before it is written down: a voucher whose
    // confirmation then finds no database and no pending file would be lost.
    if (!journalUnconfirmed(m_dataFolder, historyRowOf(record, m_routerName))) {
        withdrawVoucher(record);
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
    const HistoryRow row = historyRowOf(record, m_routerName);
    const bool stored =
        m_history && m_history->isOpen() && storeHistoryRows(m_history->connection(), {row}) == 1;
    const bool settled = settleConfirmed(m_dataFolder, row, stored);
    if (stored) {
        m_historyWarningShown = false;
    } else if (!settled) {
        fail(
            QCoreApplication::translate(
                "GenerationRun",
                "Erro: o voucher %1 foi criado no roteador, mas não pôde ser registrado no banco de dados de "
                "histórico nem no arquivo de pendências.\nA geração foi interrompida.")
                .arg(record.UserName));
    } else if (!m_historyWarningShown) {
        m_interaction.showMessage(
            QCoreApplication::translate("History",
                                        "Erro: Não foi possível acessar o banco de dados de histórico."),
            MessageIcon::Warning);
        m_historyWarningShown = true;
    }

    // The sale grows with every voucher made, so a run that is cut short has
    // sold what it made.
    if (m_recordSale && record.Profile) {
        ++m_sold;
        m_recordSale({m_sold, record.Profile->Title, record.Profile->Price}, m_sold == 1);
    }
    return stored || settled;
}

void RunJournal::withdrawVoucher(const VoucherRecord &record)
{
    if (record.Serial != 0)
        dropUnconfirmed(m_dataFolder, record.Serial);
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
