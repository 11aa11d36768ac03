#include "../../history/historybackend.h"
#include "accessiblesearch.h"
#include "routerharness.h"
#include "scriptedfilechooser.h"
#include "sellingfixture.h"
#include "testmain.h"

#include "design/voucherdesign.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "session/sessionfacade.h"
#include "session/setupdata.h"
#include "ui/framework/cinfownd.h"
#include "ui/framework/smallimagelist.h"
#include "ui/framework/uiresources.h"
#include "ui/setup/chistorydialog.h"
#include "ui/setup/historylistmodel.h"
#include "ui/setup/historyreport.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Prompt = u"Por favor complete todos os campos e clique no botão Iniciar Pesquisa."_s;
const QString AccessError = u"Erro: Não foi possível acessar o banco de dados de histórico."_s;
const QString RemoveQuestion = u"Deseja excluir este usuário?"_s;
const QString PrintEntry = u"Imprimir Voucher(s)"_s;
const QString RemoveEntry = u"Excluir do roteador"_s;
// The fixed clock's day, local time (TZ=BRT3): 2023-11-14 19:13:20.
const QDate Today(2023, 11, 14);

HistoryRow row(const QString &user, const QString &created, qint32 price,
               const QString &generator = u"caixa"_s, const QString &router = u"Sim"_s)
{
    HistoryRow r;
    r.UserName = user;
    r.Password = u"pw"_s;
    r.Profile = u"!#1 Hora"_s;
    r.Router = router;
    r.Created = QDateTime::fromString(created, u"yyyy-MM-dd HH:mm:ss"_s);
    r.Generator = generator;
    r.Validity = u"1h"_s;
    r.Price = price;
    r.Serial = 7;
    return r;
}

QStringList column(const QAbstractItemModel *model, int col)
{
    QStringList out;
    for (int i = 0; i < model->rowCount(); ++i)
        out << model->index(i, col).data().toString();
    return out;
}

QImage image(const QIcon &icon, const QSize &size)
{
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage image(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Runs `handle` on the next popup menu from its own event loop; a menu left
// open is closed afterwards. Deleting the timer returned gives up waiting.
QPointer<QTimer> onNextPopup(std::function<void(QMenu *menu)> handle)
{
    auto *timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, handle = std::move(handle)] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) {
            if (++*waited > 1000)
                timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        handle(menu);
        while (auto *open = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            open->close();
    });
    timer->start(10);
    return timer;
}

QStringList entries(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << action->text();
    return texts;
}

// Moves through the menu with the arrow keys to the entry and presses Return
// (or Right for a submenu, which then opens).
bool pick(QMenu *menu, const QString &text)
{
    for (int i = 0; i < 20; ++i) {
        QAction *active = menu->activeAction();
        if (active && active->text() == text) {
            QTest::keyClick(menu, active->menu() ? Qt::Key_Right : Qt::Key_Return);
            return true;
        }
        QTest::keyClick(menu, Qt::Key_Down);
    }
    return false;
}

// Picks "Imprimir Voucher(s)" then the design, like the operator with the keys.
void pickDesign(const QString &design)
{
    onNextPopup([design](QMenu *menu) {
        QVERIFY(pick(menu, PrintEntry));
        QMenu *sub = nullptr;
        for (QAction *action : menu->actions())
            if (action->menu())
                sub = action->menu();
        QVERIFY(sub);
        QTRY_VERIFY(sub->isVisible());
        QVERIFY(pick(sub, design));
    });
}

QString pdfText(const QString &pdf)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

enum class Prepared
{
    Ready,
    Skip,
    Failed
};

// The page over a history holding the rows, with three program users (one
// with an apostrophe) and two routers: the simulator "Sim" and "Outro".
struct Page
{
    explicit Page(const routersim::RouterState &router = routersim::defaultRouterState()) : h(router)
    {
        loadUiResources(resources);
        h.state.users = {{u"caixa"_s, QString(), false, false, false},
                         {u"d'Ávila"_s, QString(), false, false, false},
                         {u"ana"_s, QString(), false, false, false}};
        h.state.settings.UseCurrency = u"R$ %c"_s;
    }

