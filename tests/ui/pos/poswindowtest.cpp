#include "testmain.h"

#include "accessiblesearch.h"
#include "posfixture.h"
#include "recordbuilders.h"

#include "base/regvalue.h"
#include "config/appuser.h"
#include "ui/tray/csystemtray.h"

#include <QDir>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The sales of the fixture's file, as a fresh history reads them.
QList<PosHistoryEntry> salesOnDisk(const PosFixture &f)
{
    return decodePosHistoryFile(f.h.folder.readDataFile(u"PosHistory.bin"_s)).entries;
}

// The program users as the settings file holds them.
QList<AppUser> storedUsers(const PosFixture &f)
{
    const std::optional<RegKeyValues> values = f.h.state.settingsKey.read();
    const RegValue *value = values ? findRegValue(*values, u"UsersData"_s) : nullptr;
    QList<AppUser> users;
    if (value)
        parseUsers(value->data, users);
    return users;
}

bool messageShown(const ScriptedInteraction &interaction, const QString &start)
{
    for (const ScriptedInteraction::Event &event : interaction.events) {
        if (event.kind == ScriptedInteraction::Kind::Message && event.text.startsWith(start))
            return true;
    }
    return false;
}

const QString NotPrinted = u"Os vouchers desta venda não foram impressos."_s;

} // namespace

class PosWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithTheRoutersProfiles();
    void saleThroughTheKeypad();
    void tapsDuringTheSaleAreDropped();
    void salePrintedWithTheProfilesDesign();
    void printerFailureKeepsTheSale_data();
    void printerFailureKeepsTheSale();
    void unwritableSalesFileIsReported();
    void promptingSettingsSellAtOnce();
    void keypadLocksTheOtherProfiles_data();
    void keypadLocksTheOtherProfiles();
    void pagesOfProfiles();
    void anyWindowSizeWorks_data();
    void anyWindowSizeWorks();
    void historyScrollsAndClears();
    void fullScreenIsKeptForTheUser();
    void closeHidesToTheTray();
};

void PosWindowTest::opensWithTheRoutersProfiles()
{
    PosFixture f;
    QVERIFY(f.open());
    QCOMPARE(f.window->size(), QSize(1200, 700));
    QCOMPARE(f.window->windowTitle(), u"wifiTicketer - Sim (127.0.0.1)"_s);
    // 1200 × 700 with 2 profiles: one row, two columns at x 397 and 782.
    QCOMPARE(f.profileButton(0).left, 397);
    QCOMPARE(f.profileButton(1).left, 782);
    QCOMPARE(f.profileButton(0).right - f.profileButton(0).left, 355);
    // The fixed items where the window's width puts them.
    for (auto [id, left, top] :
         {std::tuple{CPosModeWindow::CloseItem, 1128, 0}, std::tuple{CPosModeWindow::MinimizeItem, 1064, 0},
          std::tuple{CPosModeWindow::LogoutItem, 1040, 655},
          std::tuple{CPosModeWindow::NormalModeItem, 740, 655},
          std::tuple{CPosModeWindow::NextItem, 1030, 595}, std::tuple{CPosModeWindow::PreviousItem, 365, 595},
          std::tuple{CPosModeWindow::HistoryDownItem, 18, 583}}) {
        const SkinItem *item = f.window->item(id);
        QVERIFY(item);
        QCOMPARE(QPoint(item->left, item->top), QPoint(left, top));
    }
    for (const QString &name :
         {u"1 Hora (R$ 3,00)"_s, u"1 Dia (R$ 5,00)"_s, u"Sair do aplicativo"_s, u"Tela cheia"_s,
          u"Modo Normal"_s, u"Apagar histórico"_s, u"Fechar"_s, u"Minimizar"_s, u"Limpar histórico"_s})
        QVERIFY2(findAccessible(f.window.get(), QAccessible::Button, name), qPrintable(name));
    // The page buttons are there, switched off: everything fits one page.
    for (const QString &name : {u"Próximo"_s, u"Anterior"_s}) {
        QAccessibleInterface *page = findAccessible(f.window.get(), QAccessible::Button, name);
        QVERIFY(page && page->state().disabled);
    }
    // The second line names the design.
    QCOMPARE(f.profileButton(0).texts[1].text, u"Cartão B"_s);
    QVERIFY(findAccessible(f.window.get(), QAccessible::StaticText, u"Ligado ao router Sim (127.0.0.1)"_s));
    QCOMPARE(f.total(), u"R$ 0,00"_s);
    QVERIFY(f.h.sent().isEmpty());
}

