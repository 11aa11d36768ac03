#include "pipelinedvouchers.h"

#include "routercommand.h"
#include "vouchercontext.h"
#include "vouchersteps.h"

#include "base/operatorinteraction.h"
#include "generation/newvoucher.h"
#include "generation/voucherjournal.h"
#include "generation/voucherprofile.h"
#include "routeros/pipeline.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <deque>

namespace {

// The longest a made voucher waits to be confirmed together with others.
constexpr int HoldMs = 200;

// One voucher on its way.
struct Task
{
    VoucherRecord *record = nullptr;
    std::unique_ptr<VoucherSteps> steps;
    bool inFlight = false;      // a command of it waits for its reply
    bool awaitingAdd = false;   // its next add waits to be written down and sent
    bool removing = false;      // it was made past a failed voucher and is being removed again
    bool silentFailure = false; // failed where the operator has been told already
};

class PipelinedBatch
{
public:
    PipelinedBatch(const VoucherContext &context, std::shared_ptr<const VoucherProfile> profile,
                   quint32 count, const PipelineControl &control)
        : m_context(context), m_profile(std::move(profile)), m_count(count), m_control(control),
          m_pipeline(context.transport)
    {
    }

    quint32 run();

private:
    qsizetype window() const { return m_pipeline.tagsEchoed() ? qMax(1, m_control.window) : 1; }
    bool mayStart() const;
    bool cancelled(const Task &task) const;
    void sendAdds();
    void send(Task &task, const QStringList &command);
    void take(Task &task, const ApiReply &reply);
    void failed(Task &task);
    void settleFront();
    void confirmHeld();
    void letGo(Task &task);
    void connectionLost();
    void finish();

    const VoucherContext &m_context;
    std::shared_ptr<const VoucherProfile> m_profile;
    quint32 m_count;
    const PipelineControl &m_control;
    ApiPipeline m_pipeline;