    Prepared prepare(const QString &backend, const QList<HistoryRow> &rows)
    {
        const std::optional<HistoryLocation> location = freshHistory(backend, h.folder.dataFolder());
        if (!location)
            return historySetting(backend).isEmpty() && backend != u"sqlite" ? Prepared::Skip
                                                                             : Prepared::Failed;
        h.state.settings.HistoryDatabase = historySetting(backend);
        {
            HistoryDatabase history;
            if (!history.open(*location) || storeHistoryRows(history.connection(), rows) != rows.size())
                return Prepared::Failed;
        }
        if (h.state.routers.size() == 1)
            h.state.routers.append(unreachableRouter(u"Outro"_s));
        page = std::make_unique<CHistoryDialog>(session, h.interaction, resources, printers, files);
        page->initialize(setupData(h.state));
        tester = std::make_unique<QAbstractItemModelTester>(
            page->resultsView()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        page->resize(900, 500);
        page->show();
        return QTest::qWaitForWindowExposed(page.get()) ? Prepared::Ready : Prepared::Failed;
    }

    QWidget *control(QAccessible::Role role, const QString &name) const
    {
        QAccessibleInterface *found = findAccessible(page.get(), role, name);
        return found ? qobject_cast<QWidget *>(found->object()) : nullptr;
    }
    QPushButton *button(const QString &text) const
    {
        return qobject_cast<QPushButton *>(control(QAccessible::PushButton, text));
    }
    // The control a label names: on this desktop a combo box's accessible
    // name is its current entry, and screen readers follow the label's relation.
    QWidget *labelled(const QString &label) const
    {
        QAccessibleInterface *found = findAccessible(page.get(), QAccessible::StaticText, label);
        if (!found)
            return nullptr;
        const auto relations = found->relations(QAccessible::Labelled);
        return relations.isEmpty() ? nullptr : qobject_cast<QWidget *>(relations.first().first->object());
    }
    QComboBox *combo(const QString &label) const { return qobject_cast<QComboBox *>(labelled(label)); }

    // Chooses the entry with the keys.
    void choose(const QString &label, const QString &text)
    {
        QComboBox *box = combo(label);
        QVERIFY(box);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home);
        for (int i = 0; i < box->count() && box->currentText() != text; ++i)
            QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), text);
    }

    void search() { QTest::mouseClick(button(u"Iniciar Pesquisa"_s), Qt::LeftButton); }

    QStringList names() const { return column(page->resultsModel(), HistoryListModel::UserNameColumn); }
    QString info() const { return page->findChild<CInfoWnd *>()->text(); }

    void select(const QList<int> &rows)
    {
        QTableView *view = page->resultsView();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QPoint at = view->visualRect(view->model()->index(rows[i], 1)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, i ? Qt::ControlModifier : Qt::NoModifier, at);
        }
    }
    // Shift+F10, with the keys' menu handled by the popup handler set before.
    void openMenu() { QTest::keyClick(page->resultsView(), Qt::Key_F10, Qt::ShiftModifier); }

    RouterHarness h;
    SessionFacade session{h.state, h.interaction};
    ScriptedPrinterChooser printers;
    ScriptedFileChooser files;
    UiResources resources;
    std::unique_ptr<CHistoryDialog> page;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

#define PREPARE(p, backend, rows)                                                                            \
    do {                                                                                                     \
        const Prepared prepared = (p).prepare(backend, rows);                                                \
        if (prepared == Prepared::Skip)                                                                      \
            QSKIP("WIFITICKETER_TEST_POSTGRES names no PostgreSQL database");                                \
        QVERIFY2(prepared == Prepared::Ready, "the history of the backend cannot be prepared");              \
    } while (false)

Q_DECLARE_METATYPE(QList<HistoryRow>)

// The setup's history page.
class HistoryPageTest : public QObject
{
    Q_OBJECT

private slots:
    void filters_data();
    void filters();
    void removedRowAndControls_data();
    void removedRowAndControls();
    void unreachableDatabase();
    void pendingVouchersLine();
    void contextMenuEntries();
    void removal_data();
    void removal();
    void reprint();
    void reportDrawing();
    void reportPrinterFailure();
    void reportThroughQueue();
    void csvExport_data();
    void csvExport();
};

void HistoryPageTest::filters_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("router");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("line");

    const QDate yesterday = Today.addDays(-1);
    const QDate tomorrow = Today.addDays(1);
    for (const QString &backend : historyBackends()) {
        const QByteArray name = backend.toUtf8();
        const char *b = name.constData();
        QTest::addRow("%s: today, everybody", b)
            << backend << Today << Today << u"(Todos)"_s << u"(Todos)"_s
            << QStringList{u"u1"_s, u"abc"_s, u"u5"_s, u"u2"_s}
            << u"4 usuário gerados de 11/14/23 até 11/14/23. Total: R$ 15,00, suprimido: R$ 2,50"_s;
        QTest::addRow("%s: an operator with an apostrophe", b)
            << backend << Today << Today << u"d'Ávila"_s << u"(Todos)"_s << QStringList{u"u5"_s, u"u2"_s}
            << u"2 usuário gerados de 11/14/23 até 11/14/23. Total: R$ 12,00, suprimido: R$ 0,00"_s;
        QTest::addRow("%s: one router", b)
            << backend << Today << Today << u"(Todos)"_s << u"Outro"_s << QStringList{u"u5"_s}
            << u"1 usuário gerados de 11/14/23 até 11/14/23. Total: R$ 7,00, suprimido: R$ 0,00"_s;
        QTest::addRow("%s: operator and router", b)
            << backend << Today << Today << u"d'Ávila"_s << u"Sim"_s << QStringList{u"u2"_s}
            << u"1 usuário gerados de 11/14/23 até 11/14/23. Total: R$ 5,00, suprimido: R$ 0,00"_s;
        QTest::addRow("%s: three days", b)
            << backend << yesterday << tomorrow << u"(Todos)"_s << u"(Todos)"_s
            << QStringList{u"u3"_s, u"u1"_s, u"abc"_s, u"u5"_s, u"u2"_s, u"u4"_s}
            << u"6 usuário gerados de 11/13/23 até 11/15/23. Total: R$ 17,00, suprimido: R$ 2,50"_s;
        QTest::addRow("%s: end before start", b)
            << backend << Today << yesterday << u"(Todos)"_s << u"(Todos)"_s << QStringList{}
            << u"0 usuário gerados de 11/14/23 até 11/13/23. Total: R$ 0,00, suprimido: R$ 0,00"_s;
    }
}

