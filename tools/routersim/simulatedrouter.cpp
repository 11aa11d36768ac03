#include "simulatedrouter.h"

#include <QMutexLocker>
#include <algorithm>

namespace routersim {

namespace {

bool endsReply(const Sentence &sentence)
{
    return !sentence.isEmpty() &&
           (sentence.first() == "!done" || sentence.first() == "!trap" || sentence.first() == "!fatal");
}

// The reply's data sentences stay, and a "!re" follows them without end in
// place of the sentences that would finish it; a tagged one carries its tag.
void makeEndless(RouterAnswer &answer, int repeatMs)
{
    const auto end = std::find_if(answer.sentences.begin(), answer.sentences.end(), endsReply);
    answer.repeat = {"!re"};
    if (end != answer.sentences.end() && end->size() > 1 && end->last().startsWith(".tag="))
        answer.repeat.append(end->last());
    answer.sentences.erase(end, answer.sentences.end());
    answer.sentences.append(answer.repeat);
    answer.repeatMs = repeatMs;
}

} // namespace

SimulatedRouter::SimulatedRouter(RouterState state, RouterBehaviour behaviour)
    : m_state(std::move(state)), m_behaviour(behaviour)
{
    assignMissingIds(m_state);
}

RouterState SimulatedRouter::state() const
{
    QMutexLocker lock(&m_mutex);
    return m_state;
}

void SimulatedRouter::setState(const RouterState &state)
{
    QMutexLocker lock(&m_mutex);
    m_state = state;
    assignMissingIds(m_state);
}

RouterBehaviour SimulatedRouter::behaviour() const
{
    QMutexLocker lock(&m_mutex);
    return m_behaviour;
}

void SimulatedRouter::setBehaviour(const RouterBehaviour &behaviour)
{
    QMutexLocker lock(&m_mutex);
    m_behaviour = behaviour;
}

QList<LoggedSentence> SimulatedRouter::log() const
{
    QMutexLocker lock(&m_mutex);
    return m_log;
}

QList<Sentence> SimulatedRouter::sentencesOf(int connection) const
{
    QMutexLocker lock(&m_mutex);
    QList<Sentence> sentences;
    for (const LoggedSentence &entry : m_log) {
        if (entry.connection == connection)
            sentences.append(entry.words);
    }
    return sentences;
}

void SimulatedRouter::clearLog()
{
    QMutexLocker lock(&m_mutex);
    m_log.clear();
}

int SimulatedRouter::connectionCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_connections;
}

void SimulatedRouter::setObserver(Observer observer)
{
    QMutexLocker lock(&m_mutex);
    m_observer = std::move(observer);
}

int SimulatedRouter::openConnection()
{
    QMutexLocker lock(&m_mutex);
    return ++m_connections;
}

RouterAnswer SimulatedRouter::receive(int connection, const Sentence &sentence, Session &session,
                                      int received)
{
    QMutexLocker lock(&m_mutex);
    m_log.append({connection, sentence});
    RouterAnswer answer;
    // A stalled router takes the sentence and does nothing with it.
    if (!m_behaviour.stall) {
        Reply reply = handleSentence(sentence, m_state, m_behaviour, session);
        answer.sentences = std::move(reply.sentences);
        answer.close = reply.close || (m_behaviour.closeAfter > 0 && received >= m_behaviour.closeAfter);
        answer.delayMs = m_behaviour.latencyMs;
        answer.reorderable = reply.tagged && m_behaviour.outOfOrderTags;
        if (answerFaultTouches(m_behaviour, sentence)) {
            answer.trickleMs = m_behaviour.trickleMs;
            // Without a command named, the login is answered as usual.
            const bool login = !sentence.isEmpty() && sentence.first() == "/login";
            if (m_behaviour.endlessReMs > 0 && !answer.close &&
                (!login || !m_behaviour.faultCommand.isEmpty()))
                makeEndless(answer, m_behaviour.endlessReMs);
        }
    }
    if (m_observer)
        m_observer(m_log.last(), m_state);
    return answer;
}

} // namespace routersim
