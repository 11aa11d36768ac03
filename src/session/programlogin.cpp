#include "programlogin.h"

#include "appstate.h"
#include "base/operatorinteraction.h"

using namespace Qt::StringLiterals;

bool checkProgramUser(AppState &state, const QString &name, const QString &password, bool needSettings,
                      OperatorInteraction &interaction)
{
    state.currentUser = -1;
    const qsizetype found = findUser(state.users, name, password);
    if (found < 0) {
        interaction.showMessage(
            u"Nome de usuário ou senha inválido.\n\nPor padrão os campos Nome de usuário e senha são vazios."_s,
            MessageIcon::Error);
        return false;
    }
    if (needSettings && !state.users[found].SettingsAccess) {
        interaction.showMessage(
            u"Este usuário não está autorizado para acessar as configurações.\n\nEntre em contato "
            "com o administrador para detalhes."_s,
            MessageIcon::Error);
        return false;
    }
    state.currentUser = found;
    return true;
}
