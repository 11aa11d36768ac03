#include "routerscommand.h"

#include "config/controlcharacters.h"
#include "session/appstate.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

// A field as one cell of the line: a control character an older file may
// hold (a tab, a line break) is written as \xNN, so every router stays one
// line of eight fields.
QString cell(const QString &text)
{
    QString shown;
    for (const QChar c : text) {
        if (hasControlCharacter(QStringView(&c, 1)))
            shown += u"\\x%1"_s.arg(uint(c.unicode()), 2, 16, QChar(u'0'));
        else
            shown += c;
    }
    return shown;
}

} // namespace

QString routerLine(const RouterConfig &router)
{
    return QStringList{cell(router.Name),
                       cell(router.Address),
                       cell(router.Port),
                       cell(router.ApiUser),
                       u"HS=%1"_s.arg(int(router.EnableHotSpotProfiles)),
                       u"UM=%1"_s.arg(int(router.EnableUserManagerProfiles)),
                       u"MAC=%1"_s.arg(int(router.MacBinding)),
                       cell(router.UserManagerAdmin)}
        .join(u'\t');
}

int runRoutersCommand(const AppState &state, QTextStream &out)
{
    for (const RouterConfig &router : state.routers)
        out << routerLine(router) << '\n';
    return 0;
}
