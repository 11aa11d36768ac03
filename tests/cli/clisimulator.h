#pragma once

#include "testfolder.h"

#include "routersim/routerbehaviour.h"
#include "routersim/routerstate.h"
#include "routersim/statejson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

using Commands = QList<QStringList>;

// The program user of the installation below.
extern const QStringList Operator;

// The simulator executable on a free port, started from a state, writing its
// state and the sentences it receives to files of the folder.
class SimProcess
{
public:
    explicit SimProcess(const TestFolder &folder)
        : m_config(folder.path() + QStringLiteral("/sim-config.json")),
          m_state(folder.path() + QStringLiteral("/sim-state.json")),
          m_log(folder.path() + QStringLiteral("/sim-log.jsonl"))
    {
    }
    ~SimProcess()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // `latencyMs`: every answer waits this long, as over a slow link.
    // `switches`: more of the simulator's options, such as its fault switches.
    bool start(const routersim::RouterState &state, bool refuseAdds = false, int latencyMs = 0,
               const QStringList &switches = {})
    {
        QJsonObject config = routersim::stateToJson(state);
        config.insert(QStringLiteral("refuseAdds"), refuseAdds);
        config.insert(QStringLiteral("latencyMs"), latencyMs);
        QFile file(m_config);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(config).toJson()) < 0)
            return false;
        file.close();
        m_process.start(QStringLiteral(WIFITICKETER_ROUTERSIM_PATH),
                        QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--config"),
                                    m_config, QStringLiteral("--state"), m_state, QStringLiteral("--log"),
                                    m_log} +
                            switches);
        if (!m_process.waitForStarted(10000))
            return false;
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000))
                return false;
        }
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)\\n$"))
                .match(QString::fromUtf8(m_process.readLine()));
        m_port = match.hasMatch() ? match.captured(1).toUShort() : 0;
        return m_port != 0;
    }

    quint16 port() const { return m_port; }

    routersim::RouterState state() const
    {
        QFile file(m_state);
        routersim::RouterState state;
        routersim::RouterBehaviour behaviour;
        QString error;
        if (file.open(QIODevice::ReadOnly))
            routersim::applyConfigJson(QJsonDocument::fromJson(file.readAll()).object(), state, behaviour,
                                       error);
        return state;
    }

    // Every sentence received, logins and "/quit" included.
    Commands sentences() const
    {
        Commands out;
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly))
            return out;
        while (!file.atEnd()) {
            QStringList words;
            for (const QJsonValue &word :
                 QJsonDocument::fromJson(file.readLine()).object()[QStringLiteral("words")].toArray())
                words.append(word.toString());
            out.append(words);
        }
        return out;
    }

    // The received sentences after the logins, without "/quit".
    Commands commands() const
    {
        Commands out;
        for (const QStringList &words : sentences()) {
            if (!words.isEmpty() && words[0] != u"/login" && words[0] != u"/quit")
                out.append(words);
        }
        return out;
    }

private:
    QString m_config;
    QString m_state;
    QString m_log;
    QProcess m_process;
    quint16 m_port = 0;
};

// An installation with the program user caixa (password 1234), prices in
// "R$ %c", the expiry script run every 15 minutes, the routers "Sim" (the
// simulator, selling both kinds of profiles) and "Outro" (nobody listens), and
// two hotspot profiles.
bool install(const TestFolder &folder, quint16 simPort);

// Program users of installSetup(): gerente may open the setup, caixa may not.
extern const QStringList Manager;
extern const QStringList Cashier;

// An installation for the setup's commands: the program users gerente (4321,
// allowed into the setup) and caixa (1234, not), prices in "R$ %c", the routers
// "Sim" (the simulator at simPort, user admin with the password "segredo") and
// "Loja" (10.0.0.1:8729, user api, password "velha", both kinds of profiles,
// no MAC binding), and the hotspot profiles "3 horas" (3 h, R$ 3,00) and
// "30 dias" (30 days, R$ 45,00, uptime 10 h, server hs1, 1 GB in total), both of
// the router profile "default".
bool installSetup(const TestFolder &folder, quint16 simPort);
