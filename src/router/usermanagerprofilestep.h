#pragma once

#include <QString>
#include <QStringList>

struct ApiReply;
struct RouterInfo;

// The step that makes a new User Manager user usable, after its add: the
// profile assigned (RouterOS 7) or created and activated (5 and 6, by user
// name up to 6.1, else by the id the add gave); RouterOS 4 gives the credit
// with the add and has none.
bool hasUserManagerProfileStep(const RouterInfo &info);
QStringList userManagerProfileStep(const RouterInfo &info, const QString &userName, const QString &userId,
                                   const QString &profileName);
// Whether the router accepted it: a "!done" and no "=message="; a refusal
// leaves what the operator reads in `error`.
bool profileStepAccepted(const ApiReply &reply, QString &error);
