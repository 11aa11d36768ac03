#include "hotspotprofilevalidation.h"

#include "controlcharacters.h"

#include "base/pricetext.h"

#include <QCoreApplication>

namespace {

// `caption`: the editor's label of the field, marked with QT_TRANSLATE_NOOP.
QString tooLong(const char *caption)
{
    return QCoreApplication::translate("HotSpotProfileValidation",
                                       "O campo \"%1\" aceita no máximo %2 caracteres.")
        .arg(QCoreApplication::translate("HotSpotProfileValidation", caption))
        .arg(HotSpotProfileTextLength);
}

} // namespace

std::optional<HotSpotProfileProblem> applyHotSpotProfileInput(HotSpotProfile &profile,
                                                              const HotSpotProfileInput &input)
{
    HotSpotProfile edited = profile;
    const HotSpotProfileProblem noValidity{
        HotSpotProfileField::Validity,
        QCoreApplication::translate("HotSpotProfileValidation", "Introduza um período de validade correta.")};
    if (input.validity) {
        if (!input.validity->seconds)
            return noValidity;
        if (*input.validity->seconds > HotSpotProfileMaxDuration)
            return HotSpotProfileProblem{
                HotSpotProfileField::Validity,
                QCoreApplication::translate("HotSpotProfileValidation",
                                            "O período de validade pode ser de no máximo 10 anos.")};
        edited.Validity = *input.validity->seconds;
    }
    // Vouchers of no validity would expire as soon as they were made.
    if (edited.Validity <= 0)
        return noValidity;
    if (input.limitUptime) {
        const std::optional<qint64> &seconds = input.limitUptime->seconds;
        if (!seconds || *seconds < 0)
            return HotSpotProfileProblem{
                HotSpotProfileField::LimitUptime,
                QCoreApplication::translate("HotSpotProfileValidation",
                                            "Introduza um limite de tempo de conexão correto, ou deixe-o "
                                            "vazio para não limitar.")};
        if (*seconds > HotSpotProfileMaxDuration)
            return HotSpotProfileProblem{
                HotSpotProfileField::LimitUptime,
                QCoreApplication::translate("HotSpotProfileValidation",
                                            "O limite de tempo de conexão pode ser de no máximo 10 anos.")};
        edited.LimitUptime = *seconds;
    }
    if (input.price) {
        // A price that cannot be read is not taken as some other price.
        const std::optional<qint32> price = readPriceText(*input.price);
        if (!price)
            return HotSpotProfileProblem{
                HotSpotProfileField::Price,
                QCoreApplication::translate("HotSpotProfileValidation", "Introduza um preço correto.")};
        edited.Price = *price;
    }
    const struct
    {
        const std::optional<QString> &typed;
        QString &field;
        HotSpotProfileField which;
        const char *caption;
    } texts[] = {
        {input.name, edited.Name, HotSpotProfileField::Name,
         QT_TRANSLATE_NOOP("HotSpotProfileValidation", "Nome do perfil")},
        {input.server, edited.Server, HotSpotProfileField::Server,
         QT_TRANSLATE_NOOP("HotSpotProfileValidation", "Servidor Hotspot")},
        {input.routerProfile, edited.RouterProfile, HotSpotProfileField::RouterProfile,
         QT_TRANSLATE_NOOP("HotSpotProfileValidation", "Perfil de usuário Mikrotik")},
        {input.limitBytesIn, edited.LimitBytesIn, HotSpotProfileField::LimitBytesIn,
         QT_TRANSLATE_NOOP("HotSpotProfileValidation", "Limite bytes entrada")},
        {input.limitBytesOut, edited.LimitBytesOut, HotSpotProfileField::LimitBytesOut,
         QT_TRANSLATE_NOOP("HotSpotProfileValidation", "Limite bytes saída")},
        {input.limitBytesTotal, edited.LimitBytesTotal, HotSpotProfileField::LimitBytesTotal,
         QT_TRANSLATE_NOOP("HotSpotProfileValidation", "Limite total bytes")},
    };
    for (const auto &text : texts) {
        if (text.typed)
            text.field = *text.typed;
        // The file would cut a longer text without the operator noticing.
        if (text.field.size() > HotSpotProfileTextLength)
            return HotSpotProfileProblem{text.which, tooLong(text.caption)};
        // A tab or a line break would split the profiles' listing, and the
        // router would get it in its words.
        if (hasControlCharacter(text.field))
            return HotSpotProfileProblem{text.which, controlCharacterText(QCoreApplication::translate(
                                                         "HotSpotProfileValidation", text.caption))};
    }
    profile = edited;
    return std::nullopt;
}
