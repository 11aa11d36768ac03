#include "testmain.h"

#include "history/historycsv.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";
const QString Header = u"Nome do Usuário;Senha;Perfil;Contador (código do voucher);Criado;Router;Gerador;"
                       u"Preço;First Name;Last Name;Phone;Location;Comment;Email;Excluído do roteador\r\n"_s;

HistoryRow plainRow()
{
    HistoryRow row;
    row.UserName = u"joao"_s;
    row.Password = u"s3nha"_s;
    row.Profile = u"1 Dia"_s;
    row.Router = u"Loja"_s;
    row.Created = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    row.Generator = u"ana"_s;
    row.Validity = u"1d"_s;
    row.Price = 500;
    row.Serial = 41;
    return row;
}

} // namespace

Q_DECLARE_METATYPE(HistoryRow)

// The history list as a spreadsheet file.
class HistoryCsvTest : public QObject
{
    Q_OBJECT

private slots:
    void field_data();
    void field();
    void rows_data();
    void rows();
};

void HistoryCsvTest::field_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::addRow("plain") << u"Maria José"_s << u"Maria José"_s;
    QTest::addRow("empty") << QString() << QString();
    QTest::addRow("comma is no separator here") << u"a,b"_s << u"a,b"_s;
    QTest::addRow("separator") << u"a;b"_s << u"\"a;b\""_s;
    QTest::addRow("quotes doubled") << u"diz \"oi\""_s << u"\"diz \"\"oi\"\"\""_s;
    QTest::addRow("line break") << u"a\nb"_s << u"\"a\nb\""_s;
    QTest::addRow("formula") << u"=1+1"_s << u"'=1+1"_s;
    QTest::addRow("plus") << u"+55 11 9999"_s << u"'+55 11 9999"_s;
    QTest::addRow("minus") << u"-2"_s << u"'-2"_s;
    QTest::addRow("at") << u"@SUM(A1)"_s << u"'@SUM(A1)"_s;
    QTest::addRow("tab") << u"\t=1"_s << u"'\t=1"_s;
    QTest::addRow("carriage return, then quoted") << u"\r=1"_s << u"\"'\r=1\""_s;
    QTest::addRow("formula with separator") << u"=A1;B1"_s << u"\"'=A1;B1\""_s;
    QTest::addRow("sign inside is harmless") << u"a=b"_s << u"a=b"_s;
}

void HistoryCsvTest::field()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(historyCsvField(text), field);
}

void HistoryCsvTest::rows_data()
{
    QTest::addColumn<HistoryRow>("row");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("line");

    QTest::addRow("plain, comma decimal")
        << plainRow() << u","_s << u"joao;s3nha;1 Dia;000000041;2024-03-05 14:07;Loja;ana;5,00;;;;;;;\r\n"_s;
    QTest::addRow("point decimal")
        << plainRow() << u"."_s << u"joao;s3nha;1 Dia;000000041;2024-03-05 14:07;Loja;ana;5.00;;;;;;;\r\n"_s;

    HistoryRow marked = plainRow();
    marked.UserName = u"|abc"_s;
    marked.Profile = u"!#1 Hora"_s;
    marked.Serial.reset();
    marked.Price = 350;
    QTest::addRow("marks left out, no serial")
        << marked << u","_s << u"abc;s3nha;1 Hora;;2024-03-05 14:07;Loja;ana;3,50;;;;;;;Sim\r\n"_s;

    HistoryRow customer = plainRow();
    customer.Price = 7;
    customer.FirstName = u"Ana\nMaria"_s;
    customer.LastName = u"O'Neil"_s;
    customer.Phone = u"+55 11 9999"_s;
    customer.Location = u"Sala; 2"_s;
    customer.Comment = u"diz \"oi\""_s;
    customer.Email = u"=1+1"_s;
    QTest::addRow("customer texts")
        << customer << u","_s
        << u"joao;s3nha;1 Dia;000000041;2024-03-05 14:07;Loja;ana;0,07;\"Ana\nMaria\";O'Neil;'+55 11 9999;"
           u"\"Sala; 2\";\"diz \"\"oi\"\"\";'=1+1;\r\n"_s;

    HistoryRow refund = plainRow();
    refund.Price = -1205;
    refund.Password = u"-x"_s;
    QTest::addRow("a negative price stays a number")
        << refund << u","_s << u"joao;'-x;1 Dia;000000041;2024-03-05 14:07;Loja;ana;-12,05;;;;;;;\r\n"_s;
}

void HistoryCsvTest::rows()
{
    QFETCH(HistoryRow, row);
    QFETCH(QString, decimal);
    QFETCH(QString, line);
    NumberSeparators separators;
    separators.decimal = decimal;
    separators.thousands = u"."_s;
    QCOMPARE(historyCsv({row, row}, separators), Bom + (Header + line + line).toUtf8());
    QCOMPARE(historyCsv({}, separators), Bom + Header.toUtf8());
}

WIFITICKETER_TEST(HistoryCsvTest)

#include "historycsvtest.moc"
