#pragma once

#include "routerstate.h"

#include <QList>
#include <QString>

namespace routersim {

enum class FieldAccess
{
    ReadWrite,
    ReadOnly, // printed, never set by a command
    WriteOnly // taken by add, never printed
};

// One attribute of a record type: its RouterOS name (also its key in the state
// dump) and the member that holds it, a text or a yes/no flag. Commands and the
// state dump both go through these tables, so a new attribute is added once.
template<class T>
struct Field
{
    QString key;
    QString T::*text = nullptr;
    bool T::*flag = nullptr;
    FieldAccess access = FieldAccess::ReadWrite;
};

// The attributes of each record type besides its id, in print order.
template<class T>
const QList<Field<T>> &recordFields();

template<>
const QList<Field<ApiUser>> &recordFields<ApiUser>();
template<>
const QList<Field<HotspotUser>> &recordFields<HotspotUser>();
template<>
const QList<Field<HotspotUserProfile>> &recordFields<HotspotUserProfile>();
template<>
const QList<Field<HotspotServer>> &recordFields<HotspotServer>();
template<>
const QList<Field<UserManagerProfile>> &recordFields<UserManagerProfile>();
template<>
const QList<Field<UserManagerCredit>> &recordFields<UserManagerCredit>();
template<>
const QList<Field<UserManagerCustomer>> &recordFields<UserManagerCustomer>();
template<>
const QList<Field<UserManagerUser>> &recordFields<UserManagerUser>();
template<>
const QList<Field<UserProfileAssignment>> &recordFields<UserProfileAssignment>();
template<>
const QList<Field<Script>> &recordFields<Script>();
template<>
const QList<Field<SchedulerEntry>> &recordFields<SchedulerEntry>();

// Calls visit(name, records) for every record list of a state (const or not),
// the name being the list's key in the state dump.
template<class State, class Visit>
void forEachRecordList(State &state, Visit visit)
{
    visit(QStringLiteral("apiUsers"), state.apiUsers);
    visit(QStringLiteral("hotspotUsers"), state.hotspotUsers);
    visit(QStringLiteral("hotspotUserProfiles"), state.hotspotUserProfiles);
    visit(QStringLiteral("hotspotServers"), state.hotspotServers);
    visit(QStringLiteral("userManagerProfiles"), state.userManagerProfiles);
    visit(QStringLiteral("userManagerCredits"), state.userManagerCredits);
    visit(QStringLiteral("customers"), state.customers);
    visit(QStringLiteral("userManagerUsers"), state.userManagerUsers);
    visit(QStringLiteral("userProfiles"), state.userProfiles);
    visit(QStringLiteral("scripts"), state.scripts);
    visit(QStringLiteral("schedulers"), state.schedulers);
}

} // namespace routersim
