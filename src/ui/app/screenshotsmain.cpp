// wifiticketer-screenshots DIR: draws every window in its typical states from
// made-up data, offscreen, into PNG files of DIR, for reviewing the windows
// without a display or a router.

#include "base/unattendedinteraction.h"
#include "design/printjob.h"
#include "design/voucherdesign.h"
#include "generation/userdataprompt.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/ceditcombo.h"
#include "ui/framework/csymboledit.h"
#include "ui/framework/uiresources.h"
#include "ui/generator/cgeneratordialog.h"
#include "ui/login/cmikrotikapidlg.h"
#include "ui/userdata/cuserdatabasedlg.h"
#include "ui/userdata/cuserdatadlg.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QProgressDialog>
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
// lists), which are windows of their own.
bool save(QWidget &window, const QDir &dir, const QString &name)
{
    window.show();
    QCoreApplication::processEvents();
    const QPoint origin = window.geometry().topLeft();
    QRect area(QPoint(0, 0), window.size());
    QList<QWidget *> popups;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top != &window && top->isVisible() && (top->windowFlags() & Qt::Popup) == Qt::Popup) {
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

} // namespace

int main(int argc, char *argv[])
{
    // The offscreen platform's notes (no raise, no keyboard grab) say nothing
    // about the pictures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            QTextStream(stderr) << message << '\n';
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    // A throwaway installation: nothing of the user's is read or written.
    QTemporaryDir scratch;
    AppState state(
        {scratch.filePath(QStringLiteral("settings.reg")), scratch.filePath(QStringLiteral("data"))});
    state.routers = {{QStringLiteral("Café Central"), QStringLiteral("192.168.88.1")},
                     {QStringLiteral("Pousada Mar Azul"), QStringLiteral("10.0.0.1")}};
    UnattendedInteraction nobody;
    SessionFacade session(state, nobody);
    UiResources resources;
    loadUiResources(resources);

    bool ok = true;
    {
        CMikrotikAPIDlg login(session, nobody, resources);
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
    return ok ? 0 : 1;
}
