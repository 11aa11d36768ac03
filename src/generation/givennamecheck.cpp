#include "givennamecheck.h"

#include <QCoreApplication>

namespace {

bool isHidden(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

// Whether the text holds a control or format character, or half of a
// surrogate pair.
bool holdsHiddenCharacter(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        char32_t codePoint = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            codePoint = QChar::surrogateToUcs4(c, text[++i]);
        if (isHidden(codePoint))
            return true;
    }
    return false;
}

} // namespace

std::optional<QString> givenNameProblem(const QString &name, qsizetype maxLength)
{
    if (name.isEmpty())
        return QCoreApplication::translate("GivenName", "O nome de usuário não pode ficar em branco.");
    if (holdsHiddenCharacter(name))
        return QCoreApplication::translate("GivenName",
                                           "O nome de usuário não pode conter caracteres de controle.");
    if (name.size() > maxLength)
        return QCoreApplication::translate("GivenName", "O nome de usuário pode ter no máximo %1 caracteres.")
            .arg(maxLength);
    return std::nullopt;
}
