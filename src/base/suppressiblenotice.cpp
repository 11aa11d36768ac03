#include "suppressiblenotice.h"

#include "regvalue.h"
#include "settingskey.h"

using namespace Qt::StringLiterals;

QString suppressionValueName(const QString &suppressionKey)
{
    return u"DontShowAgain"_s + suppressionKey;
}

void showSuppressibleNotice(const SettingsKey &key, OperatorInteraction &interaction, const QString &text,
                            const QString &title, MessageIcon icon, const QString &suppressionKey)
{
    const QString name = suppressionValueName(suppressionKey);
    if (const std::optional<RegKeyValues> values = key.read()) {
        const RegValue *value = findRegValue(*values, name);
        if (value && !value->data.isEmpty() && value->data.count('\0') != value->data.size())
            return;
    }
    if (interaction.showSuppressibleNotice(text, title, icon))
        key.write({{name, dwordValue(1)}});
}