// A touch on "1 Hora", 3 on the keypad, "Imprimir": three users on the router
// and in the history, printed with the profile's design, and a "3x" sale at
// the bottom of the list with the total raised by 3 × R$ 3,00.
void PosWindowTest::saleThroughTheKeypad()
{
    PosFixture f;
    QVERIFY(f.open());
    // An earlier sale of the shift, as PosHistory.bin holds it.
    f.h.folder.writeDataFile(u"PosHistory.bin"_s, encodePosHistoryFile({{2, u"1 Dia"_s, 500}}));
    f.h.state.posHistory.append({2, u"1 Dia"_s, 500});
    f.window->refreshHistory(true);
    QCOMPARE(f.total(), u"R$ 10,00"_s);

    f.touch(*f.window, f.profileButton(0));
    QTRY_VERIFY(f.window->keypad());
    QCOMPARE(f.display(), u"1"_s);
    // Nothing is left lit by the finger.
    QCOMPARE(f.profileButton(0).state, SkinItem::Normal);
    f.clickKey(u"3"_s);
    QCOMPARE(f.display(), u"3"_s);
    f.clickKey(u"Imprimir"_s);
    QVERIFY(f.window->isSelling());
    QVERIFY(f.window->busyText().contains(u" de 3"_s));
    QVERIFY(f.waitForSales(1));

    const QStringList made = f.batchNames();
    QCOMPARE(made.size(), 3);
    QCOMPARE(f.routerHotSpotUsers(), made);
    QCOMPARE(f.h.historyOfToday().size(), 3);
    QCOMPARE(f.chooser.asked, 1);
    QCOMPARE(f.historyRows(), (QStringList{u"2x 1 Dia R$ 10,00"_s, u"3x 1 Hora R$ 9,00"_s}));
    QCOMPARE(f.total(), u"R$ 19,00"_s);
    QCOMPARE(salesOnDisk(f).size(), 2);
    QCOMPARE(salesOnDisk(f).last().count, 3);
    // No printer was chosen: the operator hears that the sale stands unprinted.
    QVERIFY(messageShown(f.h.interaction, NotPrinted));
    QCOMPARE(f.h.interaction.waitDepth, 0);
    QVERIFY(f.window->busyText().isEmpty());
}

// A second tap while the first sale is being made, and taps that arrive while
// the window is busy printing (queued behind it), sell nothing and open no
// keypad afterwards.
void PosWindowTest::tapsDuringTheSaleAreDropped()
{
    PosFixture f;
    QVERIFY(f.open());
    CPosModeWindow *window = f.window.get();
    const QPoint onProfile((f.profileButton(1).left + f.profileButton(1).right) / 2,
                           (f.profileButton(1).top + f.profileButton(1).bottom) / 2);
    f.chooser.whileAsked = [&] {
        // The window system hands these over once the print job lets go.
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QCoreApplication::postEvent(
                window,
                new QMouseEvent(type, onProfile, window->mapToGlobal(onProfile), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {}));
        }
    };

    f.touch(*window, f.profileButton(0));
    QTRY_VERIFY(window->keypad());
    f.clickKey(u"Imprimir"_s);
    QVERIFY(window->isSelling());
    f.touch(*window, f.profileButton(1));
    f.click(*window, f.profileButton(0));
    QVERIFY(findAccessible(window, QAccessible::Button, u"1 Dia (R$ 5,00)"_s));
    pressAccessible(findAccessible(window, QAccessible::Button, u"1 Dia (R$ 5,00)"_s));
    QVERIFY(f.waitForSales(1));
    QCOMPARE(f.chooser.asked, 1);
    QTest::qWait(200);
    QVERIFY(!window->keypad());
    QVERIFY(!window->isSelling());
    QCOMPARE(f.finished.size(), 1);
    QCOMPARE(f.batchNames().size(), 1);
    QCOMPARE(f.routerHotSpotUsers().size(), 1);
    QCOMPARE(f.historyRows(), QStringList{u"1x 1 Hora R$ 3,00"_s});

    // The window takes touches again.
    f.touch(*window, f.profileButton(1));
    QTRY_VERIFY(window->keypad());
}

