#include "controlcharacters.h"

#include <QCoreApplication>
#include <algorithm>

bool hasControlCharacter(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const QChar::Category category = c.category();
        return category == QChar::Other_Control || category == QChar::Separator_Line ||
               category == QChar::Separator_Paragraph;
    });
}

QString controlCharacterText(const QString &field)
{
    return QCoreApplication::translate("ControlCharacters",
                                       "O campo \"%1\" não pode conter tabulações, quebras de linha nem "
                                       "outros caracteres de controle.")
        .arg(field);
}
