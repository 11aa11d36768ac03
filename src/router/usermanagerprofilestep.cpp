#include "usermanagerprofilestep.h"

#include "routercommand.h"
#include "routerinfo.h"
#include "usermanagercommands.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

bool hasUserManagerProfileStep(const RouterInfo &info)
{
    return info.Major != 4;
}

QStringList userManagerProfileStep(const RouterInfo &info, const QString &userName, const QString &userId,
                                   const QString &profileName)
{
    if (isRouterOs7(info))
        return {u"/user-manager/user-profile/add"_s, u"=user="_s + userName, u"=profile="_s + profileName};
    const QString who = activatesByUserName(info) ? u"=user="_s + userName : u"=numbers="_s + userId;
    return {u"/tool/user-manager/user/create-and-activate-profile"_s, who, u"=customer="_s + info.Customer,
            u"=profile="_s + profileName};
}

bool profileStepAccepted(const ApiReply &reply, QString &error)
{
    error.clear();
    bool done = false;
    bool refused = false;
    for (const ApiSentence &sentence : reply.sentences) {
        done = done || sentence.kind == ReplyKind::Done;
        for (const QByteArray &word : sentence.words) {
            if (std::optional<QString> text = messageIn(word)) {
                error = QCoreApplication::translate(
                            "UserManagerUsers",
                            "Não é possível atribuir perfil de usuário. Resposta do Router \"%1\".")
                            .arg(*text);
                refused = true;
            }
        }
    }
    return done && !refused;
}