// Through a real print queue: the sale's three vouchers come out with the
// profile's design ("Cartão B" marks each name with "B:").
void PosWindowTest::salePrintedWithTheProfilesDesign()
{
    const PrintQueue queue = testPrintQueue();
    if (queue.name.isEmpty())
        QSKIP("WIFITICKETER_TEST_PRINT_QUEUE names no print queue (scripts/start-cups.sh sets one up)");
    const QStringList before = printedFiles(queue);
    PosFixture f;
    f.chooser.answer = queue.name;
    QVERIFY(f.open());
    f.touch(*f.window, f.profileButton(0));
    QTRY_VERIFY(f.window->keypad());
    f.clickKey(u"3"_s);
    f.clickKey(u"Imprimir"_s);
    QVERIFY(f.waitForSales(1));
    const QStringList made = f.batchNames();
    QCOMPARE(made.size(), 3);
    const QString text = waitForPrintedText(queue, before, made[0]);
    QVERIFY2(!text.isEmpty(), "no PDF with the vouchers appeared within 60 s");
    for (const QString &name : made)
        QVERIFY2(text.contains(u"B:"_s + name), qPrintable(text));
    QVERIFY(!messageShown(f.h.interaction, NotPrinted));
}

void PosWindowTest::printerFailureKeepsTheSale_data()
{
    QTest::addColumn<std::optional<QString>>("printer");
    QTest::addColumn<QString>("firstMessage");
    QTest::addRow("no printer chosen") << std::optional<QString>() << NotPrinted;
    QTest::addRow("printer gone") << std::optional<QString>(u"wifiticketer-no-such-printer"_s)
                                  << u"Impressora não encontrada."_s;
}

// The vouchers are on the router, in the history and in the sales list, and
// the operator is told they were not printed.
void PosWindowTest::printerFailureKeepsTheSale()
{
    QFETCH(std::optional<QString>, printer);
    QFETCH(QString, firstMessage);
    PosFixture f;
    f.chooser.answer = printer;
    QVERIFY(f.open());
    f.touch(*f.window, f.profileButton(1));
    QTRY_VERIFY(f.window->keypad());
    f.clickKey(u"2"_s);
    f.clickKey(u"Imprimir"_s);
    QVERIFY(f.waitForSales(1));
    QCOMPARE(f.h.historyOfToday().size(), 2);
    QCOMPARE(f.h.router().state().userManagerUsers.size(), size_t(2));
    QCOMPARE(f.historyRows(), QStringList{u"2x 1 Dia R$ 10,00"_s});
    QVERIFY(messageShown(f.h.interaction, firstMessage));
    QVERIFY(messageShown(f.h.interaction, NotPrinted));
}

// PosHistory.bin cannot be written (a folder stands in its place): the sale
// stands and shows in the list, and the operator reads that the sales file
// could not be written.
void PosWindowTest::unwritableSalesFileIsReported()
{
    PosFixture f;
    QVERIFY(QDir().mkpath(f.h.folder.dataFolder() + u"/PosHistory.bin/x"_s));
    QVERIFY(f.open());
    f.touch(*f.window, f.profileButton(1));
    QTRY_VERIFY(f.window->keypad());
    f.clickKey(u"2"_s);
    f.clickKey(u"Imprimir"_s);
    QVERIFY(f.waitForSales(1));
    QCOMPARE(f.historyRows(), QStringList{u"2x 1 Dia R$ 10,00"_s});
    QVERIFY(messageShown(f.h.interaction, u"Erro: não foi possível gravar o histórico de vendas ("_s));
    QVERIFY(QFileInfo(f.h.folder.dataFolder() + u"/PosHistory.bin"_s).isDir());
}

// Typed names with the user-data prompt on: no keypad, the sale starts at
// once and the prompt asks for the name.
void PosWindowTest::promptingSettingsSellAtOnce()
{
    PosFixture f;
    QVERIFY(f.open([](AppSettings &s) {
        s.CreateRandomUserName = false;
        s.QueryUserData = true;
    }));
    f.h.prompt.then([](VoucherRecord &record) {
        record.UserName = u"maria"_s;
        return true;
    });
    f.touch(*f.window, f.profileButton(0));
    QVERIFY(f.waitForSales(1));
    QVERIFY(!f.window->keypad());
    QCOMPARE(f.h.prompt.shown.size(), 1);
    QCOMPARE(f.routerHotSpotUsers(), QStringList{u"maria"_s});
}

void PosWindowTest::keypadLocksTheOtherProfiles_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("Escape") << u"Escape"_s;
    QTest::addRow("ESC key") << u"ESC"_s;
    QTest::addRow("click on the window") << u"window"_s;
    QTest::addRow("click on the other profile") << u"profile"_s;
}

