#include "routervalidation.h"

#include "controlcharacters.h"

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
    // `caption`: the dialog's label of the field, marked with QT_TRANSLATE_NOOP.
    // A tab or a line break would split the routers' listing and the lines the
    // router's words are shown on; the password may hold anything.
    const auto textProblem = [](const QString &text, RouterField field, const char *caption,
                                bool plain) -> std::optional<RouterProblem> {
        if (text.size() > RouterTextLength)
            return RouterProblem{field, tooLong(caption)};
        if (plain && hasControlCharacter(text))
            return RouterProblem{
                field, controlCharacterText(QCoreApplication::translate("RouterValidation", caption))};
        return std::nullopt;
    };
    if (router.Name.isEmpty())
        return RouterProblem{RouterField::Name, QCoreApplication::translate("RouterValidation",
                                                                            "Introduza o nome do roteador.")};
    if (auto problem = textProblem(router.Name, RouterField::Name,
                                   QT_TRANSLATE_NOOP("RouterValidation", "Nome router"), true))
        return problem;
    // Without an address or with a port the API cannot listen on, every
    // connection would fail later, far from where the mistake was made.
    if (router.Address.isEmpty())
        return RouterProblem{RouterField::Address,
                             QCoreApplication::translate("RouterValidation", "Introduza o IP do roteador.")};
    if (auto problem = textProblem(router.Address, RouterField::Address,
                                   QT_TRANSLATE_NOOP("RouterValidation", "IP do router"), true))
        return problem;
    if (!isValidPort(router.Port))
        return RouterProblem{RouterField::Port, QCoreApplication::translate(
                                                    "RouterValidation", "Introduza uma porta API correta.")};
    if (auto problem = textProblem(router.ApiUser, RouterField::ApiUser,
                                   QT_TRANSLATE_NOOP("RouterValidation", "Usuário API"), true))
        return problem;
    if (auto problem = textProblem(router.ApiPassword, RouterField::ApiPassword,
                                   QT_TRANSLATE_NOOP("RouterValidation", "Senha"), false))
        return problem;
    return textProblem(router.UserManagerAdmin, RouterField::UserManagerAdmin,
                       QT_TRANSLATE_NOOP("RouterValidation", "Admin do user-manager"), true);
}
