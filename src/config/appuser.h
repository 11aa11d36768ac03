#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One program user (operator) of this installation.
struct AppUser
{
    QString Name;
    QString Password;
    bool SettingsAccess = false; // may open the setup
    bool PosMode = false;        // was last working in POS mode
    bool FullScreen = false;     // the POS window is shown full screen

    friend bool operator==(const AppUser &, const AppUser &) = default;
};

// The "UsersData" settings value: per user 16-bit flags, then the scrambled
// name and password, each after its 16-bit byte count.
QByteArray serializeUsers(const QList<AppUser> &users);
// Appends the users found; damaged data yields the users up to the damage, the
// damaged one with an empty name or password.
void parseUsers(const QByteArray &bytes, QList<AppUser> &users);

// The first user whose name and password both equal the given ones exactly.
// Returns its index, or -1.
qsizetype findUser(const QList<AppUser> &users, const QString &name, const QString &password);

// The user editor never shows a stored password: it shows this placeholder, and
// the password stays as it was while the placeholder is left untouched.
extern const QString PasswordPlaceholder;
QString editedPassword(const QString &oldPassword, const QString &typed);

// Adding through the user editor: a user of exactly that name is updated with
// the new password and permission; otherwise a new user is appended. Returns the
// index of the user added or updated.
qsizetype addOrUpdateUser(QList<AppUser> &users, const QString &name, const QString &password,
                          bool settingsAccess);

// The text of a user row: the name, or "< vazio >" for an empty one.
QString userDisplayName(const AppUser &user);

// What is wrong with a program user's name the user editor took, or nothing:
// a control character (tab, line break), which would split the lines and
// listings the name is shown in (the history's Generator column among them).
std::optional<QString> appUserNameProblem(const QString &name);
