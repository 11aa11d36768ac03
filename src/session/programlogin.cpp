#include "programlogin.h"

#include "appstate.h"
#include "base/operatorinteraction.h"

#include <QCoreApplication>

bool checkProgramUser(AppState &state, const QString &name, const QString &password, bool needSettings,
                      OperatorInteraction &interaction)
{
    state.currentUser = -1;
    const qsizetype found = findUser(state.users, name, password);
    if (found < 0) {
        interaction.showMessage(
            QCoreApplication::translate("ProgramLogin", "Nome de usuário ou senha inválido.\n\nPor padrão os "
                                                        "campos Nome de usuário e senha são vazios."),
            MessageIcon::Error);
        return false;
    }
    if (needSettings && !state.users[found].SettingsAccess) {
        interaction.showMessage(
            QCoreApplication::translate(
                "ProgramLogin",
                "Este usuário não está autorizado para acessar as configurações.\n\nEntre em contato "
                "com o administrador para detalhes."),
            MessageIcon::Error);
        return false;
    }
    state.currentUser = found;
    return true;
}
