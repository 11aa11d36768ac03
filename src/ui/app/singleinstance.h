#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running copy of the program per user and settings file. The first copy
// listens on a local socket; a later start finds it, asks it to bring its
// window to the front, and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The socket's name, from the user and the settings file, so test copies
    // with settings of their own never meet.
    static QString serverName(const QString &settingsFile);

    explicit SingleInstance(const QString &settingsFile, QObject *parent = nullptr);

    // True when this copy is the one running (it listens now); false when
    // another copy answered and was asked to show itself.
    bool start();

Q_SIGNALS:
    // A later start asked for the window.
    void activationRequested();

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
};
