// wifiticketer-screenshots DIR: draws every window in its typical states from
// made-up data, offscreen, into PNG files of DIR, for reviewing the windows
// without a display or a router.

#include "base/unattendedinteraction.h"
#include "design/printjob.h"
#include "design/voucherdesign.h"
#include "generation/userdataprompt.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "history/openhistory.h"
#include "history/pendingjournal.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/ceditcombo.h"
#include "ui/framework/csymboledit.h"
#include "ui/framework/filechooser.h"
#include "ui/framework/uiresources.h"
#include "ui/generator/cgeneratordialog.h"
#include "ui/login/cmikrotikapidlg.h"
#include "ui/pos/ckeypad.h"
#include "ui/pos/cposmodewindow.h"
#include "ui/setup/cfontselectdialog.h"
#include "ui/setup/chotspotprofiledialog.h"
#include "ui/setup/crouterdialog.h"
#include "ui/setup/csetuptabdialog.h"
#include "ui/setup/cusereditdialog.h"
#include "ui/userdata/cuserdatabasedlg.h"
#include "ui/userdata/cuserdatadlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Neither prompts nor printers are used while windows are only drawn.
class NoPrompt : public UserDataPrompt
{
public:
    bool askUserData(VoucherRecord &) override { return false; }
};

class NoPrinter : public PrinterChooser
{
public:
    std::optional<QString> choosePrinter(QPrinter &) override { return std::nullopt; }
};

// The window as it shows, with the popups open over it (menus, suggestion
// lists, the counter's keypad), which are windows of their own.
bool save(QWidget &window, const QDir &dir, const QString &name)
{
    window.show();
    QCoreApplication::processEvents();
    const QPoint origin = window.geometry().topLeft();
    QRect area(QPoint(0, 0), window.size());
    QList<QWidget *> popups;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        const bool popup = (top->windowFlags() & Qt::Popup) == Qt::Popup ||
                           (top->windowType() == Qt::Tool && top->parentWidget() == &window);
        if (top != &window && top->isVisible() && popup) {
            popups.append(top);
            area |= top->geometry().translated(-origin);
        }
    }
    QPixmap canvas(area.size());
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.drawPixmap(-area.topLeft(), window.grab());
    for (QWidget *popup : popups)
        painter.drawPixmap(popup->geometry().topLeft() - origin - area.topLeft(), popup->grab());
    painter.end();
    const QString file = dir.filePath(name + QStringLiteral(".png"));
    const bool saved = canvas.save(file);
    QTextStream(stdout) << file << (saved ? "" : " (failed)") << '\n';
    return saved;
}

// Sales of a shift at the counter, oldest first.
void fillSales(PosHistory &sales, const ProfileList &profiles, int count)
{
    sales.clear();
    for (int i = 0; i < count; ++i) {
        const VoucherProfile &profile = *profiles[(i * 3) % profiles.size()];
        sales.append({1 + (i * 7) % 5, profile.Title, profile.Price});
    }
}

// The profiles of a hotel or café: hotspot ones and User Manager ones, by
// validity.
ProfileList counterProfiles(int count, const PriceFormat &price, const VoucherDesign *design)
{
    struct Made
    {
        const char *title;
        qint64 validity;
        qint32 price;
        bool hotSpot;
    };
    static const Made made[] = {
        {"1 Hora", 3600, 500, true},
        {"2 Horas", 7200, 800, true},
        {"3 Horas", 10800, 1000, false},
        {"6 Horas", 21600, 1500, true},
        {"1 Dia", 86400, 2000, false},
        {"Hóspede 1 noite", 86400, 0, true},
        {"2 Dias", 172800, 3500, true},
        {"Fim de semana", 259200, 4500, false},
        {"Hóspede 3 noites", 259200, 0, true},
        {"1 Semana", 604800, 8000, false},
        {"Evento do salão", 604800, 1200, true},
        {"15 Dias", 1296000, 14000, false},
        {"1 Mês", 2592000, 25000, false},
        {"1 Mês empresa", 2592000, 40000, true},
        {"Temporada", 7776000, 60000, false},
    };
    ProfileList profiles;
    for (int i = 0; i < count; ++i) {
        HotSpotProfile hotSpot;
        hotSpot.Name = QString::fromUtf8(made[i].title);
        hotSpot.Validity = made[i].validity;
        hotSpot.Price = made[i].price;
        hotSpot.RouterProfile = QStringLiteral("default");
        std::shared_ptr<VoucherProfile> profile = makeVoucherProfile(hotSpot, price);
        if (!made[i].hotSpot)
            profile->HotSpot.reset();
        profile->Design = design;
        profiles.append(profile);
    }
    return profiles;
}

} // namespace

