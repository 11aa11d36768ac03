#include "routerharness.h"

#include "recordbuilders.h"

#include "history/historydatabase.h"
#include "history/historystore.h"
#include "router/routersession.h"
#include "routeros/session.h"

#include <QTcpServer>

using namespace Qt::StringLiterals;

RouterHarness::RouterHarness(const routersim::RouterState &router,
                             const routersim::RouterBehaviour &behaviour)
    : state(folder.storagePaths()), m_router(router, behaviour), m_server(m_router)
{
    state.clock = &clock;
    state.users = {{u"caixa"_s, QString(), false, false, false}};
    state.currentUser = 0;
    // The port is the server's, known once it listens.
    state.routers = {loopbackRouter(u"Sim"_s, 0)};
    state.currentRouterIndex = 0;
}

bool RouterHarness::start()
{
    if (!m_server.start(0))
        return false;
    state.routers = {state.routers.value(0)};
    state.routers[0].Port = QString::number(m_server.port());
    state.currentRouterIndex = 0;
    return true;
}

bool RouterHarness::openSession()
{
    return ::openSession(connection, *state.currentRouter(), interaction);
}

void RouterHarness::closeSession()
{
    ::closeSession(connection);
}

VoucherContext RouterHarness::voucherContext()
{
    return {*connection.transport,
            *state.currentRouter(),
            state.routerInfo,
            state.settings,
            state.batch,
            clock,
            currentUserName(state),
            interaction,
            prompt,
            journal};
}

QList<QStringList> RouterHarness::sent() const
{
    QList<QStringList> out;
    for (const routersim::LoggedSentence &logged : m_router.log()) {
        QStringList words;
        for (const QByteArray &word : logged.words)
            words.append(QString::fromUtf8(word));
        out.append(words);
    }
    return out;
}

QList<QStringList> RouterHarness::commands() const
{
    QList<QStringList> out;
    for (const QStringList &words : sent()) {
        if (!words.isEmpty() && words.first() != u"/login" && words.first() != u"/quit")
            out.append(words);
    }
    return out;
}

QList<HistoryRow> RouterHarness::historyOfToday() const
{
    const QDate today = QDateTime::fromSecsSinceEpoch(clock.now()).date();
    HistoryDatabase history;
    std::optional<QList<HistoryRow>> rows;
    if (openHistory(history, historyPlace(state)))
        rows = findHistoryRows(history.connection(), {today, today, {}, {}});
    if (!rows) {
        HistoryRow unreachable;
        unreachable.UserName = u"<unreachable>"_s;
        return {unreachable};
    }
    return *rows;
}

std::shared_ptr<VoucherProfile> userManagerProfile(const QString &name, const QString &validity)
{
    return makeVoucherProfile(name, 500, validity, PriceFormat{u"%c"_s, {}});
}

std::shared_ptr<VoucherProfile> hotSpotProfile(const HotSpotProfile &hotSpot)
{
    return makeVoucherProfile(hotSpot, PriceFormat{u"%c"_s, {}});
}

RouterConfig unreachableRouter(const QString &name)
{
    // A port that was just free: nothing listens on it once the server closes.
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return loopbackRouter(name, server.serverPort());
}
