#include "recordfields.h"

namespace routersim {

namespace {

template<class T>
Field<T> text(const char *key, QString T::*member, FieldAccess access = FieldAccess::ReadWrite)
{
    return {QString::fromLatin1(key), member, nullptr, access};
}

template<class T>
Field<T> flag(const char *key, bool T::*member)
{
    return {QString::fromLatin1(key), nullptr, member};
}

} // namespace

template<>
const QList<Field<ApiUser>> &recordFields<ApiUser>()
{
    static const QList<Field<ApiUser>> fields = {
        text("name", &ApiUser::name),
        text("password", &ApiUser::password, FieldAccess::WriteOnly),
    };
    return fields;
}

template<>
const QList<Field<HotspotUser>> &recordFields<HotspotUser>()
{
    static const QList<Field<HotspotUser>> fields = {
        text("name", &HotspotUser::name),
        text("password", &HotspotUser::password),
        text("profile", &HotspotUser::profile),
        text("server", &HotspotUser::server),
        text("comment", &HotspotUser::comment),
        text("limit-uptime", &HotspotUser::limitUptime),
        text("limit-bytes-in", &HotspotUser::limitBytesIn),
        text("limit-bytes-out", &HotspotUser::limitBytesOut),
        text("limit-bytes-total", &HotspotUser::limitBytesTotal),
        flag("disabled", &HotspotUser::disabled),
    };
    return fields;
}

template<>
const QList<Field<HotspotUserProfile>> &recordFields<HotspotUserProfile>()
{
    static const QList<Field<HotspotUserProfile>> fields = {text("name", &HotspotUserProfile::name)};
    return fields;
}

template<>
const QList<Field<HotspotServer>> &recordFields<HotspotServer>()
{
    static const QList<Field<HotspotServer>> fields = {text("name", &HotspotServer::name)};
    return fields;
}

template<>
const QList<Field<UserManagerProfile>> &recordFields<UserManagerProfile>()
{
    static const QList<Field<UserManagerProfile>> fields = {
        text("name", &UserManagerProfile::name),
        text("owner", &UserManagerProfile::owner),
        text("price", &UserManagerProfile::price),
        text("validity", &UserManagerProfile::validity),
    };
    return fields;
}

template<>
const QList<Field<UserManagerCredit>> &recordFields<UserManagerCredit>()
{
    static const QList<Field<UserManagerCredit>> fields = {
        text("name", &UserManagerCredit::name),
        text("subscriber", &UserManagerCredit::subscriber),
        text("full-price", &UserManagerCredit::fullPrice),
        text("time", &UserManagerCredit::time),
    };
    return fields;
}

template<>
const QList<Field<UserManagerCustomer>> &recordFields<UserManagerCustomer>()
{
    static const QList<Field<UserManagerCustomer>> fields = {text("login", &UserManagerCustomer::login)};
    return fields;
}

template<>
const QList<Field<UserManagerUser>> &recordFields<UserManagerUser>()
{
    static const QList<Field<UserManagerUser>> fields = {
        text("name", &UserManagerUser::name),
        text("password", &UserManagerUser::password),
        text("customer", &UserManagerUser::customer),
        text("first-name", &UserManagerUser::firstName),
        text("last-name", &UserManagerUser::lastName),
        text("phone", &UserManagerUser::phone),
        text("location", &UserManagerUser::location),
        text("email", &UserManagerUser::email),
        text("caller-id", &UserManagerUser::callerId),
        text("comment", &UserManagerUser::comment),
        text("actual-profile", &UserManagerUser::actualProfile, FieldAccess::ReadOnly),
        text("credit", &UserManagerUser::credit, FieldAccess::WriteOnly),
    };
    return fields;
}

template<>
const QList<Field<UserProfileAssignment>> &recordFields<UserProfileAssignment>()
{
    static const QList<Field<UserProfileAssignment>> fields = {
        text("user", &UserProfileAssignment::user),
        text("profile", &UserProfileAssignment::profile),
    };
    return fields;
}

template<>
const QList<Field<Script>> &recordFields<Script>()
{
    static const QList<Field<Script>> fields = {
        text("name", &Script::name),
        text("source", &Script::source),
    };
    return fields;
}

template<>
const QList<Field<SchedulerEntry>> &recordFields<SchedulerEntry>()
{
    static const QList<Field<SchedulerEntry>> fields = {
        text("name", &SchedulerEntry::name),
        text("on-event", &SchedulerEntry::onEvent),
        text("interval", &SchedulerEntry::interval),
    };
    return fields;
}

} // namespace routersim