void HistoryPageTest::filters()
{
    QFETCH(QString, backend);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, user);
    QFETCH(QString, router);
    QFETCH(QStringList, names);
    QFETCH(QString, line);
    const QList<HistoryRow> rows = {
        row(u"u3"_s, u"2023-11-13 23:59:59"_s, 100),
        row(u"u1"_s, u"2023-11-14 00:00:00"_s, 300),
        row(u"u2"_s, u"2023-11-14 23:59:59"_s, 500, u"d'Ávila"_s),
        row(u"u4"_s, u"2023-11-15 00:00:00"_s, 100),
        row(u"u5"_s, u"2023-11-14 12:00:00"_s, 700, u"d'Ávila"_s, u"Outro"_s),
        row(u"|abc"_s, u"2023-11-14 10:00:00"_s, 250),
    };
    Page p;
    PREPARE(p, backend, rows);
    // Both pickers start on the clock's day.
    auto *fromEdit = qobject_cast<QDateEdit *>(p.labelled(u"De"_s));
    auto *toEdit = qobject_cast<QDateEdit *>(p.labelled(u"Até a data"_s));
    QVERIFY(fromEdit && toEdit);
    QCOMPARE(fromEdit->date(), Today);
    QCOMPARE(toEdit->date(), Today);
    QCOMPARE(p.combo(u"Usuário"_s)->currentText(), u"(Todos)"_s);
    QVERIFY(!p.button(u"Imprimir"_s)->isEnabled());

    fromEdit->setDate(from);
    toEdit->setDate(to);
    p.choose(u"Usuário"_s, user);
    p.choose(u"Router"_s, router);
    p.search();
    QCOMPARE(p.names(), names);
    QCOMPARE(p.info(), line);
    QCOMPARE(p.button(u"Imprimir"_s)->isEnabled(), !names.isEmpty());
    QCOMPARE(p.button(u"Exportar CSV"_s)->isEnabled(), !names.isEmpty());
    QCOMPARE(p.h.interaction.texts(), QStringList());
}

void HistoryPageTest::removedRowAndControls_data()
{
    QTest::addColumn<QString>("backend");
    for (const QString &backend : historyBackends())
        QTest::newRow(qPrintable(backend)) << backend;
}

