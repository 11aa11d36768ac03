#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QStringList>
#include <QTcpSocket>
#include <optional>

// A blocking API client with framing of its own (apisentence.h and a reader
// here: nothing shared with the simulator or the program's codec), for driving
// the simulator word by word.
class RawClient
{
public:
    bool connectTo(quint16 port);

    void sendSentence(const QByteArrayList &words);
    void sendBytes(const QByteArray &bytes);
    // The next sentence, or nothing when none arrives in time or the stream ended.
    std::optional<QByteArrayList> readSentence(int timeoutMs = 5000);
    // Sends the words and reads the answer up to its "!done" (after a "!trap"
    // the "!done" that follows it) or "!fatal". Each sentence comes back as its
    // words joined by single blanks; a missing end shows as "<no answer>".
    QStringList call(const QByteArrayList &words, int timeoutMs = 5000);
    QStringList readAnswer(int timeoutMs = 5000);
    // True when the router closes the connection within the time.
    bool waitForClosed(int timeoutMs = 5000);

private:
    QTcpSocket m_socket;
    QByteArray m_received;
};
