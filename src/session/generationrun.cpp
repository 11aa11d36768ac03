#include "generationrun.h"

#include "appstate.h"

#include "base/operatorinteraction.h"
#include "base/settingskey.h"
#include "base/suppressiblenotice.h"
#include "generation/credentials.h"
#include "generation/voucherprofile.h"
#include "router/hotspotusers.h"
#include "router/routersession.h"
#include "router/usermanagerusers.h"
#include "router/vouchercontext.h"
#include "routeros/session.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

GenerationOutcome generateVouchers(const GenerationInput &input, const GenerationRequest &request,
                                   OperatorInteraction &interaction, UserDataPrompt &prompt,
                                   GenerationControl &control)
{
    const std::shared_ptr<const VoucherProfile> &profile = request.profile;
    GenerationOutcome outcome;
    outcome.voucherSerial = input.settings.VoucherSerial;
    outcome.historyWarningShown = input.historyWarningShown;
    if (profile->HotSpot) {
        showSuppressibleNotice(SettingsKey(input.settingsFile), interaction,
                               QCoreApplication::translate(
                                   "GenerationRun",
                                   "Vouchers criados como usuários HotSpot são ativados quando criados.\n"
                                   "O tempo de validação desses vouchers inicia agora."),
                               QCoreApplication::translate("GenerationRun", "Atenção"), MessageIcon::Warning,
                               u"{wifiTicketer}"_s);
    }
    WaitCursor wait(interaction);

    ApiConnection connection;
    if (!input.router || !openSession(connection, *input.router, interaction))
        return outcome;
    outcome.sessionOpened = true;
    seedRandom(generationSeed(input.clock->now(), input.clock->tickCount()));

    AppSettings settings = input.settings;
    const VoucherContext context{
        *connection.transport, *input.router,   input.routerInfo, settings, outcome.batch,
        *input.clock,          input.generator, interaction,      prompt};
    for (quint32 made = 0; made < request.count && !control.stopRequested(); ++made) {
        const bool created = profile->HotSpot ? createHotSpotVoucher(context, profile, request.givenName)
                                              : createUserManagerVoucher(context, profile, request.givenName);
        if (!created)
            break;
        if (control.progress)
            control.progress(made + 1, request.count);
    }
    closeSession(connection);

    insertHistory(outcome.batch, input.router->Name, input.historyPlace, outcome.historyWarningShown,
                  interaction);
    outcome.voucherSerial = settings.VoucherSerial;
    saveValue(SettingsKey(input.settingsFile), u"VoucherSerial"_s, dwordValue(settings.VoucherSerial));
    if (!outcome.batch.empty() && input.recordSale)
        input.recordSale({qint32(outcome.batch.size()), profile->Title, profile->Price});
    return outcome;
}

GenerationInput generationInput(AppState &state)
{
    GenerationInput input;
    if (const RouterConfig *router = state.currentRouter())
        input.router = *router;
    input.routerInfo = state.routerInfo;
    input.settings = state.settings;
    input.settingsFile = state.settingsKey.filePath();
    input.generator = currentUserName(state);
    input.historyPlace = historyPlace(state);
    input.historyWarningShown = state.historyWarningShown;
    input.clock = state.clock;
    input.recordSale = [&state](const PosHistoryEntry &sale) { state.posHistory.append(sale); };
    return input;
}

void applyGenerationOutcome(AppState &state, GenerationOutcome outcome, const GenerationRequest &request)
{
    state.batch = std::move(outcome.batch);
    state.settings.VoucherSerial = outcome.voucherSerial;
    state.historyWarningShown = outcome.historyWarningShown;
    if (outcome.sessionOpened)
        state.lastRunProfile = request.profile;
    else
        state.lastRunProfile.reset();
}

bool runGeneration(AppState &state, OperatorInteraction &interaction, UserDataPrompt &prompt,
                   const GenerationRequest &request, GenerationControl *control)
{
    // The vouchers of the previous run go before anything is made.
    clearBatch(state.batch);
    GenerationControl uncontrolled;
    GenerationOutcome outcome = generateVouchers(generationInput(state), request, interaction, prompt,
                                                 control ? *control : uncontrolled);
    const bool opened = outcome.sessionOpened;
    applyGenerationOutcome(state, std::move(outcome), request);
    return opened;
}