void HistoryPageTest::removedRowAndControls()
{
    QFETCH(QString, backend);
    HistoryRow removed = row(u"|abc"_s, u"2023-11-14 08:30:00"_s, 250);
    HistoryRow userManager = row(u"um"_s, u"2023-11-14 09:00:00"_s, 1000);
    userManager.Profile = u"1 Dia"_s;
    userManager.Serial.reset();
    userManager.Email = u"um@example.com"_s;
    HistoryRow hotSpot = row(u"hs"_s, u"2023-11-14 10:05:00"_s, 300);
    Page p;
    PREPARE(p, backend, (QList<HistoryRow>{removed, userManager, hotSpot}));

    // Every control by what it shows, as a screen reader finds it.
    for (const QString &text : {u"Iniciar Pesquisa"_s, u"Imprimir"_s, u"Exportar CSV"_s})
        QVERIFY2(p.button(text), qPrintable(text));
    QVERIFY(p.combo(u"Router"_s));
    QCOMPARE(p.combo(u"Router"_s)->count(), 3);
    QVERIFY(p.control(QAccessible::Table, u"Resultados"_s) == p.page->resultsView());
    QCOMPARE(p.info(), Prompt);

    p.search();
    const QAbstractItemModel *model = p.page->resultsView()->model();
    QCOMPARE(p.names(), (QStringList{u"abc"_s, u"um"_s, u"hs"_s}));
    QCOMPARE(column(model, HistoryListModel::ProfileColumn),
             (QStringList{u"1 Hora"_s, u"1 Dia"_s, u"1 Hora"_s}));
    QCOMPARE(column(model, HistoryListModel::SerialColumn),
             (QStringList{u"000000007"_s, QString(), u"000000007"_s}));
    QCOMPARE(column(model, HistoryListModel::CreatedColumn),
             (QStringList{u"11/14/23 08:30"_s, u"11/14/23 09:00"_s, u"11/14/23 10:05"_s}));
    QCOMPARE(column(model, HistoryListModel::PriceColumn),
             (QStringList{u"R$ 2,50"_s, u"R$ 10,00"_s, u"R$ 3,00"_s}));
    QCOMPARE(column(model, HistoryListModel::EmailColumn),
             (QStringList{QString(), u"um@example.com"_s, QString()}));
    QCOMPARE(model->headerData(HistoryListModel::SerialColumn, Qt::Horizontal).toString(),
             u"Contador (código do voucher)"_s);
    QCOMPARE(model->columnCount(), 14);
    QCOMPARE(p.info(), u"3 usuário gerados de 11/14/23 até 11/14/23. Total: R$ 13,00, suprimido: R$ 2,50"_s);

    const QList<int> icons = {RemovedVoucherImage, UserManagerImage, HotSpotImage};
    for (int i = 0; i < 3; ++i) {
        const QImage expected = image(p.resources.listImage(icons[i]));
        QVERIFY(!expected.isNull());
        QCOMPARE(image(model->index(i, 0).data(Qt::DecorationRole).value<QIcon>(), expected.size()),
                 expected);
    }

    // Sorting by the price, highest first, by clicking its caption twice.
    QHeaderView *header = p.page->resultsView()->horizontalHeader();
    const QPoint caption(header->sectionViewportPosition(HistoryListModel::PriceColumn) + 10,
                         header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, caption);
    QCOMPARE(p.names(), (QStringList{u"abc"_s, u"hs"_s, u"um"_s}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, caption);
    QCOMPARE(p.names(), (QStringList{u"um"_s, u"hs"_s, u"abc"_s}));
    // A new search keeps the operator's order.
    p.search();
    QCOMPARE(p.names(), (QStringList{u"um"_s, u"hs"_s, u"abc"_s}));
}

void HistoryPageTest::unreachableDatabase()
{
    Page p;
    PREPARE(p, u"sqlite"_s, {});
    // Nothing listens there.
    p.h.state.settings.HistoryDatabase = u"postgresql://x:y@127.0.0.1:1/none"_s;
    p.search();
    QCOMPARE(p.h.interaction.texts(), QStringList{AccessError});
    QCOMPARE(p.h.interaction.events[0].icon, MessageIcon::Warning);
    QCOMPARE(p.info(), Prompt);
    QVERIFY(!p.button(u"Imprimir"_s)->isEnabled());
}

// Vouchers a cut-off run left unconfirmed: the page says how many wait for
// their router, and how many of them for a router that is not configured.
void HistoryPageTest::pendingVouchersLine()
{
    Page p;
    const QByteArray line = "{\"Journal\":\"unconfirmed\",\"UserName\":\"u%1\",\"Created\":\"2026-12-10 "
                            "09:00:00\",\"Price\":300,\"Router\":\"%2\",\"Serial\":%1,\"RouterAt\":\"%3\"}\n";
    const QString sim = u"%1:%2"_s.arg(p.h.state.routers[0].Address, p.h.state.routers[0].Port);
    p.h.folder.writeDataFile(
        u"HistoryPending.jsonl"_s,
        QString::fromLatin1(line).arg(1).arg(p.h.state.routers[0].Name, sim).toUtf8() +
            QString::fromLatin1(line).arg(2).arg(u"Antigo"_s, u"10.9.9.9:8728"_s).toUtf8() +
            QString::fromLatin1(line).arg(3).arg(u"Antigo"_s, u"10.9.9.9:8728"_s).toUtf8());
    PREPARE(p, u"sqlite"_s, {});
    QVERIFY(findAccessible(p.page.get(), QAccessible::StaticText,
                           u"3 vouchers aguardam a confirmação do roteador (2 de um roteador que não está "
                           "configurado)."_s));

    // Settled (here: the journal emptied by hand), the line goes at the next search.
    QVERIFY(QFile::remove(p.h.folder.dataFolder() + u"/HistoryPending.jsonl"_s));
    p.search();
    QVERIFY(!findAccessible(p.page.get(), QAccessible::StaticText,
                            u"3 vouchers aguardam a confirmação do roteador (2 de um roteador que não está "
                            "configurado)."_s));
}

void HistoryPageTest::contextMenuEntries()
{
    Page p;
    PREPARE(p, u"sqlite"_s,
            (QList<HistoryRow>{row(u"|gone"_s, u"2023-11-14 08:00:00"_s, 100),
                               row(u"here"_s, u"2023-11-14 09:00:00"_s, 100)}));
    p.h.state.designs.clear();
    SetupData data = setupData(p.h.state);
    auto design = std::make_shared<VoucherDesign>(makeDefaultDesign());
    design->Name = u"Padrão"_s;
    auto card = std::make_shared<VoucherDesign>(makeDefaultDesign());
    card->Name = u"Cartão & cia"_s;
    data.designs = {design, card};
    p.page->initialize(data);
    p.search();

    QStringList top;
    QStringList designs;
    const auto look = [&] {
        return onNextPopup([&](QMenu *menu) {
            top = entries(menu);
            for (QAction *action : menu->actions())
                if (action->menu())
                    designs = entries(action->menu());
        });
    };
    // No selection, no menu.
    QPointer<QTimer> waiting = look();
    p.openMenu();
    QTest::qWait(100);
    QCOMPARE(top, QStringList());
    QVERIFY(waiting);
    delete waiting;

    // A removed row first hides the removal.
    p.select({0, 1});
    look();
    p.openMenu();
    QCOMPARE(top, QStringList{PrintEntry});
    QCOMPARE(designs, (QStringList{u"Padrão"_s, u"Cartão && cia"_s}));

    // Through the mouse as well.
    p.select({1});
    look();
    QTableView *view = p.page->resultsView();
    const QPoint at = view->visualRect(view->model()->index(1, 0)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &click);
    QCOMPARE(top, (QStringList{PrintEntry, RemoveEntry}));
    QCOMPARE(p.h.interaction.texts(), QStringList());
}

void HistoryPageTest::removal_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("router");
    QTest::addColumn<bool>("hotSpot");
    QTest::addColumn<QList<QStringList>>("commands");
    QTest::addColumn<QStringList>("messages");

    const QList<QStringList> hotSpotRemoval = {{u"/ip/hotspot/user/print"_s, u"?name=joao"_s},
                                               {u"/ip/hotspot/user/remove"_s, u"=.id=*A1"_s}};
    for (const QString &backend : historyBackends()) {
        const QByteArray name = backend.toUtf8();
        const char *b = name.constData();
        QTest::addRow("%s: its router", b) << backend << u"Sim"_s << true << hotSpotRemoval << QStringList();
        QTest::addRow("%s: User Manager", b)
            << backend << u"Sim"_s << false
            << QList<QStringList>{{u"/system/resource/print"_s},
                                  {u"/tool/user-manager/user/print"_s, u"?username=joao"_s},
                                  {u"/tool/user-manager/user/remove"_s, u"=.id=*B1"_s}}
            << QStringList();
        QTest::addRow("%s: no router named", b)
            << backend << QString() << true << hotSpotRemoval << QStringList();
        QTest::addRow("%s: a router no longer set up", b)
            << backend << u"Longe"_s << true << QList<QStringList>{}
            << QStringList{
                   u"O usuário joao não foi excluído: o roteador \"Longe\" não está mais configurado."_s};
        // The name differs from "Sim" in case only.
        QTest::addRow("%s: names are exact", b)
            << backend << u"sim"_s << true << QList<QStringList>{}
            << QStringList{
                   u"O usuário joao não foi excluído: o roteador \"sim\" não está mais configurado."_s};
    }
}

