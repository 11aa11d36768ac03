#include "recordbuilders.h"
#include "testmain.h"

#include "design/voucherdesign.h"
#include "ui/generator/profilelistmodel.h"
#include "ui/generator/voucherlistmodel.h"

#include <QAbstractItemModelTester>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QIcon solidIcon(QColor colour)
{
    QPixmap pixmap(18, 18);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The colour in the middle of the decoration.
QColor iconColour(const QVariant &decoration)
{
    return decoration.value<QIcon>().pixmap(18, 18).toImage().pixelColor(9, 9);
}

std::shared_ptr<VoucherProfile> profile(const QString &title, const QString &validity, bool hotSpot)
{
    auto p = std::make_shared<VoucherProfile>();
    p->Name = title;
    p->Title = title;
    p->ValidityDisplay = validity;
    p->PriceText = hotSpot ? u"R$ 3,00"_s : u"R$ 50,00"_s;
    if (hotSpot)
        p->HotSpot = defaultHotSpot(title, 3600, 300);
    return p;
}

VoucherRecord record(const QString &name, const QString &password, quint32 serial, bool hotSpot,
                     std::shared_ptr<const VoucherProfile> from)
{
    VoucherRecord r;
    r.UserName = name;
    r.Password = password;
    r.Serial = serial;
    r.HotSpotUser = hotSpot;
    r.Profile = std::move(from);
    return r;
}

} // namespace

class ListModelsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void profileRows();
    void profileDesignChange();
    void voucherRows_data();
    void voucherRows();
    void passwordsShownAndHidden();
    void voucherListKeepsItsCopy();
};

void ListModelsTest::profileRows()
{
    ProfileListModel model(solidIcon(Qt::blue), solidIcon(Qt::green));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    VoucherDesign card;
    card.Name = u"Cartão"_s;
    const auto hour = profile(u"1 Hora"_s, u"1 Hora"_s, true);
    hour->Design = &card;
    const auto month = profile(u"30 Dias"_s, u"30 Dias"_s, false);
    model.setProfiles({hour, month});

    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.index(0, 0).data().toString(), u"1 Hora"_s);
    QCOMPARE(model.index(0, 2).data().toString(), u"Cartão"_s);
    QCOMPARE(model.index(1, 0).data().toString(), u"30 Dias"_s);
    QCOMPARE(model.index(1, 1).data().toString(), u"30 Dias"_s);
    QCOMPARE(model.index(1, 2).data().toString(), QString());
    QCOMPARE(iconColour(model.index(0, 0).data(Qt::DecorationRole)), QColor(Qt::blue));
    QCOMPARE(iconColour(model.index(1, 0).data(Qt::DecorationRole)), QColor(Qt::green));
    QVERIFY(!model.index(0, 1).data(Qt::DecorationRole).isValid());
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), u"Validade"_s);
    QCOMPARE(model.profile(1), month);
    QCOMPARE(model.profile(2), nullptr);
    QCOMPARE(model.rowOf(hour.get()), 0);

    model.setProfiles({});
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.rowOf(hour.get()), -1);
}

// A new design shows in its row's design cell; a profile of another list
// changes nothing here.
void ListModelsTest::profileDesignChange()
{
    ProfileListModel model(solidIcon(Qt::blue), solidIcon(Qt::green));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    VoucherDesign card;
    card.Name = u"Cartão"_s;
    const auto hour = profile(u"1 Hora"_s, u"1 Hora"_s, true);
    const auto day = profile(u"1 Dia"_s, u"1 Dia"_s, true);
    model.setProfiles({hour, day});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    day->Design = &card;
    model.designChanged(day.get());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toModelIndex(), model.index(1, 2));
    QCOMPARE(changed[0][1].toModelIndex(), model.index(1, 2));
    QCOMPARE(model.index(1, 2).data().toString(), u"Cartão"_s);

    const auto elsewhere = profile(u"1 Dia"_s, u"1 Dia"_s, true);
    model.designChanged(elsewhere.get());
    QCOMPARE(changed.size(), 1);
}

void ListModelsTest::voucherRows_data()
{
    QTest::addColumn<bool>("hotSpot");
    QTest::addColumn<quint32>("serial");
    QTest::addColumn<QString>("shown");
    QTest::addRow("hotspot, small serial") << true << 7u << u"000000007"_s;
    QTest::addRow("User Manager, nine digits") << false << 123456789u << u"123456789"_s;
    QTest::addRow("largest serial") << true << 4294967295u << u"4294967295"_s;
}

void ListModelsTest::voucherRows()
{
    QFETCH(bool, hotSpot);
    QFETCH(quint32, serial);
    QFETCH(QString, shown);
    VoucherListModel model(solidIcon(Qt::blue), solidIcon(Qt::green));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto hour = profile(u"1 Hora"_s, u"1 Hora"_s, hotSpot);
    model.setBatch({record(u"ana"_s, u"k3y"_s, serial, hotSpot, hour)});

    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.index(0, 0).data().toString(), u"ana"_s);
    QCOMPARE(model.index(0, 1).data().toString(), u"●●●●●●"_s);
    QCOMPARE(model.index(0, 1).data(Qt::ToolTipRole).toString(), u"Senha: k3y"_s);
    QCOMPARE(model.index(0, 2).data().toString(), shown);
    QCOMPARE(model.index(0, 3).data().toString(), u"1 Hora"_s);
    QCOMPARE(model.index(0, 4).data().toString(), hotSpot ? u"R$ 3,00"_s : u"R$ 50,00"_s);
    QCOMPARE(iconColour(model.index(0, 0).data(Qt::DecorationRole)), QColor(hotSpot ? Qt::blue : Qt::green));
    QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());
}

// Only the password column changes, and only when the choice does.
void ListModelsTest::passwordsShownAndHidden()
{
    VoucherListModel model(solidIcon(Qt::blue), solidIcon(Qt::green));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto hour = profile(u"1 Hora"_s, u"1 Hora"_s, true);
    model.setBatch({record(u"a"_s, u"p1"_s, 1, true, hour), record(u"b"_s, u"p2"_s, 2, true, hour),
                    record(u"c"_s, u"p3"_s, 3, true, hour)});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    model.setShowPasswords(true);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toModelIndex(), model.index(0, 1));
    QCOMPARE(changed[0][1].toModelIndex(), model.index(2, 1));
    QCOMPARE(model.index(0, 1).data().toString(), u"p1"_s);
    QCOMPARE(model.index(2, 1).data().toString(), u"p3"_s);
    model.setShowPasswords(true);
    QCOMPARE(changed.size(), 1);
    model.setShowPasswords(false);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(model.index(1, 1).data().toString(), u"●●●●●●"_s);

    model.clear();
    QCOMPARE(model.rowCount(), 0);
    model.setShowPasswords(true);
    QCOMPARE(changed.size(), 2);
}

// A run empties the batch and fills it again while the list shows the last
// one: what the list shows does not move underneath it.
void ListModelsTest::voucherListKeepsItsCopy()
{
    VoucherListModel model(solidIcon(Qt::blue), solidIcon(Qt::green));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto hour = profile(u"1 Hora"_s, u"1 Hora"_s, true);
    BatchList batch{record(u"a"_s, u"p1"_s, 1, true, hour), record(u"b"_s, u"p2"_s, 2, true, hour)};
    model.setBatch(batch);
    clearBatch(batch);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(1, 0).data().toString(), u"b"_s);
    QCOMPARE(model.record(1).Password, u"p2"_s);
}

WIFITICKETER_TEST(ListModelsTest)
#include "listmodelstest.moc"