    std::deque<std::unique_ptr<Task>> m_tasks; // in serial order, unsettled ones only
    QHash<quint32, Task *> m_byTag;
    QList<const VoucherRecord *> m_confirmable; // made, in serial order, to confirm together
    QList<const VoucherRecord *> m_withdrawn;   // let go at the end, last serial first
    QSet<const VoucherRecord *> m_dropped;      // leave the batch at the end
    quint32 m_started = 0;
    quint32 m_made = 0;
    std::optional<quint32> m_failedSerial; // the first voucher that could not be made
    QString m_failure;                     // what the operator is told of it
    bool m_stopped = false;
    QDeadlineTimer m_held; // when the oldest made voucher has waited long enough for its confirmation
};

bool PipelinedBatch::mayStart() const
{
    if (m_started >= m_count || m_failedSerial || m_pipeline.ended() || m_context.journal.failed())
        return false;
    return !(m_control.stopRequested && m_control.stopRequested());
}

bool PipelinedBatch::cancelled(const Task &task) const
{
    return m_failedSerial && task.record->Serial > *m_failedSerial;
}

void PipelinedBatch::send(Task &task, const QStringList &command)
{
    m_byTag.insert(m_pipeline.send(command), &task);
    task.inFlight = true;
}

void PipelinedBatch::sendAdds()
{
    // Adds of names tried again come first, then new vouchers up to the window.
    QList<Task *> adding;
    for (const std::unique_ptr<Task> &task : m_tasks) {
        if (!task->awaitingAdd)
            continue;
        task->awaitingAdd = false;
        // Its earlier name was refused, so the router holds nothing of it.
        if (cancelled(*task))
            letGo(*task);
        else
            adding.append(task.get());
    }
    // New vouchers are started in groups, once half the window has drained, so
    // that the journal is written once for many of them.
    const qsizetype window = this->window();
    const bool refill = qsizetype(m_tasks.size()) <= window / 2;
    while (refill && mayStart() && qsizetype(m_tasks.size()) < window) {
        VoucherRecord *record = startVoucher(m_context.batch, m_context.settings, m_context.prompt, m_profile,
                                             std::nullopt, m_profile->HotSpot.has_value());
        if (!record) {
            m_stopped = true; // no voucher of this batch asks the operator; nothing more is made
            break;
        }
        record->Generator = m_context.generator;
        auto task = std::make_unique<Task>();
        task->record = record;
        task->steps = std::make_unique<VoucherSteps>(m_context, *m_profile, *record);
        adding.append(task.get());
        m_tasks.push_back(std::move(task));
        ++m_started;
    }
    if (m_stopped)
        m_started = m_count;
    if (adding.isEmpty())
        return;

    QList<VoucherRecord *> records;
    for (Task *task : adding)
        records.append(task->record);
    if (!m_context.journal.recordVouchers(records)) {
        // Nothing of these went out; the journal has told the operator. A
        // new voucher has no serial any more and cancels nothing after it.
        for (Task *task : adding) {
            task->silentFailure = true;
            if (task->record->Serial != 0)
                failed(*task);
            letGo(*task);
        }
        return;
    }
    for (Task *task : adding)
        send(*task, task->steps->command());
}

void PipelinedBatch::take(Task &task, const ApiReply &reply)
{
    task.inFlight = false;
    if (task.removing) {
        // Removed: the router no longer holds it. Otherwise it stays in the
        // journal as unconfirmed, to be looked for on the router later.
        const bool trapped = std::any_of(reply.sentences.cbegin(), reply.sentences.cend(),
                                         [](const ApiSentence &s) { return s.kind == ReplyKind::Trap; });
        if (endsDone(reply) && !trapped)
            m_withdrawn.append(task.record);
        m_dropped.insert(task.record);
        task.removing = false;
        task.silentFailure = true;
        task.steps.reset();
        return;
    }
    VoucherSteps &steps = *task.steps;
    steps.take(reply);
    if (steps.state() == VoucherSteps::State::Sending) {
        if (cancelled(task)) {
            if (steps.routerId() && !steps.commandIsAdd()) {
                task.removing = true;
                send(task, steps.removal());
            } else {
                letGo(task);
            }
        } else if (steps.commandIsAdd()) {
            task.awaitingAdd = true; // a new name: written down before it goes
        } else {
            send(task, steps.command());
        }
        return;
    }
    if (steps.state() == VoucherSteps::State::Made && cancelled(task)) {
        task.removing = true;
        send(task, steps.removal());
        return;
    }
    if (steps.state() == VoucherSteps::State::Failed)
        failed(task);
}

void PipelinedBatch::failed(Task &task)
{
    if (!m_failedSerial || task.record->Serial < *m_failedSerial) {
        m_failedSerial = task.record->Serial;
        m_failure = task.silentFailure || !task.steps ? QString() : task.steps->failureMessage();
    }
}

void PipelinedBatch::letGo(Task &task)
{
    m_withdrawn.append(task.record);
    m_dropped.insert(task.record);
    task.silentFailure = true;
    task.steps.reset();
}

void PipelinedBatch::settleFront()
{
    // Vouchers are confirmed in serial order: a made voucher waits for every
    // earlier one to be settled.
    while (!m_tasks.empty()) {
        Task &front = *m_tasks.front();
        if (front.inFlight || front.awaitingAdd)
            return;
        if (front.steps && front.steps->state() == VoucherSteps::State::Made && cancelled(front)) {
            // Made before an earlier voucher failed: removed again.
            front.removing = true;
            send(front, front.steps->removal());
            return;
        }
        if (front.steps && front.steps->state() == VoucherSteps::State::Made) {
            if (m_confirmable.isEmpty())
                m_held.setRemainingTime(HoldMs);
            m_confirmable.append(front.record);
            ++m_made;
        } else if (front.steps && front.steps->state() == VoucherSteps::State::Failed) {
            // Not made: let go, unless the router may hold it.
            if (!front.steps->unanswered())
                m_withdrawn.append(front.record);
            m_dropped.insert(front.record);
        }
        m_tasks.pop_front();
    }
}

void PipelinedBatch::confirmHeld()
{
    if (m_confirmable.isEmpty())
        return;
    m_context.journal.confirmVouchers(m_confirmable);
    m_confirmable.clear();
    if (m_control.progress)
        m_control.progress(m_made);
}

void PipelinedBatch::connectionLost()
{
    // Made vouchers are kept, whatever came before them; a voucher whose
    // command went unanswered may be on the router and stays unconfirmed; a
    // voucher whose new name was never sent is let go.
    for (const std::unique_ptr<Task> &task : m_tasks) {
        VoucherSteps *steps = task->steps.get();
        if (task->inFlight ||
            (steps && steps->state() == VoucherSteps::State::Failed && steps->unanswered())) {
            m_dropped.insert(task->record);
            if (!m_failedSerial || task->record->Serial < *m_failedSerial) {
                m_failedSerial = task->record->Serial;
                m_failure = steps ? steps->failureMessage() : QString();
            }
        } else if (steps && steps->state() == VoucherSteps::State::Made && !task->removing) {
            m_confirmable.append(task->record);
            ++m_made;
        } else if (!m_dropped.contains(task->record)) {
            m_withdrawn.append(task->record);
            m_dropped.insert(task->record);
        }
    }
    m_tasks.clear();
    if (m_failure.isEmpty() && m_failedSerial)
        m_failure =
            QCoreApplication::translate("VoucherSteps", "Ocorreu um erro durante a criação do usuário.");
}

quint32 PipelinedBatch::run()
{
    for (;;) {
        settleFront();
        sendAdds();
        if (m_pipeline.inFlight() == 0 && m_tasks.empty())
            break;
        // Confirmations go together: half a window at a time, or what has
        // waited a while when the router is slow.
        if (qsizetype(m_confirmable.size()) >= qMax<qsizetype>(1, window() / 2) ||
            (!m_confirmable.isEmpty() && m_held.hasExpired() && !m_pipeline.replyWaiting()))
            confirmHeld();
        const std::optional<TaggedReply> reply = m_pipeline.next();
        if (!reply) {
            connectionLost();
            break;
        }
        if (Task *task = m_byTag.take(reply->tag))
            take(*task, reply->reply);
    }
    finish();
    return m_made;
}

void PipelinedBatch::finish()
{
    confirmHeld();
    if (!m_withdrawn.isEmpty())
        m_context.journal.withdrawVouchers(m_withdrawn);
    // One pass, so no record moves before it has been looked at.
    std::erase_if(m_context.batch,
                  [this](const VoucherRecord &record) { return m_dropped.contains(&record); });
    if (!m_failure.isEmpty())
        m_context.interaction.showMessage(m_failure, MessageIcon::Error);
}

} // namespace

quint32 createVouchersPipelined(const VoucherContext &context, std::shared_ptr<const VoucherProfile> profile,
                                quint32 count, const PipelineControl &control)
{
    PipelinedBatch batch(context, std::move(profile), count, control);
    return batch.run();
}
