#include "accessiblesearch.h"
#include "generatorfixture.h"
#include "recordbuilders.h"
#include "testmain.h"

#include "base/regvalue.h"
#include "design/designmapfile.h"
#include "ui/framework/ceditcombo.h"
#include "ui/tray/csystemtray.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QTreeView>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

const QString Hidden = u"●●●●●●"_s;
const QString Balloon = u"wifiTicketer está rodando em background.\n"
                        u"Clique no ícone da barra de tarefas para exibir."_s;

// A DWORD of the settings key, or nothing when it was never written.
std::optional<quint32> storedDWord(const AppState &state, const QString &name)
{
    const std::optional<RegKeyValues> values = state.settingsKey.read();
    const RegValue *value = values ? findRegValue(*values, name) : nullptr;
    if (!value || value->data.size() < 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(value->data.constData());
}

// The map file of the router "Sim" as it is on disk now.
QList<DesignMapEntry> designMapOnDisk(const RouterHarness &h)
{
    QList<DesignMapEntry> entries;
    QFile file(designMapFile(h.folder.dataFolder(), u"Sim"_s));
    if (file.open(QIODevice::ReadOnly))
        readDesignMap(file, entries);
    return entries;
}

QStringList rowTexts(const QAbstractItemModel *model, int row)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->index(row, column).data().toString();
    return texts;
}

QStringList headerTexts(const QAbstractItemModel *model)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString();
    return texts;
}

