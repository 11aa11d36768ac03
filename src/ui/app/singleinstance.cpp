#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int ConnectTimeoutMs = 1000;
const QByteArray ShowRequest = "show\n";

} // namespace

QString SingleInstance::serverName(const QString &settingsFile)
{
    const QByteArray who = qgetenv("USER") + '\n' + QFileInfo(settingsFile).absoluteFilePath().toUtf8();
    return QStringLiteral("wifiTicketer-") +
           QString::fromLatin1(QCryptographicHash::hash(who, QCryptographicHash::Sha256).toHex().left(16));
}

SingleInstance::SingleInstance(const QString &settingsFile, QObject *parent)
    : QObject(parent), m_name(serverName(settingsFile))
{
}

bool SingleInstance::start()
{
    QLocalSocket running;
    running.connectToServer(m_name);
    if (running.waitForConnected(ConnectTimeoutMs)) {
        running.write(ShowRequest);
        running.waitForBytesWritten(ConnectTimeoutMs);
        running.disconnectFromServer();
        return false;
    }
    // Nobody answers: a socket left by a copy that crashed is in the way.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(ShowRequest))
                    Q_EMIT activationRequested();
                client->disconnectFromServer();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    // Listening may still fail (another copy won the race): this copy then
    // runs alone, as it would without the check.
    m_server->listen(m_name);
    return true;
}
