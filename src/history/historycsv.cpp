#include "historycsv.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

constexpr QChar Separator = u';';

QString priceNumber(qint32 price, const NumberSeparators &separators)
{
    const qint64 value = price;
    const qint64 magnitude = value < 0 ? -value : value;
    return (value < 0 ? u"-"_s : QString()) + QString::number(magnitude / 100) + separators.decimal +
           u"%1"_s.arg(magnitude % 100, 2, 10, QChar(u'0'));
}

// Quoted when it holds the separator, a quote or a line break.
QString quoted(QString cell)
{
    if (!cell.contains(Separator) && !cell.contains(u'"') && !cell.contains(u'\n') && !cell.contains(u'\r'))
        return cell;
    return u'"' + cell.replace(u"\""_s, u"\"\""_s) + u'"';
}

QString line(const QStringList &fields)
{
    return fields.join(Separator) + u"\r\n"_s;
}

} // namespace

QStringList historyColumnCaptions()
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("History", text); };
    return {tr("Nome do Usuário"), tr("Senha"),     tr("Perfil"),  tr("Contador (código do voucher)"),
            tr("Criado"),          tr("Router"),    tr("Gerador"), tr("Preço"),
            tr("First Name"),      tr("Last Name"), tr("Phone"),   tr("Location"),
            tr("Comment"),         tr("Email")};
}

QString historyCsvField(const QString &text)
{
    // Spreadsheets run a cell that starts with one of these as a formula
    // (they skip a leading tab or carriage return first).
    static const QString formulaStarts = u"=+-@\t\r"_s;
    QString cell = text;
    if (!cell.isEmpty() && formulaStarts.contains(cell.front()))
        cell.prepend(u'\'');
    return quoted(cell);
}

QByteArray historyCsv(const QList<HistoryRow> &rows, const NumberSeparators &separators)
{
    // A removed voucher's price is no income: the last column tells them apart.
    QStringList captions = historyColumnCaptions();
    captions << QCoreApplication::translate("History", "Excluído do roteador");
    for (QString &caption : captions)
        caption = historyCsvField(caption);
    QString text = line(captions);
    for (const HistoryRow &row : rows) {
        const QStringList texts = {
            shownUserName(row),
            row.Password,
            shownProfile(row),
            row.Serial ? u"%1"_s.arg(*row.Serial, 9, 10, QChar(u'0')) : QString(),
            row.Created.isValid() ? row.Created.toLocalTime().toString(u"yyyy-MM-dd HH:mm"_s) : QString(),
            row.Router,
            row.Generator,
            QString(), // the price, a number of ours: written as it is below
            row.FirstName,
            row.LastName,
            row.Phone,
            row.Location,
            row.Comment,
            row.Email,
            isRemovedRow(row) ? QCoreApplication::translate("History", "Sim") : QString(),
        };
        QStringList fields;
        for (const QString &cell : texts)
            fields << historyCsvField(cell);
        // A number of ours: a negative price is no formula.
        fields[7] = quoted(priceNumber(row.Price, separators));
        text += line(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}
