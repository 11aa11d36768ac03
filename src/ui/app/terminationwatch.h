#pragma once

#include <QObject>

class QSocketNotifier;

// The desktop ends programs with SIGTERM (a logout, a shutdown) or SIGHUP: the
// program then quits as if its window had been closed, so what is kept at exit
// (the sales) is written.
class TerminationWatch : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatch(QObject *parent = nullptr);
    ~TerminationWatch() override;

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
