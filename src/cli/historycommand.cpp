#include "historycommand.h"

#include "clilogin.h"
#include "clioptions.h"
#include "exitcodes.h"

#include "base/operatorinteraction.h"
#include "session/appstate.h"
#include "session/pendingvouchers.h"
#include "session/sessionfacade.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

// The history page's column captions, in its order.
const QStringList Captions = {
    u"Nome do Usuário"_s, u"Senha"_s,     u"Perfil"_s,  u"Contador (código do voucher)"_s,
    u"Criado"_s,          u"Router"_s,    u"Gerador"_s, u"Preço"_s,
    u"First Name"_s,      u"Last Name"_s, u"Phone"_s,   u"Location"_s,
    u"Comment"_s,         u"Email"_s,
};

QString serialText(const HistoryRow &row)
{
    return row.Serial ? formatSerial(*row.Serial) : QString();
}

QStringList columns(const HistoryRow &row, const PriceFormat &format)
{
    return {shownUserName(row),
            row.Password,
            shownProfile(row),
            serialText(row),
            historyCreatedText(row),
            row.Router,
            row.Generator,
            formatPrice(row.Price, format.pattern, format.separators),
            row.FirstName,
            row.LastName,
            row.Phone,
            row.Location,
            row.Comment,
            row.Email};
}

// A cell that starts like a formula ("=", "+", "-", "@", or a tab or carriage
// return, which spreadsheets skip before one) gets a single quote in front, so
// a spreadsheet shows the text instead of running it. Then cells with commas,
// quotes or line breaks are quoted.
QString csvField(const QString &text)
{
    static const QString formulaStarts = u"=+-@\t\r"_s;
    QString cell = text;
    if (!cell.isEmpty() && formulaStarts.contains(cell.front()))
        cell.prepend(u'\'');
    if (!cell.contains(u',') && !cell.contains(u'"') && !cell.contains(u'\n') && !cell.contains(u'\r'))
        return cell;
    return u'"' + cell.replace(u"\""_s, u"\"\""_s) + u'"';
}

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field);
    return quoted.join(u',');
}

QJsonObject jsonRow(const HistoryRow &row)
{
    return {
        {u"user"_s, shownUserName(row)},
        {u"password"_s, row.Password},
        {u"profile"_s, shownProfile(row)},
        {u"serial"_s, serialText(row)},
        {u"created"_s, row.Created.toString(u"yyyy-MM-dd HH:mm:ss"_s)},
        {u"router"_s, row.Router},
        {u"generator"_s, row.Generator},
        {u"price"_s, row.Price},
        {u"hotspot"_s, isHotSpotRow(row)},
        {u"removed"_s, isRemovedRow(row)},
        {u"firstname"_s, row.FirstName},
        {u"lastname"_s, row.LastName},
        {u"phone"_s, row.Phone},
        {u"location"_s, row.Location},
        {u"comment"_s, row.Comment},
        {u"email"_s, row.Email},
    };
}

int listPending(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction,
                QTextStream &out)
{
    const std::optional<QList<PendingVoucher>> pending = session.pendingVouchers();
    if (!pending) {
        interaction.showMessage(
            QCoreApplication::translate("PendingVouchers",
                                        "Erro: não foi possível ler os vouchers pendentes (%1).")
                .arg(session.pendingFile()),
            MessageIcon::Error);
        return ExitFailed;
    }
    const QString line = pendingVouchersLine(*pending);
    if (options.format == u"json") {
        QJsonArray rows;
        for (const PendingVoucher &voucher : *pending) {
            rows.append(QJsonObject{
                {u"serial"_s, serialText(voucher.row)},
                {u"user"_s, shownUserName(voucher.row)},
                {u"profile"_s, shownProfile(voucher.row)},
                {u"created"_s, voucher.row.Created.toString(u"yyyy-MM-dd HH:mm:ss"_s)},
                {u"router"_s, voucher.row.Router},
                {u"place"_s, voucher.routerAt},
                {u"settledBy"_s, voucher.router},
                {u"hotspot"_s, isHotSpotRow(voucher.row)},
            });
        }
        out << QJsonDocument(
                   QJsonObject{{u"pending"_s, rows}, {u"count"_s, pending->size()}, {u"line"_s, line}})
                   .toJson(QJsonDocument::Indented);
        return ExitDone;
    }
    for (const PendingVoucher &voucher : *pending) {
        out << QStringList{serialText(voucher.row),
                           shownUserName(voucher.row),
                           shownProfile(voucher.row),
                           voucher.row.Created.toString(u"yyyy-MM-dd HH:mm:ss"_s),
                           voucher.row.Router,
                           voucher.routerAt,
                           voucher.router}
                   .join(u'\t')
            << '\n';
    }
    if (!line.isEmpty())
        out << line << '\n';
    return ExitDone;
}

} // namespace

int runHistoryCommand(SessionFacade &session, const CliOptions &options, OperatorInteraction &interaction,
                      QTextStream &out)
{
    // The history page belongs to the setup, which any program user of the
    // login may open from the command line.
    if (std::optional<int> failed = logInAsOperator(session, options))
        return *failed;
    const AppState &state = session.state();
    if (options.pending)
        return listPending(session, options, interaction, out);

    const QDate today = QDateTime::fromSecsSinceEpoch(state.clock->now()).date();
    HistoryFilter filter;
    filter.from = options.from.value_or(today);
    filter.to = options.to.value_or(today);
    filter.generator = options.generator;
    filter.router = options.routerName;

    const std::optional<HistorySearchResult> result = session.searchHistory(filter);
    if (!result) {
        interaction.showMessage(
            QCoreApplication::translate("History",
                                        "Erro: Não foi possível acessar o banco de dados de histórico."),
            MessageIcon::Warning);
        return ExitFailed;
    }

    const PriceFormat format = priceFormat(state);
    const QString line = historyTotalsLine(*result, filter, format);
    if (options.format == u"json") {
        QJsonArray rows;
        for (const HistoryRow &row : result->rows)
            rows.append(jsonRow(row));
        const QJsonObject document{
            {u"rows"_s, rows},           {u"count"_s, result->rows.size()},
            {u"total"_s, result->total}, {u"suppressed"_s, result->suppressed},
            {u"line"_s, line},
        };
        out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    } else if (options.format == u"csv") {
        out << csvLine(Captions) << "\r\n";
        for (const HistoryRow &row : result->rows)
            out << csvLine(columns(row, format)) << "\r\n";
        out << csvField(line) << "\r\n";
    } else {
        for (const HistoryRow &row : result->rows)
            out << columns(row, format).join(u'\t') << '\n';
        out << line << '\n';
    }
    return ExitDone;
}
