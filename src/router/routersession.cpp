#include "routersession.h"

#include "base/operatorinteraction.h"
#include "config/routerconfig.h"
#include "routeros/session.h"

#include <QCoreApplication>

namespace {

// A router that cannot be reached, or that never answers, is named by its name.
void showUnreachable(const RouterConfig &router, OperatorInteraction &interaction)
{
    interaction.showMessage(
        QCoreApplication::translate(
            "RouterSession",
            "Ocorreu um erro ao conectar ao roteador Mikrotik %1.\nVerifique se digitou o IP e a "
            "porta API corretos.\n\nCertifique que o serviço API está habilitado no roteador.")
            .arg(router.Name),
        MessageIcon::Error);
}

} // namespace

bool openSession(ApiConnection &connection, const RouterConfig &router, OperatorInteraction &interaction)
{
    connection.transport = connectSocket(router.Address, portNumber(router.Port), apiTimeLimits());
    if (!connection.transport) {
        showUnreachable(router, interaction);
        return false;
    }
    const LoginResult result =
        login(*connection.transport, router.ApiUser.toUtf8(), router.ApiPassword.toUtf8());
    if (result == LoginResult::LoggedIn)
        return true;
    closeSession(connection);
    if (result == LoginResult::NoAnswer) {
        showUnreachable(router, interaction);
        return false;
    }
    interaction.showMessage(
        QCoreApplication::translate(
            "RouterSession",
            "Ocorreu um erro durante autentição no router %1 .\nVerifique o usuário e senha.")
            .arg(router.Address),
        MessageIcon::Error);
    return false;
}