void HistoryPageTest::removal()
{
    QFETCH(QString, backend);
    QFETCH(QString, router);
    QFETCH(bool, hotSpot);
    QFETCH(QList<QStringList>, commands);
    QFETCH(QStringList, messages);
    routersim::RouterState state = routersim::defaultRouterState();
    state.version = u"6.48.6 (stable)"_s;
    routersim::HotspotUser user;
    user.id = u"*A1"_s;
    user.name = u"joao"_s;
    state.hotspotUsers = {user};
    routersim::UserManagerUser manager;
    manager.id = u"*B1"_s;
    manager.name = u"joao"_s;
    state.userManagerUsers = {manager};
    Page p(state);
    QVERIFY(p.h.start());
    HistoryRow joao = row(u"joao"_s, u"2023-11-14 09:00:00"_s, 300, u"caixa"_s, router);
    joao.Serial = 41;
    if (!hotSpot)
        joao.Profile = u"1 Dia"_s;
    HistoryRow other = row(u"joao"_s, u"2023-11-14 10:00:00"_s, 200);
    other.Serial = 42; // the same name made again: not this voucher
    PREPARE(p, backend, (QList<HistoryRow>{joao, other}));
    p.search();

    p.select({0});
    p.h.interaction.answer({Answer::Yes});
    onNextPopup([](QMenu *menu) { QVERIFY(pick(menu, RemoveEntry)); });
    p.openMenu();

    const bool removed = !commands.isEmpty();
    QCOMPARE(p.h.interaction.texts(), QStringList{RemoveQuestion} + messages);
    QCOMPARE(p.h.interaction.events[0].icon, MessageIcon::Question);
    QCOMPARE(p.h.commands(), commands);
    if (!removed)
        QVERIFY(p.h.sent().isEmpty());
    QCOMPARE(p.h.router().state().hotspotUsers.isEmpty(), removed && hotSpot);
    QCOMPARE(p.h.router().state().userManagerUsers.isEmpty(), removed && !hotSpot);

    // The list and the history tell it, and the money moves to suppressed.
    const QAbstractItemModel *model = p.page->resultsView()->model();
    const QImage removedIcon = image(p.resources.listImage(RemovedVoucherImage));
    QCOMPARE(image(model->index(0, 0).data(Qt::DecorationRole).value<QIcon>(), removedIcon.size()) ==
                 removedIcon,
             removed);
    QCOMPARE(p.info(),
             removed ? u"2 usuário gerados de 11/14/23 até 11/14/23. Total: R$ 2,00, suprimido: R$ 3,00"_s
                     : u"2 usuário gerados de 11/14/23 até 11/14/23. Total: R$ 5,00, suprimido: R$ 0,00"_s);
    QStringList stored;
    for (const HistoryRow &r : p.h.historyOfToday())
        stored << r.UserName;
    QCOMPARE(stored, (QStringList{removed ? u"|joao"_s : u"joao"_s, u"joao"_s}));
}

