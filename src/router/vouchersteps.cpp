#include "vouchersteps.h"

#include "hotspotusers.h"
#include "routercommand.h"
#include "routerinfo.h"
#include "usermanagerprofilestep.h"
#include "vouchercontext.h"

#include "base/clock.h"
#include "base/crashpoint.h"
#include "base/operatorinteraction.h"
#include "config/appsettings.h"
#include "config/routerconfig.h"
#include "generation/credentials.h"
#include "generation/duration.h"
#include "generation/voucherjournal.h"
#include "generation/voucherprofile.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

// Adds of one hotspot voucher; a User Manager voucher gets as many per pass
// for a random name (one for a given name), in two passes.
constexpr int HotSpotAttempts = 10;
constexpr int UserManagerAttempts = 10;
constexpr int UserManagerPasses = 2;
// Looks at a new User Manager user, with a database rebuild between them.
constexpr int Looks = 2;

QStringList hotSpotAdd(const VoucherRecord &record, const HotSpotProfile &hotSpot, const QString &stamp)
{
    QStringList words = {u"/ip/hotspot/user/add"_s, u"=name="_s + record.UserName,
                         u"=password="_s + record.Password, u"=profile="_s + hotSpot.RouterProfile};
    if (!hotSpot.Server.isEmpty())
        words << u"=server="_s + hotSpot.Server;
    words << u"=comment="_s + stamp;
    if (hotSpot.LimitUptime != 0)
        words << u"=limit-uptime="_s + formatDuration(hotSpot.LimitUptime, true);
    if (!hotSpot.LimitBytesIn.isEmpty())
        words << u"=limit-bytes-in="_s + hotSpot.LimitBytesIn;
    if (!hotSpot.LimitBytesOut.isEmpty())
        words << u"=limit-bytes-out="_s + hotSpot.LimitBytesOut;
    if (!hotSpot.LimitBytesTotal.isEmpty())
        words << u"=limit-bytes-total="_s + hotSpot.LimitBytesTotal;
    return words;
}

QStringList userManagerAdd(const VoucherContext &context, const UserManagerCommands &commands,
                           const VoucherRecord &record, const VoucherProfile &profile)
{
    const RouterInfo &info = context.info;
    const bool below7 = !isRouterOs7(info);
    QStringList words = {commands.add, commands.nameAttribute + record.UserName,
                         u"=password="_s + record.Password};
    if (info.Major == 4)
        words << u"=subscriber="_s + info.Customer << u"=add-credit="_s + profile.Name;
    else if (below7)
        words << u"=customer="_s + info.Customer;
    if (below7) {
        const std::pair<QString, QString> personal[] = {
            {u"=first-name="_s, record.FirstName}, {u"=last-name="_s, record.LastName},
            {u"=phone="_s, record.Phone},          {u"=location="_s, record.Location},
            {u"=email="_s, record.Email},
        };
        for (const auto &[key, value] : personal) {
            if (!value.isEmpty())
                words << key + value;
        }
    }
    if (context.router.MacBinding)
        words << u"=caller-id=bind"_s;
    if (!record.Comment.isEmpty())
        words << u"=comment="_s + record.Comment;
    return words;
}

// The new user's id when the add was accepted (a "!done" carrying "=ret=");
// refusals leave their text in `error`.
std::optional<QString> addedId(const ApiReply &reply, QString &error)
{
    static const QByteArray ret = "=ret=";
    std::optional<QString> id;
    for (const ApiSentence &sentence : reply.sentences) {
        for (const QByteArray &word : sentence.words) {
            const qsizetype at = word.indexOf(ret);
            if (sentence.kind == ReplyKind::Done && at >= 0)
                id = QString::fromUtf8(word.sliced(at + ret.size()));
            else if (std::optional<QString> text = messageIn(word))
                error = routerMessage(*text);
        }
    }
    return id;
}

bool hasActualProfile(const ApiReply &reply, const QString &profileName)
{
    static const QByteArray key = "=actual-profile=";
    for (const ApiSentence &sentence : reply.sentences) {
        for (const QByteArray &word : sentence.words) {
            const qsizetype at = word.indexOf(key);
            if (at >= 0 &&
                QString::fromUtf8(word.sliced(at + key.size())).compare(profileName, Qt::CaseInsensitive) ==
                    0)
                return true;
        }
    }
    return false;
}

} // namespace

VoucherSteps::VoucherSteps(const VoucherContext &context, const VoucherProfile &profile,
                           VoucherRecord &record)
    : m_context(context), m_profile(profile), m_record(record), m_hotSpot(profile.HotSpot.has_value()),
      m_commands(userManagerCommands(context.info))
{
    if (m_hotSpot) {
        // A hotspot voucher's time runs from its first add, whatever names follow.
        setTimes();
        m_stamp = expiryStamp(m_record.Expires);
    }
    startAdd();
}

void VoucherSteps::setTimes()
{
    m_record.Created = m_context.clock.now();
    m_record.Expires =
        m_record.Created + (m_hotSpot ? m_profile.HotSpot->Validity : parseDuration(m_profile.Validity));
}

void VoucherSteps::startAdd()
{
    m_phase = Phase::Add;
    if (m_hotSpot) {
        m_command = hotSpotAdd(m_record, *m_profile.HotSpot, m_stamp);
    } else {
        setTimes();
        m_command = userManagerAdd(m_context, m_commands, m_record, m_profile);
    }
}

