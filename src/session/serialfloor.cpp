#include "serialfloor.h"

#include "base/operatorinteraction.h"
#include "base/settingskey.h"
#include "config/voucherserial.h"
#include "generation/credentials.h"
#include "history/historydatabase.h"
#include "history/historyserial.h"
#include "history/journalserial.h"

#include <QCoreApplication>

namespace {

// A serial as nextSerial gives it: past the end the counter starts again at 1.
quint32 counted(quint32 serial)
{
    return serial > MaxSerial ? 1 : serial;
}

// A number above MaxSerial is no serial a voucher got.
quint32 given(quint32 serial)
{
    return serial > MaxSerial ? 0 : serial;
}

QString takenFromHistoryText(quint32 next)
{
    return QCoreApplication::translate("SerialFloor",
                                       "O número de série dos vouchers não pôde ser lido nas configurações e "
                                       "foi retomado do histórico.\nO próximo voucher terá o número %1.")
        .arg(next);
}

} // namespace

std::optional<quint32> nextVoucherSerial(const SettingsKey &key, const QString &dataFolder,
                                         const HistoryDatabase &history, quint32 current,
                                         OperatorInteraction &interaction)
{
    const StoredVoucherSerial stored = readStoredVoucherSerial(key);
    const std::optional<quint32> inHistory = highestHistorySerial(history.connection());
    const quint32 highest = qMax(given(inHistory.value_or(0)), given(highestJournalSerial(dataFolder)));
    const quint32 floor = highest >= MaxSerial ? 1 : highest + 1;

    quint32 next = 0;
    switch (stored.state) {
    case StoredVoucherSerial::State::Held:
        next = counted(stored.value);
        if (next >= floor)
            return next;
        interaction.showMessage(
            QCoreApplication::translate("SerialFloor",
                                        "O número de série dos vouchers nas configurações (%1) está abaixo "
                                        "de números já registrados no histórico.\nO próximo voucher terá o "
                                        "número %2.")
                .arg(next)
                .arg(floor),
            MessageIcon::Warning);
        next = floor;
        break;
    case StoredVoucherSerial::State::Missing:
        next = counted(current);
        if (next >= floor)
            return next;
        next = floor;
        interaction.showMessage(takenFromHistoryText(next), MessageIcon::Warning);
        break;
    case StoredVoucherSerial::State::Unreadable:
        if (!inHistory) {
            interaction.showMessage(
                QCoreApplication::translate(
                    "SerialFloor",
                    "Erro: o número de série dos vouchers não pôde ser lido nas configurações, e o "
                    "histórico, de onde ele seria retomado, não está acessível.\nNenhum voucher foi "
                    "criado. Defina o próximo número em \"Codigo:\" na configuração."),
                MessageIcon::Error);
            return std::nullopt;
        }
        next = floor;
        interaction.showMessage(takenFromHistoryText(next), MessageIcon::Warning);
        break;
    }
    // Should this fail, the run's own writes fail too and end it.
    writeVoucherSerial(key, next);
    return next;
}