void HistoryPageTest::reprint()
{
    HistoryRow first = row(u"u1"_s, u"2023-11-14 08:00:00"_s, 300);
    first.Serial.reset();
    HistoryRow second = row(u"u2"_s, u"2023-11-14 09:30:00"_s, 500);
    second.Validity = u"1d"_s;
    second.Serial = 12;
    Page p;
    PREPARE(p, u"sqlite"_s, (QList<HistoryRow>{first, second, row(u"u3"_s, u"2023-11-14 10:00:00"_s, 100)}));
    auto design = std::make_shared<VoucherDesign>(makeDefaultDesign());
    design->Name = u"Dupla"_s;
    design->Copies = 2;
    DesignText text;
    text.Text = u"R:${user}:${serial}:${tilltime}:${price}"_s;
    text.FontFace = u"Arial"_s;
    text.FontSize = 12;
    text.X = 50;
    text.Y = 100;
    design->Graphics.clear();
    design->Texts = {text};
    SetupData data = setupData(p.h.state);
    data.designs = {design};
    p.page->initialize(data);
    // The session's own lists, which a reprint must not touch.
    auto sessionProfile = userManagerProfile(u"1 Semana"_s, u"1w"_s);
    p.h.state.profiles = {sessionProfile};
    newVoucherRecord(p.h.state.batch, sessionProfile).UserName = u"lastrun"_s;
    p.search();
    p.select({0, 1});

    // Cancelled at the printer choice: nothing printed, nothing changed.
    pickDesign(u"Dupla"_s);
    p.openMenu();
    QCOMPARE(p.printers.asked, 1);
    QCOMPARE(p.h.state.profiles, ProfileList{sessionProfile});
    QCOMPARE(p.h.state.batch.size(), size_t(1));
    QCOMPARE(p.h.state.batch.front().UserName, u"lastrun"_s);
    QCOMPARE(p.h.interaction.texts(), QStringList());

    const PrintQueue queue = testPrintQueue();
    if (queue.name.isEmpty())
        QSKIP("WIFITICKETER_TEST_PRINT_QUEUE names no print queue (scripts/start-cups.sh sets one up)");
    const QStringList before = printedFiles(queue);
    p.printers.answer = queue.name;
    pickDesign(u"Dupla"_s);
    p.openMenu();
    QCOMPARE(p.printers.asked, 2);
    QCOMPARE(p.h.interaction.texts(), QStringList());
    const QString printed = waitForPrintedText(queue, before, u"R:u2"_s).simplified().remove(u' ');
    QVERIFY2(!printed.isEmpty(), "no PDF with the vouchers appeared within 60 s");
    // Two copies of each, in row order; the validity counts from the creation.
    const QString u1 = u"R:u1:000000000:11/14/2309:00:R$3,00"_s;
    const QString u2 = u"R:u2:000000012:11/15/2309:30:R$5,00"_s;
    QCOMPARE(printed.count(u1), 2);
    QCOMPARE(printed.count(u2), 2);
    QVERIFY(printed.indexOf(u1) < printed.indexOf(u2));
    QVERIFY(!printed.contains(u"R:u3"_s));
    QCOMPARE(p.h.state.profiles, ProfileList{sessionProfile});
    QCOMPARE(p.h.state.batch.size(), size_t(1));
}