// While the keypad is open only its profile takes touches and the others are
// grey; however it closes, they come back, and the click that closed it does
// nothing else.
void PosWindowTest::keypadLocksTheOtherProfiles()
{
    QFETCH(QString, how);
    PosFixture f;
    QVERIFY(f.open());
    f.click(*f.window, f.profileButton(0));
    QTRY_VERIFY(f.window->keypad());
    QVERIFY(f.profileButton(0).has(SkinItem::Enabled));
    QVERIFY(!f.profileButton(1).has(SkinItem::Enabled));
    QCOMPARE(f.profileButton(1).texts[0].colour, QColor(215, 215, 225));
    QAccessibleInterface *other = findAccessible(f.window.get(), QAccessible::Button, u"1 Dia (R$ 5,00)"_s);
    QVERIFY(other && other->state().disabled);

    if (how == u"Escape"_s)
        QTest::keyClick(f.window->keypad(), Qt::Key_Escape);
    else if (how == u"ESC"_s)
        f.clickKey(u"ESC"_s);
    else if (how == u"window"_s)
        QTest::mouseClick(f.window.get(), Qt::LeftButton, {}, QPoint(600, 120));
    else
        f.click(*f.window, f.profileButton(1));
    QTRY_VERIFY(!f.window->keypad());
    QCoreApplication::processEvents();
    QVERIFY(!f.window->keypad());
    for (int i = 0; i < 2; ++i) {
        QVERIFY(f.profileButton(i).has(SkinItem::Enabled));
        QCOMPARE(f.profileButton(i).texts[0].colour, QColor(14, 10, 99));
    }
    QCOMPARE(f.finished.size(), 0);
}

// 15 profiles in the 1200 × 700 window: 14 on the first page, the 15th alone
// on the second, and back.
void PosWindowTest::pagesOfProfiles()
{
    PosFixture f;
    ProfileList profiles;
    for (int i = 0; i < 15; ++i) {
        auto profile = std::make_shared<VoucherProfile>(*f.dayProfile);
        profile->Title = u"Perfil %1"_s.arg(i + 1);
        profiles << profile;
    }
    f.h.state.profiles = profiles;
    QVERIFY(f.open());
    auto shown = [&] {
        QList<int> indexes;
        for (int i = 0; i < 15; ++i) {
            if (!f.profileButton(i).has(SkinItem::Hidden))
                indexes << i;
        }
        return indexes;
    };
    QCOMPARE(shown().size(), 14);
    QCOMPARE(f.profileButton(13).top - f.profileButton(11).top, 75);
    QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Próximo"_s)));
    QTRY_COMPARE(shown(), QList<int>{14});
    QCOMPARE(f.profileButton(14).left, 397);
    QVERIFY(findAccessible(f.window.get(), QAccessible::Button, u"Perfil 15 (R$ 5,00)"_s));
    QVERIFY(!findAccessible(f.window.get(), QAccessible::Button, u"Perfil 1 (R$ 5,00)"_s));
    QVERIFY(findAccessible(f.window.get(), QAccessible::Button, u"Próximo"_s)->state().disabled);
    QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Anterior"_s)));
    QTRY_COMPARE(shown().size(), 14);
    QCOMPARE(f.window->firstProfile(), 0);
}

void PosWindowTest::anyWindowSizeWorks_data()
{
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<int>("profiles");
    QTest::addColumn<QSize>("kept");
    QTest::addRow("800 x 600, no profile") << QSize(800, 600) << 0 << QSize(800, 600);
    QTest::addRow("800 x 600, two profiles") << QSize(800, 600) << 2 << QSize(800, 600);
    QTest::addRow("the skin's size") << QSize(733, 391) << 2 << QSize(733, 391);
    QTest::addRow("smaller than the skin") << QSize(300, 200) << 2 << QSize(733, 391);
}

// Below the sizes the layout was made for there is still one column and one
// row, and the window never gets smaller than its skin.
void PosWindowTest::anyWindowSizeWorks()
{
    QFETCH(QSize, asked);
    QFETCH(int, profiles);
    QFETCH(QSize, kept);
    PosFixture f;
    f.h.state.profiles = f.h.state.profiles.mid(0, profiles);
    for (int i = 1; i <= 20; ++i)
        f.h.state.posHistory.append({i, u"1 Hora"_s, 300});
    QVERIFY(f.open());
    f.window->resize(asked);
    QTRY_COMPARE(f.window->size(), kept);
    // One column of rows of 72 px: both profiles fit in every size here.
    QCOMPARE(f.window->pageLayout().columns, 1);
    for (int i = 0; i < profiles; ++i) {
        const SkinItem &button = f.profileButton(i);
        QVERIFY(!button.has(SkinItem::Hidden));
        QVERIFY(button.left >= 0 && button.right > button.left && button.right <= kept.width());
        QVERIFY(button.top >= 0 && button.bottom <= kept.height());
    }
    // The bottom row of buttons stays inside the window.
    QCOMPARE(f.window->item(CPosModeWindow::LogoutItem)->right, kept.width() - 10);
    f.window->grab();
}

