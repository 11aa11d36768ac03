#include "hotspotprofilevalidation.h"

#include "base/pricetext.h"

#include <QCoreApplication>
#include <algorithm>

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
    if (input.validity)
        edited.Validity = *input.validity;
    // Vouchers of no validity would expire as soon as they were made.
    if (edited.Validity <= 0)
        return HotSpotProfileProblem{
            HotSpotProfileField::Validity,
            QCoreApplication::translate("HotSpotProfileValidation",
                                        "Introduza um período de validade correta.")};
    if (input.price) {
        // A price that cannot be read is not taken as some other price.
        const std::optional<qint32> price = readPriceText(*input.price);
        if (!price)
            return HotSpotProfileProblem{
                HotSpotProfileField::Price,
                QCoreApplication::translate("HotSpotProfileValidation", "Introduza um preço correto.")};
        edited.Price = *price;
    }
    if (input.limitUptime)
        edited.LimitUptime = std::max<qint64>(*input.limitUptime, 0);
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
    }
    profile = edited;
    return std::nullopt;
}