void VoucherSteps::nextName()
{
    const int attempts = m_hotSpot ? HotSpotAttempts : (m_record.RandomName ? UserManagerAttempts : 1);
    if (++m_attempt >= attempts) {
        if (m_hotSpot) {
            m_state = State::Failed;
            return;
        }
        passFailed();
        return;
    }
    // A refused random name is replaced; a given name stays.
    makeUserName(m_record, m_record.RandomName ? std::nullopt : std::optional<QString>(m_record.UserName),
                 m_context.settings);
    startAdd();
}

void VoucherSteps::passFailed()
{
    if (m_unanswered || ++m_pass >= UserManagerPasses) {
        m_state = State::Failed;
        return;
    }
    m_attempt = 0;
    makeUserName(m_record, m_record.RandomName ? std::nullopt : std::optional<QString>(m_record.UserName),
                 m_context.settings);
    startAdd();
}

void VoucherSteps::take(const ApiReply &reply)
{
    if (m_state != State::Sending)
        return;
    const bool replied = answered(reply);
    switch (m_phase) {
    case Phase::Add: {
        m_unanswered = !replied;
        m_routerId = addedId(reply, m_error);
        if (!m_routerId) {
            if (m_unanswered)
                m_state = State::Failed;
            else
                nextName();
        } else if (m_hotSpot) {
            m_phase = Phase::ReadBack;
            m_command = {u"/ip/hotspot/user/print"_s, u"?name="_s + m_record.UserName};
        } else {
            // The user is there but logs nobody in until its profile step.
            crashPoint("um-added");
            completeUserManager();
        }
        return;
    }
    case Phase::ReadBack:
        m_unanswered = !replied;
        if (findId(reply))
            made();
        else if (m_unanswered)
            m_state = State::Failed;
        else
            nextName();
        return;
    case Phase::Assign:
        m_unanswered = m_unanswered || !replied;
        if (profileStepAccepted(reply, m_error))
            made();
        else
            passFailed();
        return;
    case Phase::Activate:
        m_unanswered = m_unanswered || !replied;
        if (!profileStepAccepted(reply, m_error))
            passFailed();
        else if (!m_context.settings.VerifyCreatedUser)
            made();
        else
            verify();
        return;
    case Phase::Verify:
        m_unanswered = m_unanswered || !replied;
        lookedUp(m_context.info.Major == 4 ? findId(reply).has_value()
                                           : hasActualProfile(reply, m_profile.Name));
        return;
    case Phase::Rebuild:
        // The rebuild's own answer decides nothing; the next look does.
        ++m_look;
        verify();
        return;
    }
}

void VoucherSteps::completeUserManager()
{
    const RouterInfo &info = m_context.info;
    m_look = 0;
    if (info.Major == 4) {
        if (m_context.settings.VerifyCreatedUser)
            verify();
        else
            made();
    } else {
        m_phase = isRouterOs7(info) ? Phase::Assign : Phase::Activate;
        m_command =
            userManagerProfileStep(info, m_record.UserName, m_routerId.value_or(QString()), m_profile.Name);
    }
}

void VoucherSteps::verify()
{
    m_phase = Phase::Verify;
    if (m_context.info.Major == 4)
        m_command = {u"/tool/user-manager/user/print"_s, u"?name="_s + m_record.UserName};
    else
        m_command = {u"/tool/user-manager/user/print"_s, m_commands.nameQuery + m_record.UserName,
                     u"?customer="_s + m_context.info.Customer};
}

void VoucherSteps::lookedUp(bool found)
{
    if (found) {
        made();
    } else if (m_look + 1 < Looks) {
        m_phase = Phase::Rebuild;
        m_command = {u"/tool/user-manager/database/rebuild"_s};
    } else {
        passFailed();
    }
}

void VoucherSteps::made()
{
    // A User Manager voucher's time runs from its completion.
    if (!m_hotSpot)
        setTimes();
    m_state = State::Made;
}

QStringList VoucherSteps::removal() const
{
    return {m_hotSpot ? u"/ip/hotspot/user/remove"_s : m_commands.remove,
            u"=.id="_s + m_routerId.value_or(QString())};
}

QString VoucherSteps::failureMessage() const
{
    return QCoreApplication::translate("VoucherSteps", "Ocorreu um erro durante a criação do usuário.") +
           (m_error.isEmpty() ? QString() : u"\n"_s + m_error);
}

bool runVoucherSteps(const VoucherContext &context, const VoucherProfile &profile, VoucherRecord &record)
{
    VoucherSteps steps(context, profile, record);
    while (steps.state() == VoucherSteps::State::Sending) {
        // Written down before the router gets it, so it is recorded whatever
        // happens next.
        if (steps.commandIsAdd() && !context.journal.recordVoucher(record)) {
            removeVoucherRecord(context.batch, record);
            return false;
        }
        steps.take(runCommand(context.transport, steps.command()));
    }
    if (steps.state() == VoucherSteps::State::Made) {
        // Made: it stays in the batch even when it could not be recorded.
        context.journal.confirmVoucher(record);
        return true;
    }
    // Without the router's answer it is not known whether it holds the
    // voucher: the journal keeps it as unconfirmed, with its serial.
    if (!steps.unanswered())
        context.journal.withdrawVoucher(record);
    removeVoucherRecord(context.batch, record);
    context.interaction.showMessage(steps.failureMessage(), MessageIcon::Error);
    return false;
}