// 20 sales in the 700-px window: the newest 12 in sight, only the up arrow;
// the arrows scroll; "Apagar histórico" empties it at once, file included.
void PosWindowTest::historyScrollsAndClears()
{
    PosFixture f;
    for (int i = 1; i <= 20; ++i)
        f.h.state.posHistory.append({i, u"1 Hora"_s, 300});
    QVERIFY(f.open());
    f.window->refreshHistory(true);
    QCOMPARE(f.window->historyTop(), 8);
    QStringList rows = f.historyRows();
    QCOMPARE(rows.size(), 12);
    QCOMPARE(rows.first(), u"9x 1 Hora R$ 27,00"_s);
    QCOMPARE(rows.last(), u"20x 1 Hora R$ 60,00"_s);
    QCOMPARE(f.total(), u"R$ 630,00"_s);
    QVERIFY(findAccessible(f.window.get(), QAccessible::Button, u"Vendas anteriores"_s));
    QVERIFY(!findAccessible(f.window.get(), QAccessible::Button, u"Vendas seguintes"_s));

    QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Vendas anteriores"_s)));
    QTRY_COMPARE(f.window->historyTop(), 7);
    QCOMPARE(f.historyRows().first(), u"8x 1 Hora R$ 24,00"_s);
    QVERIFY(findAccessible(f.window.get(), QAccessible::Button, u"Vendas seguintes"_s));

    QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Apagar histórico"_s)));
    QTRY_VERIFY(f.historyRows().isEmpty());
    QCOMPARE(f.total(), u"R$ 0,00"_s);
    QVERIFY(salesOnDisk(f).isEmpty());
}

// "Tela cheia" fills the screen's work area and is kept for the user: a new
// window for the same user opens full screen; "Restaurar" goes back.
void PosWindowTest::fullScreenIsKeptForTheUser()
{
    PosFixture f;
    QVERIFY(f.open());
    const QRect normal = f.window->geometry();
    QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Tela cheia"_s)));
    QTRY_VERIFY(f.window->isFullScreenMode());
    const QRect available = f.window->screen()->availableGeometry();
    QCOMPARE(f.window->geometry(), available);
    QVERIFY(findAccessible(f.window.get(), QAccessible::Button, u"Restaurar"_s));
    // The buttons along the bottom follow the edge.
    QCOMPARE(f.window->item(CPosModeWindow::LogoutItem)->bottom, available.height() - 20);
    QCOMPARE(f.window->item(CPosModeWindow::CloseItem)->left, available.width() - 72);
    QVERIFY(storedUsers(f).first().FullScreen);

    f.window.reset();
    f.window =
        std::make_unique<CPosModeWindow>(f.session, f.h.interaction, f.h.prompt, f.chooser, f.resources);
    f.window->show();
    QVERIFY(f.window->isFullScreenMode());
    QCOMPARE(f.window->geometry(), available);
    QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Restaurar"_s)));
    QTRY_VERIFY(!f.window->isFullScreenMode());
    QCOMPARE(f.window->geometry(), normal);
    QVERIFY(!storedUsers(f).first().FullScreen);
}

// With "MinimizeToTray" the close image hides the window to the tray (the
// balloon only the first time) and the program goes on.
void PosWindowTest::closeHidesToTheTray()
{
    PosFixture f;
    QVERIFY(f.open([](AppSettings &s) { s.MinimizeToTray = true; }));
    QVERIFY(f.window->tray());
    f.window->tray()->setAvailabilityCheck([] { return true; });
    f.window->tray()->setAnimationOverride(false);
    QSignalSpy quit(f.window.get(), &CPosModeWindow::quitRequested);
    QSignalSpy balloon(f.window->tray(), &CSystemTray::balloonShowing);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(pressAccessible(findAccessible(f.window.get(), QAccessible::Button, u"Fechar"_s)));
        QTRY_VERIFY(!f.window->isVisible());
        f.window->restore();
        QTRY_VERIFY(f.window->isVisible());
    }
    QCOMPARE(balloon.size(), 1);
    QCOMPARE(quit.size(), 0);
}

WIFITICKETER_TEST(PosWindowTest)
#include "poswindowtest.moc"
