#include "generationrun.h"

#include "generation/credentials.h"

#include "appstate.h"
#include "base/operatorinteraction.h"
#include "base/suppressiblenotice.h"
#include "history/inserthistory.h"
#include "router/hotspotusers.h"
#include "router/usermanagerusers.h"
#include "router/routersession.h"

using namespace Qt::StringLiterals;

bool runGeneration(AppState &state, OperatorInteraction &interaction, UserDataPrompt &prompt,
                   std::shared_ptr<const VoucherProfile> profile, quint32 count,
                   const std::optional<QString> &givenName)
{
    if (profile->HotSpot) {
        showSuppressibleNotice(state.settingsKey, interaction,
                               u"Vouchers criados como usuários HotSpot são ativados quando criados.\n"
                               u"O tempo de validação desses vouchers inicia agora."_s,
                               u"Atenção"_s, MessageIcon::Warning, u"{wifiTicketer}"_s);
    }
    WaitCursor wait(interaction);
    clearBatch(state.batch);

    if (state.currentRouter < 0 || state.currentRouter >= state.routers.size() ||
        !openSession(state.connection, state.routers[state.currentRouter], interaction)) {
        state.lastRunProfile.reset();
        return false;
    }
    seedRandom(generationSeed(state.clock->now(), state.clock->tickCount()));

    for (quint32 i = 0; i < count; ++i) {
        const bool created = profile->HotSpot
                                 ? createHotSpotVoucher(state, interaction, prompt, profile, givenName)
                                 : createUserManagerVoucher(state, interaction, prompt, profile, givenName);
        if (!created)
            break;
    }
    closeSession(state.connection);

    insertHistory(state, interaction);
    state.lastRunProfile = profile;
    saveValue(state.settingsKey, u"VoucherSerial"_s, dwordValue(state.settings.VoucherSerial));
    if (!state.batch.empty())
        state.posHistory.append({qint32(state.batch.size()), profile->Title, profile->Price});
    return true;
}
