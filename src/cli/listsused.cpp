#include "listsused.h"

#include <QHash>

using namespace Qt::StringLiterals;

QList<ListFile> listsUsedBy(const QString &command)
{
    static const QHash<QString, QList<ListFile>> used = {
        {u"routers"_s, {ListFile::Routers}},
        {u"designs"_s, {ListFile::Designs}},
        {u"profiles"_s, {ListFile::Routers, ListFile::HotSpotProfiles, ListFile::Designs}},
        {u"upload-script"_s, {ListFile::Routers}},
        {u"remove"_s, {ListFile::Routers}},
        {u"generate"_s,
         {ListFile::Routers, ListFile::HotSpotProfiles, ListFile::UserDatabase, ListFile::Designs}},
        {u"print-test"_s, {ListFile::Designs}},
    };
    return used.value(command);
}