// The report's drawing on its own: the head and stamp with the page number on
// every page, the captions, the rows, pages as the rows need them.
void HistoryPageTest::reportDrawing()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"report.pdf"_s);
    HistoryReport report;
    report.head = u"3 usuário gerados de 11/14/23 até 11/14/23."_s;
    report.stamp = u"11/14/23 19:13"_s;
    report.captions = {u"Nome do Usuário"_s, u"Senha"_s, u"Preço"_s};
    report.widths = {100, 100, 80};
    for (int i = 0; i < 40; ++i)
        report.rows.append({u"user%1"_s.arg(i, 2, 10, QChar(u'0')), u"pw%1"_s.arg(i), u"R$ %1,00"_s.arg(i)});
    report.rows[1][0] += u" (-)"_s;
    report.rows[2][1] = QString();
    {
        QPdfWriter pdf(file);
        pdf.setResolution(300);
        // A small page: 100 mm high holds about 12 rows after the head.
        pdf.setPageSize(QPageSize(QSizeF(150, 100), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        const QRect page(QPoint(0, 0), pdf.pageLayout().paintRectPixels(pdf.resolution()).size());
        const int pages =
            drawHistoryReport(painter, page, pdf.resolution(), report, [&pdf] { return pdf.newPage(); });
        QVERIFY2(pages >= 3 && pages <= 5, qPrintable(QString::number(pages)));
    }
    const QString text = pdfText(file);
    QStringList pageTexts = text.split(u'\f', Qt::SkipEmptyParts);
    pageTexts.removeIf([](const QString &t) { return t.trimmed().isEmpty(); });
    QVERIFY(pageTexts.size() >= 3);
    for (qsizetype i = 0; i < pageTexts.size(); ++i) {
        const QString &page = pageTexts[i];
        QVERIFY(page.contains(report.head));
        QVERIFY2(page.contains(u"11/14/23 19:13 - %1"_s.arg(i + 1)), qPrintable(page));
        QVERIFY(page.contains(u"Nome do Usuário"_s) && page.contains(u"Preço"_s));
    }
    QVERIFY(pageTexts[0].contains(u"user01 (-)"_s));
    QVERIFY(!pageTexts[0].contains(u"user00 (-)"_s));
    for (int i = 0; i < 40; ++i)
        QVERIFY(text.contains(u"user%1"_s.arg(i, 2, 10, QChar(u'0'))));
    QVERIFY(pageTexts.last().contains(u"user39"_s));
}

void HistoryPageTest::reportPrinterFailure()
{
    Page p;
    PREPARE(p, u"sqlite"_s, (QList<HistoryRow>{row(u"u1"_s, u"2023-11-14 08:00:00"_s, 300)}));
    p.search();
    // Cancelled: nothing to say.
    QTest::mouseClick(p.button(u"Imprimir"_s), Qt::LeftButton);
    QCOMPARE(p.printers.asked, 1);
    QCOMPARE(p.h.interaction.texts(), QStringList());
    p.printers.answer = u"no-such-printer"_s;
    QTest::mouseClick(p.button(u"Imprimir"_s), Qt::LeftButton);
    QCOMPARE(
        p.h.interaction.texts(),
        QStringList{
            u"Não foi possível imprimir o relatório: a impressora \"no-such-printer\" não foi encontrada."_s});
    QCOMPARE(p.h.interaction.events[0].icon, MessageIcon::Error);
}

// The page's report on a real queue: the first ten columns, the removed mark.
void HistoryPageTest::reportThroughQueue()
{
    const PrintQueue queue = testPrintQueue();
    if (queue.name.isEmpty())
        QSKIP("WIFITICKETER_TEST_PRINT_QUEUE names no print queue (scripts/start-cups.sh sets one up)");
    HistoryRow removed = row(u"|rmvd"_s, u"2023-11-14 08:00:00"_s, 250);
    HistoryRow kept = row(u"kept"_s, u"2023-11-14 09:00:00"_s, 300);
    kept.FirstName = u"Maria"_s;
    kept.LastName = u"Silva"_s;
    kept.Phone = u"555-0101"_s;
    kept.Email = u"maria@example.com"_s;
    Page p;
    PREPARE(p, u"sqlite"_s, (QList<HistoryRow>{removed, kept}));
    p.search();
    const QStringList before = printedFiles(queue);
    p.printers.answer = queue.name;
    QTest::mouseClick(p.button(u"Imprimir"_s), Qt::LeftButton);
    QCOMPARE(p.h.interaction.texts(), QStringList());
    const QString text = waitForPrintedText(queue, before, u"rmvd"_s);
    QVERIFY2(!text.isEmpty(), "no PDF with the report appeared within 60 s");
    for (const QString &expected : {u"rmvd (-)"_s, u"kept"_s, u"Maria"_s, u"Silva"_s, u"Last Name"_s,
                                    u"Gerador"_s, u"R$ 3,00"_s, u"19:13 - 1"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u"\n"_s + text));
    for (const QString &absent :
         {u"Phone"_s, u"555-0101"_s, u"Email"_s, u"maria@example.com"_s, u"kept (-)"_s})
        QVERIFY2(!text.contains(absent), qPrintable(absent));
}

void HistoryPageTest::csvExport_data()
{
    QTest::addColumn<QString>("backend");
    for (const QString &backend : historyBackends())
        QTest::newRow(qPrintable(backend)) << backend;
}

void HistoryPageTest::csvExport()
{
    QFETCH(QString, backend);
    HistoryRow formula = row(u"f1"_s, u"2023-11-14 08:00:00"_s, 1250);
    formula.Comment = u"=1+1"_s;
    formula.LastName = u"O'Neil; \"Jr\""_s;
    HistoryRow removed = row(u"|gone"_s, u"2023-11-14 09:00:00"_s, 300);
    removed.Serial.reset();
    HistoryRow third = row(u"t3"_s, u"2023-11-14 10:00:00"_s, 5);
    Page p;
    p.h.state.separators.decimal = u","_s;
    PREPARE(p, backend, (QList<HistoryRow>{formula, removed, third}));
    p.search();
    // The export writes the list as shown: sorted by price.
    QHeaderView *header = p.page->resultsView()->horizontalHeader();
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(HistoryListModel::PriceColumn) + 10, header->height() / 2));
    QCOMPARE(p.names(), (QStringList{u"t3"_s, u"gone"_s, u"f1"_s}));

    QTemporaryDir folder;
    const QString file = folder.filePath(u"historico.csv"_s);
    p.files.answers = {file};
    QTest::mouseClick(p.button(u"Exportar CSV"_s), Qt::LeftButton);
    QCOMPARE(p.files.requests.size(), 1);
    QVERIFY(p.files.requests[0].save);
    QCOMPARE(p.files.requests[0].filter, u"CSV (*.csv)"_s);
    QCOMPARE(p.files.requests[0].defaultSuffix, u"csv"_s);
    QCOMPARE(p.h.interaction.texts(), QStringList());

    // Read back by a spreadsheet-minded reader: Python's csv module.
    const QString script = uR"(
