#include "routervalidation.h"

#include <QCoreApplication>

namespace {

// `caption`: the dialog's label of the field, marked with QT_TRANSLATE_NOOP.
QString tooLong(const char *caption)
{
    return QCoreApplication::translate("RouterValidation", "O campo \"%1\" aceita no máximo %2 caracteres.")
        .arg(QCoreApplication::translate("RouterValidation", caption))
        .arg(RouterTextLength);
}

} // namespace

bool isValidPort(const QString &text)
{
    if (text.isEmpty())
        return false;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 65535)
            return false;
    }
    return value > 0;
}

std::optional<RouterProblem> routerProblem(const RouterConfig &router)
{
    if (router.Name.isEmpty())
        return RouterProblem{RouterField::Name, QCoreApplication::translate("RouterValidation",
                                                                            "Introduza o nome do roteador.")};
    if (router.Name.size() > RouterTextLength)
        return RouterProblem{RouterField::Name,
                             tooLong(QT_TRANSLATE_NOOP("RouterValidation", "Nome router"))};
    // Without an address or with a port the API cannot listen on, every
    // connection would fail later, far from where the mistake was made.
    if (router.Address.isEmpty())
        return RouterProblem{RouterField::Address,
                             QCoreApplication::translate("RouterValidation", "Introduza o IP do roteador.")};
    if (router.Address.size() > RouterTextLength)
        return RouterProblem{RouterField::Address,
                             tooLong(QT_TRANSLATE_NOOP("RouterValidation", "IP do router"))};
    if (!isValidPort(router.Port))
        return RouterProblem{RouterField::Port, QCoreApplication::translate(
                                                    "RouterValidation", "Introduza uma porta API correta.")};
    if (router.ApiUser.size() > RouterTextLength)
        return RouterProblem{RouterField::ApiUser,
                             tooLong(QT_TRANSLATE_NOOP("RouterValidation", "Usuário API"))};
    if (router.ApiPassword.size() > RouterTextLength)
        return RouterProblem{RouterField::ApiPassword,
                             tooLong(QT_TRANSLATE_NOOP("RouterValidation", "Senha"))};
    if (router.UserManagerAdmin.size() > RouterTextLength)
        return RouterProblem{RouterField::UserManagerAdmin,
                             tooLong(QT_TRANSLATE_NOOP("RouterValidation", "Admin do user-manager"))};
    return std::nullopt;
}