QImage iconImage(const QVariant &decoration)
{
    return decoration.value<QIcon>().pixmap(18, 18).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage listImage(const UiResources &resources, int index)
{
    return resources.listImage(index).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The colour of a field where no text is: right, left of a drop-down strip.
QColor fieldBackground(QWidget *field)
{
    const QImage image = field->grab().toImage();
    return image.pixelColor(image.width() - 26, image.height() / 2);
}

QAction *menuAction(const CSystemTray &tray, const QString &text)
{
    for (QAction *action : tray.menu()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Holds a run on its own thread once `at` vouchers are made, until released.
class RunGate
{
public:
    RunGate(SessionFacade &session, quint32 at)
    {
        QObject::connect(
            &session, &SessionFacade::generationProgress, &m_context,
            [this, at](quint32 made, quint32) {
                // A pipelined run reports its vouchers a group at a time.
                if (made >= at && !m_held) {
                    m_held = true;
                    m_open.tryAcquire(1, 20000);
                }
            },
            Qt::DirectConnection);
    }
    ~RunGate() { release(); }
    void release()
    {
        if (!m_released)
            m_open.release();
        m_released = true;
    }

private:
    QObject m_context;
    QSemaphore m_open;
    bool m_released = false;
    bool m_held = false; // touched on the run's thread only
};

} // namespace

class GeneratorWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithTheProfilesAndNothingChosen();
    void modes_data();
    void modes();
    void randomCountOfNothingDoesNothing_data();
    void randomCountOfNothingDoesNothing();
    void countBeyondTheMaximumIsRefused_data();
    void countBeyondTheMaximumIsRefused();
    void runListsItsVouchers();
    void passwordsShownOnDemand();
    void manualName_data();
    void manualName();
    void cancelledPromptLeavesTwo();
    void stopAfterTheThirdOfTen();
    void automaticPrinting_data();
    void automaticPrinting();
    void printedWithTheProfilesDesign();
    void designComboRules();
    void profileRebuildForgetsTheLastRun();
    void autoPrintStoredOnlyWhenChanged_data();
    void autoPrintStoredOnlyWhenChanged();
    void closeWithoutTrayEnds();
    void closeMinimisesWithoutNotificationArea();
    void hidesToTrayAndBack();
    void leavingWaitsForTheRun_data();
    void leavingWaitsForTheRun();
};

// The profiles with their symbols and designs; nothing chosen, so nothing can
// be made or printed, and the design list is shut until a profile is chosen.
void GeneratorWindowTest::startsWithTheProfilesAndNothingChosen()
{
    GeneratorFixture f;
    // A profile without a design prints with the first of the list.
    f.dayProfile->Design = nullptr;
    QVERIFY(f.open());

    QCOMPARE(f.window->windowTitle(), u"wifiTicketer - Sim (127.0.0.1)"_s);
    const QAbstractItemModel *profiles = f.profileList()->model();
    QCOMPARE(headerTexts(profiles), (QStringList{u"Nome"_s, u"Validade"_s, u"Design"_s}));
    QCOMPARE(profiles->rowCount(), 2);
    QCOMPARE(rowTexts(profiles, 0), (QStringList{u"1 Hora"_s, u"1 Hora"_s, u"Cartão B"_s}));
    QCOMPARE(rowTexts(profiles, 1), (QStringList{u"1 Dia"_s, u"1 Dia"_s, u"Padrão"_s}));
    QCOMPARE(f.dayProfile->Design, f.standard);
    QVERIFY(listImage(f.resources, 4) != listImage(f.resources, 5));
    QCOMPARE(iconImage(profiles->index(0, 0).data(Qt::DecorationRole)), listImage(f.resources, 5));
    QCOMPARE(iconImage(profiles->index(1, 0).data(Qt::DecorationRole)), listImage(f.resources, 4));

    QCOMPARE(headerTexts(f.voucherList()->model()),
             (QStringList{u"Nome do usuário"_s, u"Senha"_s, u"Contador (código do voucher)"_s, u"Perfil"_s,
                          u"Preço"_s}));
    QCOMPARE(f.voucherList()->model()->rowCount(), 0);

    QComboBox *designs = f.designCombo();
    QCOMPARE(designs->count(), 3);
    QCOMPARE(designs->itemText(0), u"Padrão"_s);
    QCOMPARE(designs->itemText(1), u"Cartão B"_s);
    QCOMPARE(designs->itemText(2), u"Cartão C"_s);
    QCOMPARE(designs->currentIndex(), -1);
    QVERIFY(!designs->isEnabled());
    QVERIFY(!f.button(u"generateButton"_s)->isEnabled());
    QVERIFY(!f.button(u"printButton"_s)->isEnabled());
    QVERIFY(f.button(u"posButton"_s)->isEnabled());
    QVERIFY(f.button(u"generateButton"_s)->isDefault());
    QVERIFY(!f.checkBox(u"showPasswords"_s)->isChecked());

    // Choosing a profile shows its design.
    f.selectProfile(0);
    QVERIFY(f.button(u"generateButton"_s)->isEnabled());
    QVERIFY(designs->isEnabled());
    QCOMPARE(designs->currentText(), u"Cartão B"_s);
    f.selectProfile(1);
    QCOMPARE(designs->currentText(), u"Padrão"_s);
    QVERIFY(f.h.sent().isEmpty());
}

void GeneratorWindowTest::modes_data()
{
    QTest::addColumn<bool>("random");
    QTest::addColumn<bool>("userDatabase");
    QTest::addRow("random names") << true << false;
    QTest::addRow("random names, with the username database") << true << true;
    QTest::addRow("names typed") << false << false;
    QTest::addRow("names from the username database") << false << true;
}

// Random names take a count, digits only; otherwise a name, typed or from the
// username database. The check box turns one into the other.
void GeneratorWindowTest::modes()
{
    QFETCH(bool, random);
    QFETCH(bool, userDatabase);
    GeneratorFixture f;
    QVERIFY(f.open([&](AppSettings &s) {
        s.CreateRandomUserName = random;
        s.UseUserDatabase = userDatabase;
    }));

    const auto check = [&](bool randomMode) {
        QCOMPARE(f.checkBox(u"randomName"_s)->isChecked(), randomMode);
        const bool combo = !randomMode && userDatabase;
        QCOMPARE(f.input()->isVisible(), !combo);
        QCOMPARE(f.userNameCombo()->isVisible(), combo);
        // Fields are painted on light yellow.
        QCOMPARE(fieldBackground(combo ? static_cast<QWidget *>(f.userNameCombo()) : f.input()),
                 QColor(255, 255, 232));
        // A screen reader finds the field shown by its label.
        QVERIFY(findAccessible(f.window.get(), QAccessible::EditableText,
                               randomMode ? u"Número de vouchers"_s : u"Nome do Usuário"_s));
        if (randomMode) {
            QCOMPARE(f.inputLabel()->text(), u"Número de vouchers"_s);
            QCOMPARE(f.input()->text(), u"1"_s);
            f.typeInput(u"2x5"_s);
            QCOMPARE(f.input()->text(), u"25"_s);
        } else {
            QCOMPARE(f.inputLabel()->text(), u"Nome do Usuário"_s);
            if (!combo)
                QCOMPARE(f.input()->text(), QString());
            f.typeInput(u"ana 2"_s);
            QCOMPARE(combo ? f.userNameCombo()->text() : f.input()->text(), u"ana 2"_s);
        }
    };
    check(random);
    QTest::mouseClick(f.checkBox(u"randomName"_s), Qt::LeftButton);
    check(!random);
    QTest::mouseClick(f.checkBox(u"randomName"_s), Qt::LeftButton);
    check(random);
}

void GeneratorWindowTest::randomCountOfNothingDoesNothing_data()
{
    QTest::addColumn<QString>("count");
    QTest::addRow("zero") << u"0"_s;
    QTest::addRow("zeros") << u"000"_s;
    QTest::addRow("empty") << QString();
}

// No run, no question, not a word to the router.
void GeneratorWindowTest::randomCountOfNothingDoesNothing()
{
    QFETCH(QString, count);
    GeneratorFixture f;
    QVERIFY(f.open());
    f.selectProfile(0);
    f.typeInput(count);
    QCOMPARE(f.input()->text(), count);
    f.clickGenerate();

    QVERIFY(!f.session.isGenerating());
    QVERIFY(!f.progress());
    QTest::qWait(50);
    QCOMPARE(f.finished.size(), 0);
    QVERIFY(f.h.interaction.events.isEmpty());
    QCOMPARE(f.h.interaction.waitsBegun, 0);
    QVERIFY(f.h.sent().isEmpty());
}

void GeneratorWindowTest::countBeyondTheMaximumIsRefused_data()
{
    QTest::addColumn<QString>("count");
    QTest::addRow("one above the maximum") << u"10001"_s;
    // 2^32 and 2^32 + 1 would wrap round to 0 and 1.
    QTest::addRow("2^32") << u"4294967296"_s;
    QTest::addRow("2^32 + 1") << u"4294967297"_s;
    QTest::addRow("beyond 64 bits") << u"99999999999999999999999"_s;
}

// The operator is told, and nothing is made.
void GeneratorWindowTest::countBeyondTheMaximumIsRefused()
{
    QFETCH(QString, count);
    GeneratorFixture f;
    QVERIFY(f.open());
    f.selectProfile(0);
    f.typeInput(count);
    f.clickGenerate();

    QVERIFY(!f.session.isGenerating());
    QCOMPARE(f.h.interaction.events.size(), 1);
    QCOMPARE(f.h.interaction.events[0].kind, ScriptedInteraction::Kind::Message);
    QCOMPARE(f.h.interaction.events[0].text, u"Não é possível gerar mais de 10000 vouchers de uma vez."_s);
    QCOMPARE(f.h.interaction.events[0].icon, MessageIcon::Warning);
    QTest::qWait(50);
    QCOMPARE(f.finished.size(), 0);
    QVERIFY(f.h.sent().isEmpty());
}

// Enter makes the vouchers; the list shows them with their symbol, hidden
// passwords, nine-digit serials, profile and price, and the design of the
// profile they were made with.
void GeneratorWindowTest::runListsItsVouchers()
{
    GeneratorFixture f;
    QVERIFY(f.open([](AppSettings &s) { s.AutoPrint = false; }));
    f.selectProfile(0);
    f.typeInput(u"2"_s);
    QTest::keyClick(f.input(), Qt::Key_Return);
    QVERIFY(f.waitForRuns(1));
    QCOMPARE(f.finished.first().first().toBool(), true);

    const QStringList made = f.batchNames();
    QCOMPARE(made.size(), 2);
    QCOMPARE(f.routerHotSpotUsers(), made);
    const QAbstractItemModel *vouchers = f.voucherList()->model();
    QCOMPARE(vouchers->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        const VoucherRecord &record = f.h.state.batch[size_t(row)];
        QCOMPARE(rowTexts(vouchers, row),
                 (QStringList{made[row], Hidden, row == 0 ? u"000000041"_s : u"000000042"_s, u"1 Hora"_s,
                              u"R$ 3,00"_s}));
        QCOMPARE(f.voucherCell(row, 1, Qt::ToolTipRole), u"Senha: "_s + record.Password);
        QVERIFY(!record.Password.isEmpty());
        QCOMPARE(iconImage(vouchers->index(row, 0).data(Qt::DecorationRole)), listImage(f.resources, 5));
    }
    QVERIFY(f.button(u"printButton"_s)->isEnabled());
    QVERIFY(f.designCombo()->isEnabled());
    QCOMPARE(f.designCombo()->currentText(), u"Cartão B"_s);
    QVERIFY(f.button(u"generateButton"_s)->isEnabled());
    QCOMPARE(f.chooser.asked, 0);
    QCOMPARE(f.h.interaction.waitDepth, 0);
}

// The passwords come and go in the list; the vouchers themselves stay as made.
void GeneratorWindowTest::passwordsShownOnDemand()
{
    GeneratorFixture f;
    QVERIFY(f.open([](AppSettings &s) { s.AutoPrint = false; }));
    f.selectProfile(0);
    f.typeInput(u"2"_s);
    f.clickGenerate();
    QVERIFY(f.waitForRuns(1));
    const QString first = f.h.state.batch[0].Password;
    const QString second = f.h.state.batch[1].Password;
    QCOMPARE(f.h.router().state().hotspotUsers[0].password, first);
    QCOMPARE(f.h.router().state().hotspotUsers[1].password, second);

    QCheckBox *show = f.checkBox(u"showPasswords"_s);
    QTest::mouseClick(show, Qt::LeftButton);
    QCOMPARE(f.voucherCell(0, 1), first);
    QCOMPARE(f.voucherCell(1, 1), second);
    QTest::mouseClick(show, Qt::LeftButton);
    QCOMPARE(f.voucherCell(0, 1), Hidden);
    QCOMPARE(f.voucherCell(1, 1), Hidden);
    QCOMPARE(f.voucherCell(1, 1, Qt::ToolTipRole), u"Senha: "_s + second);
    QCOMPARE(f.h.state.batch[0].Password, first);
    QCOMPARE(f.h.state.batch[1].Password, second);
}

void GeneratorWindowTest::manualName_data()
{
    QTest::addColumn<bool>("userDatabase");
    QTest::addColumn<bool>("queryPassword");
    QTest::addColumn<bool>("queryUserData");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QString>("message");

    QTest::addRow("empty name") << false << false << false << QString() << false << QStringList()
                                << QString();
    // The prompt asks for the name.
    QTest::addRow("empty name, prompt for the user data")
        << false << false << true << QString() << true << QStringList{u"visitante"_s} << QString();
    QTest::addRow("typed name") << false << false << false << u"joana"_s << true << QStringList{u"joana"_s}
                                << QString();
    QTest::addRow("prefix of a database name")
        << true << false << false << u"an"_s << false << QStringList() << QString();
    // The typed spelling is kept.
    QTest::addRow("database name in other case")
        << true << false << false << u"ANA"_s << true << QStringList{u"ANA"_s} << QString();
    QTest::addRow("prefix, prompt for the password")
        << true << true << false << u"an"_s << true << QStringList{u"an"_s} << QString();
}

// A name given by hand makes one voucher of that name; without a name (or a
// database name) only the prompt could supply one.
void GeneratorWindowTest::manualName()
{
    QFETCH(bool, userDatabase);
    QFETCH(bool, queryPassword);
    QFETCH(bool, queryUserData);
    QFETCH(QString, typed);
    QFETCH(bool, runs);
    QFETCH(QStringList, made);
    QFETCH(QString, message);
    GeneratorFixture f;
    QVERIFY(f.open([&](AppSettings &s) {
        s.CreateRandomUserName = false;
        s.UseUserDatabase = userDatabase;
        s.QueryPassword = queryPassword;
        s.QueryUserData = queryUserData;
        s.AutoPrint = false;
    }));
    f.h.prompt.then([](VoucherRecord &record) {
        record.Password = u"segredo"_s;
        if (record.UserName.isEmpty())
            record.UserName = u"visitante"_s;
        return true;
    });
    f.selectProfile(0);
    f.typeInput(typed);
    f.clickGenerate();

    if (!runs) {
        QVERIFY(!f.session.isGenerating());
        QTest::qWait(50);
        QCOMPARE(f.finished.size(), 0);
        QVERIFY(f.h.interaction.events.isEmpty());
        QVERIFY(f.h.sent().isEmpty());
        return;
    }
    QVERIFY(f.waitForRuns(1));
    QCOMPARE(f.batchNames(), made);
    QCOMPARE(f.routerHotSpotUsers(), made);
    QCOMPARE(f.h.sent().isEmpty(), made.isEmpty());
    if (!message.isEmpty())
        QVERIFY2(f.h.interaction.texts().contains(message), qPrintable(f.h.interaction.texts().join(u" | ")));
    if (queryPassword) {
        QCOMPARE(f.h.prompt.shown.size(), 1);
        QCOMPARE(f.h.prompt.shown[0].UserName, typed);
        QCOMPARE(f.h.state.batch[0].Password, u"segredo"_s);
    }
    // The field is ready for the next name.
    QCOMPARE(f.input()->text(), QString());
    QCOMPARE(f.userNameCombo()->text(), QString());
}

// Cancelling the prompt of the third voucher of five ends the run with two.
void GeneratorWindowTest::cancelledPromptLeavesTwo()
{
    GeneratorFixture f;
    QVERIFY(f.open([](AppSettings &s) {
        s.QueryUserData = true;
        s.AutoPrint = false;
    }));
    for (bool confirm : {true, true, false})
        f.h.prompt.then([confirm](VoucherRecord &) { return confirm; });
    f.selectProfile(0);
    f.typeInput(u"5"_s);
    f.clickGenerate();
    QVERIFY(f.waitForRuns(1));

    QCOMPARE(f.h.prompt.shown.size(), 3);
    const QStringList made = f.batchNames();
    QCOMPARE(made.size(), 2);
    QCOMPARE(f.voucherList()->model()->rowCount(), 2);
    QCOMPARE(f.voucherCell(1, 0), made[1]);
    QCOMPARE(f.routerHotSpotUsers(), made);
    QCOMPARE(f.h.historyOfToday().size(), 2);
}

// The progress window counts the vouchers; its "Cancelar" after the third of
// ten ends the run there, with three made and listed. The window answers all
// along.
void GeneratorWindowTest::stopAfterTheThirdOfTen()
{
    GeneratorFixture f;
    // One voucher at a time, so the stop falls between two of them.
    QVERIFY(f.open([](AppSettings &s) {
        s.AutoPrint = false;
        s.PipelinedGeneration = false;
    }));
    RunGate gate(f.session, 3);
    f.selectProfile(0);
    f.typeInput(u"10"_s);
    f.clickGenerate();
    QVERIFY(f.session.isGenerating());
    QVERIFY(!f.button(u"generateButton"_s)->isEnabled());

    QTRY_VERIFY(f.progress() && f.progress()->isVisible());
    QProgressDialog *progress = f.progress();
    QTRY_COMPARE(progress->labelText(), u"3 de 10"_s);
    QCOMPARE(progress->value(), 3);
    QCOMPARE(progress->maximum(), 10);
    QPushButton *cancel = progress->findChild<QPushButton *>();
    QVERIFY(cancel);
    QCOMPARE(cancel->text(), u"Cancelar"_s);
    QTest::mouseClick(cancel, Qt::LeftButton);
    gate.release();
    QVERIFY(f.waitForRuns(1));

    const QStringList made = f.batchNames();
    QCOMPARE(made.size(), 3);
    QCOMPARE(f.routerHotSpotUsers(), made);
    QCOMPARE(f.voucherList()->model()->rowCount(), 3);
    QCOMPARE(f.voucherCell(2, 2), u"000000043"_s);
    QCOMPARE(f.h.historyOfToday().size(), 3);
    QVERIFY(f.button(u"generateButton"_s)->isEnabled());
}

void GeneratorWindowTest::automaticPrinting_data()
{
    QTest::addColumn<bool>("autoPrint");
    QTest::addColumn<bool>("cancelFirstPrompt");
    QTest::addColumn<int>("made");
    QTest::addColumn<int>("asked");
    QTest::addRow("on") << true << false << 3 << 1;
    QTest::addRow("off") << false << false << 3 << 0;
    QTest::addRow("on, nothing made") << true << true << 0 << 0;
}

// After a run that made vouchers, with "Impressão Automática" on, the print
// job starts and asks for the printer (the designs name none); the print
// button does the same at any time there is something to print.
void GeneratorWindowTest::automaticPrinting()
{
    QFETCH(bool, autoPrint);
    QFETCH(bool, cancelFirstPrompt);
    QFETCH(int, made);
    QFETCH(int, asked);
    GeneratorFixture f;
    QVERIFY(f.open([&](AppSettings &s) {
        s.AutoPrint = autoPrint;
        s.QueryUserData = cancelFirstPrompt;
    }));
    QCOMPARE(f.checkBox(u"autoPrint"_s)->isChecked(), autoPrint);
    f.selectProfile(0);
    f.typeInput(u"3"_s);
    f.clickGenerate();
    QVERIFY(f.waitForRuns(1));
    QCOMPARE(int(f.h.state.batch.size()), made);
    QCOMPARE(f.chooser.asked, asked);
    // Cancelling the printer choice is not a failure to report.
    for (const ScriptedInteraction::Event &event : f.h.interaction.events)
        QCOMPARE_NE(event.kind, ScriptedInteraction::Kind::Message);

    QPushButton *print = f.button(u"printButton"_s);
    QCOMPARE(print->isEnabled(), made > 0);
    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(f.chooser.asked, made > 0 ? asked + 1 : asked);
}

// Through a real print queue (WIFITICKETER_TEST_PRINT_QUEUE, a cups-pdf queue
// writing into WIFITICKETER_TEST_PRINT_OUTPUT): the three vouchers of the run
// come out with the profile's design.
void GeneratorWindowTest::printedWithTheProfilesDesign()
{
    const PrintQueue queue = testPrintQueue();
    if (queue.name.isEmpty())
        QSKIP("WIFITICKETER_TEST_PRINT_QUEUE names no print queue (scripts/start-cups.sh sets one up)");
    QVERIFY2(QDir(queue.output).exists(), "WIFITICKETER_TEST_PRINT_OUTPUT must name the queue's output folder");
    const QStringList before = printedFiles(queue);

    GeneratorFixture f;
    f.chooser.answer = queue.name;
    QVERIFY(f.open());
    f.selectProfile(0);
    f.typeInput(u"3"_s);
    f.clickGenerate();
    QVERIFY(f.waitForRuns(1));
    QCOMPARE(f.chooser.asked, 1);
    const QStringList made = f.batchNames();
    QCOMPARE(made.size(), 3);

    const QString text = waitForPrintedText(queue, before, made[0]);
    QVERIFY2(!text.isEmpty(), "no PDF with the vouchers appeared within 60 s");
    for (const QString &name : made)
        QVERIFY2(text.contains(u"B:"_s + name), qPrintable(text));
    QVERIFY(!text.contains(u"C:"_s));
    QVERIFY(!text.contains(u"Nome do Usuário"_s));
}

// Before a run the design list follows the chosen profile and a design picked
// goes to it; after a run it shows the run's design, stays when another
// profile is chosen, and a design picked goes to the run's profile. The map
// file holds the choices by the time the window asks to be replaced.
void GeneratorWindowTest::designComboRules()
{
    GeneratorFixture f;
    QVERIFY(f.open([](AppSettings &s) { s.AutoPrint = false; }));
    QComboBox *designs = f.designCombo();
    const QAbstractItemModel *profiles = f.profileList()->model();

    f.selectProfile(1);
    QCOMPARE(designs->currentText(), u"Padrão"_s);
    QTest::keyClick(designs, Qt::Key_Down);
    QCOMPARE(designs->currentText(), u"Cartão B"_s);
    QCOMPARE(f.dayProfile->Design, f.cardB);
    QCOMPARE(f.hourProfile->Design, f.cardB);
    QCOMPARE(profiles->index(1, 2).data().toString(), u"Cartão B"_s);
    QTest::keyClick(designs, Qt::Key_Up);
    QCOMPARE(f.dayProfile->Design, f.standard);

    f.selectProfile(0);
    f.typeInput(u"1"_s);
    f.clickGenerate();
    QVERIFY(f.waitForRuns(1));
    QCOMPARE(designs->currentText(), u"Cartão B"_s);
    f.selectProfile(1);
    QCOMPARE(designs->currentText(), u"Cartão B"_s);
    QVERIFY(designs->isEnabled());

    QTest::keyClick(designs, Qt::Key_Down);
    QCOMPARE(designs->currentText(), u"Cartão C"_s);
    QCOMPARE(f.hourProfile->Design, f.cardC);
    QCOMPARE(f.dayProfile->Design, f.standard);
    QCOMPARE(profiles->index(0, 2).data().toString(), u"Cartão C"_s);
    QCOMPARE(profiles->index(1, 2).data().toString(), u"Padrão"_s);

    QList<DesignMapEntry> atSwitch;
    bool routerCurrent = false;
    connect(f.window.get(), &CGeneratorDialog::logoutRequested, this, [&] {
        atSwitch = designMapOnDisk(f.h);
        routerCurrent = f.h.state.currentRouter() != nullptr;
    });
    QTest::mouseClick(f.button(u"logoutButton"_s), Qt::LeftButton);
    QVERIFY(routerCurrent);
    QCOMPARE(atSwitch,
             (QList<DesignMapEntry>{{true, u"1 Hora"_s, u"Cartão C"_s}, {false, u"1 Dia"_s, u"Padrão"_s}}));
}

// A new profile list (a new session on the router) comes without the last
// run: its vouchers leave the list, and a design picked goes to the profile
// chosen in the new list, not to the old run's profile.
void GeneratorWindowTest::profileRebuildForgetsTheLastRun()
{
    GeneratorFixture f;
    QVERIFY(f.open([](AppSettings &s) { s.AutoPrint = false; }));
    QAbstractItemModelTester profileTester(f.profileList()->model(),
                                           QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester voucherTester(f.voucherList()->model(),
                                           QAbstractItemModelTester::FailureReportingMode::QtTest);
    f.selectProfile(0);
    f.typeInput(u"2"_s);
    f.clickGenerate();
    QVERIFY(f.waitForRuns(1));
    QTest::mouseClick(f.checkBox(u"showPasswords"_s), Qt::LeftButton);
    QCOMPARE(f.h.state.lastRunProfile.get(), f.hourProfile.get());

    // The simulated router sells the User Manager profiles "1dia" and "7dias".
    QVERIFY(f.session.startRouterSession());
    QVERIFY(!f.h.state.lastRunProfile);
    const QAbstractItemModel *profiles = f.profileList()->model();
    QCOMPARE(profiles->rowCount(), 2);
    QCOMPARE(rowTexts(profiles, 0).first(), u"1dia"_s);
    QCOMPARE(rowTexts(profiles, 1).first(), u"7dias"_s);
    QCOMPARE(rowTexts(profiles, 1).last(), u"Padrão"_s);
    QCOMPARE(f.voucherList()->model()->rowCount(), 0);
    QVERIFY(!f.button(u"printButton"_s)->isEnabled());
    QVERIFY(!f.button(u"generateButton"_s)->isEnabled());
    QVERIFY(!f.designCombo()->isEnabled());

    f.selectProfile(1);
    QTest::keyClick(f.designCombo(), Qt::Key_Down);
    QTest::keyClick(f.designCombo(), Qt::Key_Down);
    QCOMPARE(f.designCombo()->currentText(), u"Cartão C"_s);
    QCOMPARE(f.h.state.profiles[1]->Design, f.cardC);
    QCOMPARE(rowTexts(profiles, 1).last(), u"Cartão C"_s);
    QCOMPARE(f.h.state.profiles[0]->Design, f.standard);
    QCOMPARE(f.hourProfile->Design, f.cardB);
}

void GeneratorWindowTest::autoPrintStoredOnlyWhenChanged_data()
{
    QTest::addColumn<bool>("initially");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("stored"); // -1: not written
    QTest::addRow("left alone") << true << 0 << -1;
    QTest::addRow("turned off") << true << 1 << 0;
    QTest::addRow("turned off and on again") << true << 2 << -1;
    QTest::addRow("turned on") << false << 1 << 1;
}

// "AutoPrint" is written when the window is left with its box changed, and
// only then.
void GeneratorWindowTest::autoPrintStoredOnlyWhenChanged()
{
    QFETCH(bool, initially);
    QFETCH(int, clicks);
    QFETCH(int, stored);
    GeneratorFixture f;
    QVERIFY(f.open([&](AppSettings &s) { s.AutoPrint = initially; }));
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(f.checkBox(u"autoPrint"_s), Qt::LeftButton);
    QVERIFY(!storedDWord(f.h.state, u"AutoPrint"_s));
    QSignalSpy logout(f.window.get(), &CGeneratorDialog::logoutRequested);
    QTest::mouseClick(f.button(u"logoutButton"_s), Qt::LeftButton);
    QCOMPARE(logout.size(), 1);

    const std::optional<quint32> value = storedDWord(f.h.state, u"AutoPrint"_s);
    QCOMPARE(value.has_value(), stored >= 0);
    if (value)
        QCOMPARE(int(*value), stored);
    QCOMPARE(f.h.state.settings.AutoPrint, clicks % 2 == 1 ? !initially : initially);
}

// Without the tray, closing ends the program, with the choices kept.
void GeneratorWindowTest::closeWithoutTrayEnds()
{
    GeneratorFixture f;
    QVERIFY(f.open([](AppSettings &s) { s.MinimizeToTray = false; }));
    QVERIFY(!f.window->tray());
    QSignalSpy quit(f.window.get(), &CGeneratorDialog::quitRequested);
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QCOMPARE(quit.size(), 1);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(designMapOnDisk(f.h).size(), 2);
}

// Where the desktop has no notification area (offscreen has none), closing
// minimises the window rather than hiding it where nobody could reach it.
void GeneratorWindowTest::closeMinimisesWithoutNotificationArea()
{
    GeneratorFixture f;
    QVERIFY(f.open());
    CSystemTray *tray = f.window->tray();
    QVERIFY(tray);
    QVERIFY(!tray->isAvailable());
    QSignalSpy quit(f.window.get(), &CGeneratorDialog::quitRequested);
    QSignalSpy balloon(tray, &CSystemTray::balloonShowing);

    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QVERIFY(f.window->isVisible());
    QVERIFY(f.window->isMinimized());
    QCOMPARE(balloon.size(), 0);
    QCOMPARE(quit.size(), 0);

    menuAction(*tray, u"Exibir wifiTicketer"_s)->trigger();
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.window->isMinimized());
    f.window->close();
    QVERIFY(f.window->isMinimized());
    QCOMPARE(quit.size(), 0);
}

// With a notification area: closing hides the window there, the balloon says
// so the first time only, a click on the icon brings it back, and the menu's
// "Fechar wifiTicketer" ends the program.
void GeneratorWindowTest::hidesToTrayAndBack()
{
    GeneratorFixture f;
    QVERIFY(f.open());
    CSystemTray *tray = f.window->tray();
    QVERIFY(tray);
    tray->setAvailabilityCheck([] { return true; });
    QSignalSpy quit(f.window.get(), &CGeneratorDialog::quitRequested);
    QSignalSpy balloon(tray, &CSystemTray::balloonShowing);

    f.window->close();
    QVERIFY(!f.window->isVisible());
    QCOMPARE(balloon.size(), 1);
    QCOMPARE(balloon[0][0].toString(), u"wifiTicketer"_s);
    QCOMPARE(balloon[0][1].toString(), Balloon);

    Q_EMIT tray->icon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(f.window->isVisible());
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(balloon.size(), 1);
    menuAction(*tray, u"Exibir wifiTicketer"_s)->trigger();
    QVERIFY(f.window->isVisible());
    QCOMPARE(quit.size(), 0);

    menuAction(*tray, u"Fechar wifiTicketer"_s)->trigger();
    QCOMPARE(quit.size(), 1);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(designMapOnDisk(f.h).size(), 2);
}

void GeneratorWindowTest::leavingWaitsForTheRun_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("tray menu Fechar") << u"quit"_s;
    QTest::addRow("Sair") << u"logout"_s;
    QTest::addRow("close box, to the tray") << u"close"_s;
}

// Leaving while vouchers are being made waits for the run to end, then happens.
void GeneratorWindowTest::leavingWaitsForTheRun()
{
    QFETCH(QString, how);
    GeneratorFixture f;
    QVERIFY(f.open([](AppSettings &s) { s.AutoPrint = false; }));
    f.window->tray()->setAvailabilityCheck([] { return true; });
    QSignalSpy quit(f.window.get(), &CGeneratorDialog::quitRequested);
    QSignalSpy logout(f.window.get(), &CGeneratorDialog::logoutRequested);
    RunGate gate(f.session, 1);
    f.selectProfile(0);
    f.typeInput(u"2"_s);
    f.clickGenerate();
    QVERIFY(f.session.isGenerating());

    if (how == u"quit")
        menuAction(*f.window->tray(), u"Fechar wifiTicketer"_s)->trigger();
    else if (how == u"logout")
        f.button(u"logoutButton"_s)->click();
    else
        f.window->close();
    QTest::qWait(100);
    QVERIFY(f.session.isGenerating());
    QCOMPARE(quit.size() + logout.size(), 0);
    QVERIFY(f.window->isVisible());

    gate.release();
    QVERIFY(f.waitForRuns(1));
    QCOMPARE(f.batchNames().size(), 2);
    if (how == u"close") {
        QTRY_VERIFY(!f.window->isVisible());
        QCOMPARE(quit.size() + logout.size(), 0);
    } else {
        QTRY_COMPARE((how == u"quit" ? quit : logout).size(), 1);
        QCOMPARE((how == u"quit" ? logout : quit).size(), 0);
    }
}

WIFITICKETER_TEST(GeneratorWindowTest)
#include "generatorwindowtest.moc"