int main(int argc, char *argv[])
{
    // The offscreen platform's notes (no raise, no keyboard grab) say nothing
    // about the pictures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            QTextStream(stderr) << message << '\n';
    });
    // A throwaway installation: nothing of the user's is read or written.
    QTemporaryDir scratch;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // A screen of 1920 × 1080, so the counter window opens at its usual
        // size and full screen fills a common counter display.
        QFile screen(scratch.filePath(QStringLiteral("screen.json")));
        if (screen.open(QIODevice::WriteOnly))
            screen.write(R"({"screens": [{"name": "counter", "x": 0, "y": 0, "width": 1920, "height": 1080,
                "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screen.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: wifiticketer-screenshots DIR\n";
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        QTextStream(stderr) << "wifiticketer-screenshots: cannot make " << dir.path() << '\n';
        return 1;
    }
    AppState state(
        {scratch.filePath(QStringLiteral("settings.reg")), scratch.filePath(QStringLiteral("data"))});
    for (const auto &[name, address] :
         {std::pair{QStringLiteral("Café Central"), QStringLiteral("192.168.88.1")},
          std::pair{QStringLiteral("Pousada Mar Azul"), QStringLiteral("10.0.0.1")}}) {
        RouterConfig &router = state.routers.emplace_back();
        router.Name = name;
        router.Address = address;
    }
    UnattendedInteraction nobody;
    SessionFacade session(state, nobody);
    UiResources resources;
    loadUiResources(resources);

    bool ok = true;
    {
        // An installation that has been set up: the setup does not open by itself.
        state.settings.SettingsPresent = true;
        CMikrotikAPIDlg login(session, nobody, resources, true);
        ok = save(login, dir, QStringLiteral("login-empty")) && ok;
        login.userEdit()->setText(QStringLiteral("caixa"));
        login.passwordEdit()->setText(QStringLiteral("1234"));
        login.passwordEdit()->setFocus();
        ok = save(login, dir, QStringLiteral("login-filled")) && ok;
        SkinItem &selector = *login.item(CMikrotikAPIDlg::RouterSelectorItem);
        login.pressItem(selector);
        QCoreApplication::processEvents();
        ok = save(login, dir, QStringLiteral("login-router-menu")) && ok;
        selector.menu->close();
    }

    // The generator after a run of three vouchers of "1 Hora".
    state.defaultDesign = makeDefaultDesign();
    state.designs = {std::make_shared<VoucherDesign>(state.defaultDesign)};
    const PriceFormat price{QStringLiteral("R$ %c"), {QStringLiteral(","), QStringLiteral(".")}};
    state.profiles = {makeVoucherProfile(QStringLiteral("1hora"), 500, QStringLiteral("1h"), price),
                      makeVoucherProfile(QStringLiteral("1dia"), 1500, QStringLiteral("1d"), price),
                      makeVoucherProfile(QStringLiteral("7dias"), 5000, QStringLiteral("7d"), price)};
    for (const auto &profile : state.profiles)
        profile->Design = state.designs.front().get();
    state.currentRouterIndex = 0;
    const QStringList names = {QStringLiteral("usrh8emv0"), QStringLiteral("usr3kx9pq"),
                               QStringLiteral("usrm2b7tw")};
    for (qsizetype i = 0; i < names.size(); ++i) {
        VoucherRecord &record = newVoucherRecord(state.batch, state.profiles.front());
        record.UserName = names[i];
        record.Password = QStringLiteral("e6u7%1d").arg(i);
        record.Serial = quint32(41 + i);
        record.RandomName = true;
    }
    state.lastRunProfile = state.profiles.front();
    state.settings.MinimizeToTray = false;
    NoPrompt prompt;
    NoPrinter printer;
    {
        CGeneratorDialog generator(session, nobody, prompt, printer, resources);
        ok = save(generator, dir, QStringLiteral("generator-batch")) && ok;
        QProgressDialog progress(QObject::tr("%1 de %2").arg(3).arg(10), QObject::tr("Cancelar"), 0, 10,
                                 &generator);
        progress.setWindowTitle(QStringLiteral("wifiTicketer"));
        progress.setValue(3);
        ok = save(progress, dir, QStringLiteral("generator-progress")) && ok;
    }

    // The user-data prompt with the suggestions of the username database.
    const QStringList userNames = {QStringLiteral("ana"), QStringLiteral("Ana Paula"),
                                   QStringLiteral("andre"), QStringLiteral("bruno"), QStringLiteral("carla")};
    {
        AppSettings settings;
        settings.UseUserDatabase = true;
        settings.QueryUserData = true;
        VoucherRecord record;
        record.Password = QStringLiteral("7k2m9q");
        CUserDataDlg dialog(record, settings, userNames);
        ok = save(dialog, dir, QStringLiteral("userdata-prompt")) && ok;
        if (auto *combo = dialog.findChild<CEditCombo *>()) {
            combo->setText(QStringLiteral("an"));
            combo->openList();
        }
        ok = save(dialog, dir, QStringLiteral("userdata-prompt-suggestions")) && ok;
    }
    {
        CUserDatabaseDlg database(userNames, nobody);
        ok = save(database, dir, QStringLiteral("username-database")) && ok;
    }

    // The setup window's two pages, and the dialogs they open.
    state.users = {{QStringLiteral("dono"), QString(), true, false, false},
                   {QStringLiteral("caixa"), QString(), false, true, false},
                   {QString(), QString(), false, false, false}};
    HotSpotProfile hour;
    hour.Name = QStringLiteral("1 Hora");
    hour.Validity = 86400;
    hour.LimitUptime = 3600;
    hour.RouterProfile = QStringLiteral("default");
    hour.Price = 500;
    HotSpotProfile day = hour;
    day.Name = QStringLiteral("1 Dia");
    day.LimitUptime = 86400;
    day.Validity = 2 * 86400;
    day.Price = 1500;
    state.hotSpotProfiles = {hour, day};
    // Twenty vouchers of today in the history, one of them removed from its
    // router.
    {
        HistoryDatabase history;
        if (openHistory(history, historyPlace(state))) {
            const QDateTime today(QDate::currentDate(), QTime(8, 0));
            QList<HistoryRow> rows;
            for (int i = 0; i < 20; ++i) {
                HistoryRow &row = rows.emplace_back();
                const bool day = i % 3 == 0;
                row.UserName =
                    (i == 4 ? QStringLiteral("|") : QString()) + QStringLiteral("usr%1k").arg(i + 10);
                row.Password = QStringLiteral("e6u%1d").arg(i * 7 % 100, 2, 10, QChar(u'0'));
                row.Profile =
                    QStringLiteral("!#") + (day ? QStringLiteral("1 Dia") : QStringLiteral("1 Hora"));
                row.Router = state.routers[i % 2].Name;
                row.Created = today.addSecs(i * 1537);
                row.Generator = i % 4 == 0 ? QStringLiteral("dono") : QStringLiteral("caixa");
                row.Validity = day ? QStringLiteral("2d") : QStringLiteral("1d");
                row.Price = day ? 1500 : 500;
                row.Serial = quint32(101 + i);
            }
            storeHistoryRows(history.connection(), rows);
        }
        // Two vouchers of a run that was cut off, one of them of a router
        // that is no longer configured: the page says they wait.
        PendingJournal journal(state.paths.dataFolder);
        QList<JournalEntry> entries;
        for (int i = 0; i < 2; ++i) {
            JournalEntry &entry = entries.emplace_back();
            entry.row.UserName = QStringLiteral("usr%1p").arg(i);
            entry.row.Profile = QStringLiteral("!#1 Hora");
            entry.row.Router = i == 0 ? state.routers[0].Name : QStringLiteral("Quiosque");
            entry.row.Created = QDateTime(QDate::currentDate(), QTime(14, 0));
            entry.row.Price = 500;
            entry.row.Serial = quint32(121 + i);
            entry.routerAt = i == 0 ? state.routers[0].Address + u':' + state.routers[0].Port
                                    : QStringLiteral("10.1.1.1:8728");
        }
        journal.record(entries);
    }
    {
        DialogFileChooser files;
        CSetupTabDialog setup(session, nobody, resources, {printer, files}, false);
        ok = save(setup, dir, QStringLiteral("setup-general")) && ok;
        setup.selectTab(1);
        ok = save(setup, dir, QStringLiteral("setup-routers")) && ok;
        setup.selectTab(2);
        ok = save(setup, dir, QStringLiteral("setup-designs")) && ok;
        setup.selectTab(3);
        for (QPushButton *button : setup.findChildren<QPushButton *>())
            if (button->text() == QObject::tr("Iniciar Pesquisa"))
                button->click();
        ok = save(setup, dir, QStringLiteral("setup-history")) && ok;
    }
    {
        CFontSelectDialog fonts(QString(), {QStringLiteral("Carlito"), 24, true, false});
        ok = save(fonts, dir, QStringLiteral("font-dialog")) && ok;
    }
    {
        CUserEditDialog editor(QStringLiteral("dono"), QString(), true, nobody);
        ok = save(editor, dir, QStringLiteral("user-editor")) && ok;
    }
    {
        RouterConfig router = state.routers.front();
        router.ApiUser = QStringLiteral("admin");
        CRouterDialog dialog(router, 600, session, nobody);
        ok = save(dialog, dir, QStringLiteral("router-dialog")) && ok;
    }
    {
        const HotSpotNames names{{QStringLiteral("default"), QStringLiteral("1hora"), QStringLiteral("1dia")},
                                 {QStringLiteral("hotspot1")}};
        CHotSpotProfileDialog dialog(hour, names, {QStringLiteral(","), QStringLiteral(".")}, nobody);
        ok = save(dialog, dir, QStringLiteral("profile-editor")) && ok;
    }

    // The counter window with 5 and 15 profiles and 20 sales, at its usual
    // size and full screen, and its keypad counting and taking a name.
    AppUser counterUser;
    counterUser.Name = QStringLiteral("balcao");
    counterUser.PosMode = true;
    state.users = {counterUser};
    state.currentUser = 0;
    state.settings.UseCurrency = QStringLiteral("R$ %c");
    state.separators = {QStringLiteral(","), QStringLiteral(".")};
    for (int count : {5, 15}) {
        state.profiles = counterProfiles(count, price, state.designs.front().get());
        fillSales(state.posHistory, state.profiles, 20);
        CPosModeWindow pos(session, nobody, prompt, printer, resources);
        const QString size = QStringLiteral("pos-%1-profiles").arg(count);
        ok = save(pos, dir, size + QStringLiteral("-1200x700")) && ok;
        if (count == 5) {
            for (bool names : {false, true}) {
                state.settings.CreateRandomUserName = !names;
                pos.pressItem(*pos.profileButtons()[2]);
                QCoreApplication::processEvents();
                if (CKeyPad *keypad = pos.keypad()) {
                    for (int key : names ? QList<int>{CKeyPad::Clear} : QList<int>{2, 5})
                        keypad->pressKey(key);
                    if (names) {
                        for (QChar c : QStringLiteral("ana12"))
                            QCoreApplication::postEvent(
                                keypad, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, c));
                        QCoreApplication::processEvents();
                    }
                }
                ok = save(pos, dir,
                          names ? QStringLiteral("pos-keypad-name") : QStringLiteral("pos-keypad-count")) &&
                     ok;
                if (CKeyPad *keypad = pos.keypad())
                    keypad->pressKey(CKeyPad::Escape);
                QCoreApplication::processEvents();
            }
            state.settings.CreateRandomUserName = true;
        }
        pos.pressItem(*pos.item(CPosModeWindow::FullScreenItem));
        QCoreApplication::processEvents();
        ok = save(pos, dir, size + QStringLiteral("-1920x1080")) && ok;
        // Back to the usual size for the next user of this made-up state.
        pos.pressItem(*pos.item(CPosModeWindow::FullScreenItem));
        QCoreApplication::processEvents();
    }
    return ok ? 0 : 1;
}
