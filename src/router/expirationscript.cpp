#include "expirationscript.h"

#include "routercommand.h"

#include "base/operatorinteraction.h"
#include "generation/duration.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

const QByteArray ExpirationScriptSource =
    ":local thisDate\r\n"
    ":local thisYear\r\n"
    ":local thisDay\r\n"
    ":local thisMonth\r\n"
    ":local thisTime\r\n"
    ":local thisTime1\r\n"
    ":local thisTime2\r\n"
    ":local ISOcheck\r\n"
    ":set thisDate [/ system clock get date]\r\n"
    ":set thisTime [/ system clock get time]\r\n"
    "\r\n"
    ":set ISOcheck [:pick $thisDate 4 5]\r\n"
    ":set thisTime1 [:pick $thisTime 0 2]\r\n"
    ":set thisTime2 [:pick $thisTime 3 5]\r\n"
    "\r\n"
    ":if ($ISOcheck = \"-\") do={ \r\n"
    " :set thisYear [:pick $thisDate 0 4]\r\n"
    " :set thisMonth [:pick $thisDate 5 7]\r\n"
    " :set thisDay [:pick $thisDate 8 10]\r\n"
    "} else={ \r\n"
    " :set thisMonth [:pick $thisDate 0 3]\r\n"
    " :set thisDay [:pick $thisDate 4 6]\r\n"
    " :set thisYear [:pick $thisDate 7 11]\r\n"
    " :if ($thisMonth = \"jan\") do={ :set thisMonth \"01\" }\r\n"
    " :if ($thisMonth = \"feb\") do={ :set thisMonth \"02\" }\r\n"
    " :if ($thisMonth = \"mar\") do={ :set thisMonth \"03\" }\r\n"
    " :if ($thisMonth = \"apr\") do={ :set thisMonth \"04\" }\r\n"
    " :if ($thisMonth = \"may\") do={ :set thisMonth \"05\" }\r\n"
    " :if ($thisMonth = \"jun\") do={ :set thisMonth \"06\" }\r\n"
    " :if ($thisMonth = \"jul\") do={ :set thisMonth \"07\" }\r\n"
    " :if ($thisMonth = \"aug\") do={ :set thisMonth \"08\" }\r\n"
    " :if ($thisMonth = \"sep\") do={ :set thisMonth \"09\" }\r\n"
    " :if ($thisMonth = \"oct\") do={ :set thisMonth \"10\" }\r\n"
    " :if ($thisMonth = \"nov\") do={ :set thisMonth \"11\" }\r\n"
    " :if ($thisMonth = \"dec\") do={ :set thisMonth \"12\" }\r\n"
    "}\r\n"
    ":if ($thisYear > \"2010\")  do={\r\n"
    " :set thisDate ($thisYear.$thisMonth.$thisDay.$thisTime1.$thisTime2)\r\n"
    " :local users [/ip hotspot user find]\r\n"
    " :local i\r\n"
    " :local expirationDate\r\n"
    " :foreach i in=$users do={\r\n"
    "  :set expirationDate [/ ip hotspot user get $i comment]\r\n"
    "  :if ([:len $expirationDate] = 12) do={\r\n"
    "   :local expNum [:tonum $expirationDate]\r\n"
    "   :local thisNum [:tonum $thisDate]\r\n"
    "   :if (([:typeof $expNum] = \"num\") and($expNum < $thisNum)) do={\r\n"
    "    :local userName [/ip hotspot user get $i name]\r\n"
    "    :local activeUser [/ip hotspot active find where user=$userName]\r\n"
    "    /ip hotspot user remove $i\r\n"
    "    /ip hotspot active remove $activeUser\r\n"
    "    :log info \"Detected wifiTicketer hotspot expired user\"\r\n"
    "   }\r\n"
    "  }\r\n"
    "  :delay 0.5s\r\n"
    " }\r\n"
    "}\r\n";

namespace {

const QString ScriptName = u"wifiTicketer"_s;

// Every "=message=" of the reply is a refusal, the last one kept. A reply that
// did not end with "!done" is a refusal too: the connection was lost.
bool accepted(const ApiReply &reply, QString &message)
{
    bool refused = !endsDone(reply);
    for (const ApiSentence &sentence : reply.sentences) {
        for (const QByteArray &word : sentence.words) {
            if (std::optional<QString> text = messageIn(word)) {
                message = routerMessage(*text);
                refused = true;
            }
        }
    }
    return !refused;
}

} // namespace

ScriptUpload uploadExpirationScript(ApiTransport &transport, qint64 intervalSeconds, bool force,
                                    OperatorInteraction &interaction)
{
    const std::optional<QString> scriptId =
        findId(runCommand(transport, {u"/system/script/print"_s, u"?name="_s + ScriptName}));
    const std::optional<QString> schedulerId =
        findId(runCommand(transport, {u"/system/scheduler/print"_s, u"?name="_s + ScriptName}));

    if (!force) {
        if (scriptId && schedulerId)
            return ScriptUpload::NotWanted;
        const Answer answer = interaction.askYesNo(
            QCoreApplication::translate(
                "ExpirationScript",
                "Ao criar usuários do HotSpot, o wifiTicketer necessita fazer upload de um script para "
                "controlar a "
                "expiração do usuário.\nVocê deseja transferir esse script para o roteador?"),
            MessageIcon::Question);
        if (answer != Answer::Yes)
            return ScriptUpload::NotWanted;
    }

    const QString source = QString::fromUtf8(ExpirationScriptSource);
    QString message;
    bool ok = accepted(scriptId ? runCommand(transport, {u"/system/script/set"_s, u"=.id="_s + *scriptId,
                                                         u"=source="_s + source})
                                : runCommand(transport, {u"/system/script/add"_s, u"=name="_s + ScriptName,
                                                         u"=source="_s + source}),
                       message);
    if (ok) {
        const QString interval = u"=interval="_s + formatDuration(intervalSeconds, true);
        ok = accepted(schedulerId
                          ? runCommand(transport, {u"/system/scheduler/set"_s, u"=.id="_s + *schedulerId,
                                                   u"=on-event="_s + ScriptName, interval})
                          : runCommand(transport, {u"/system/scheduler/add"_s, u"=name="_s + ScriptName,
                                                   u"=on-event="_s + ScriptName, interval}),
                      message);
    }

    if (ok) {
        interaction.showMessage(
            QCoreApplication::translate(
                "ExpirationScript",
                "Script transferido com sucesso para o roteador.\nScript and scheduler foram criados "
                "com o nome wifiTicketer."),
            MessageIcon::Information);
        return ScriptUpload::Uploaded;
    }
    interaction.showMessage(QCoreApplication::translate(
                                "ExpirationScript", "Ocorreu um erro durante a transferência do script.") +
                                (message.isEmpty() ? QString() : u"\n"_s + message),
                            MessageIcon::Error);
    return ScriptUpload::Failed;
}