import csv, json, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    bom = f.read(1) == '\ufeff'
    rows = list(csv.reader(f, delimiter=';'))
def amount(r):
    return float(r[7].replace(',', '.'))
print(json.dumps({'bom': bom, 'header': rows[0], 'widths': sorted({len(r) for r in rows}),
                  'names': [r[0] for r in rows[1:]],
                  'total': round(sum(amount(r) for r in rows[1:] if r[14] != 'Sim'), 2),
                  'suppressed': round(sum(amount(r) for r in rows[1:] if r[14] == 'Sim'), 2),
                  'created': rows[1][4], 'serials': [r[3] for r in rows[1:]],
                  'comment': rows[3][12], 'last': rows[3][9]}))
)"_s;
    QProcess python;
    python.start(u"python3"_s, {u"-c"_s, script, file});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.exitCode(), 0);
    const QJsonObject read = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    QVERIFY2(!read.isEmpty(), python.readAllStandardError().constData());
    QCOMPARE(read[u"bom"_s].toBool(), true);
    QCOMPARE(read[u"header"_s].toVariant().toStringList(),
             (QStringList{u"Nome do Usuário"_s, u"Senha"_s, u"Perfil"_s, u"Contador (código do voucher)"_s,
                          u"Criado"_s, u"Router"_s, u"Gerador"_s, u"Preço"_s, u"First Name"_s, u"Last Name"_s,
                          u"Phone"_s, u"Location"_s, u"Comment"_s, u"Email"_s, u"Excluído do roteador"_s}));
    QCOMPARE(read[u"widths"_s].toVariant().toList(), QVariantList{15});
    QCOMPARE(read[u"names"_s].toVariant().toStringList(), (QStringList{u"t3"_s, u"gone"_s, u"f1"_s}));
    // The page's totals: 12,50 + 0,05 on the routers, 3,00 removed.
    QCOMPARE(read[u"total"_s].toDouble(), 12.55);
    QCOMPARE(read[u"suppressed"_s].toDouble(), 3.0);
    QCOMPARE(read[u"created"_s].toString(), u"2023-11-14 10:00"_s);
    QCOMPARE(read[u"serials"_s].toVariant().toStringList(),
             (QStringList{u"000000007"_s, QString(), u"000000007"_s}));
    QCOMPARE(read[u"comment"_s].toString(), u"'=1+1"_s);
    QCOMPARE(read[u"last"_s].toString(), u"O'Neil; \"Jr\""_s);
}

WIFITICKETER_TEST(HistoryPageTest)

#include "historypagetest.moc"
