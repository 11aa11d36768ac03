#include "appuser.h"

#include "controlcharacters.h"

#include "base/scramble.h"

#include <QCoreApplication>
#include <QtEndian>

using namespace Qt::StringLiterals;

const QString PasswordPlaceholder = u"########"_s;

namespace {

constexpr quint16 AccessGranted = 2;
constexpr quint16 AccessDenied = 1;
constexpr quint16 AccessMask = 0x3;
constexpr quint16 PosModeBit = 0x4;
constexpr quint16 FullScreenBit = 0x8;

void appendU16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

quint16 readU16(const QByteArray &bytes, qsizetype pos)
{
    return qFromLittleEndian<quint16>(bytes.constData() + pos);
}

} // namespace

QByteArray serializeUsers(const QList<AppUser> &users)
{
    QByteArray out;
    for (const AppUser &user : users) {
        quint16 flags = user.SettingsAccess ? AccessGranted : AccessDenied;
        if (user.PosMode)
            flags |= PosModeBit;
        if (user.FullScreen)
            flags |= FullScreenBit;
        appendU16(out, flags);
        for (const QString &text : {user.Name, user.Password}) {
            const QByteArray scrambled = scramble(text);
            appendU16(out, quint16(scrambled.size()));
            out += scrambled;
        }
    }
    return out;
}

void parseUsers(const QByteArray &bytes, QList<AppUser> &users)
{
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    while (n - pos >= 2) {
        AppUser &user = users.emplace_back();
        const quint8 flags = quint8(bytes[pos]);
        user.SettingsAccess = (flags & AccessMask) == AccessGranted;
        user.PosMode = flags & PosModeBit;
        user.FullScreen = flags & FullScreenBit;

        if (n - pos < 4)
            return;
        const quint16 nameLength = readU16(bytes, pos + 2);
        pos += 4;
        // A length running past the end means the value was cut: the user keeps
        // an empty text and nothing after it is read, so the bytes of a cut
        // name or password never turn into further (empty-password) users.
        if (nameLength > n - pos)
            return;
        user.Name = unscramble(bytes.mid(pos, nameLength));
        pos += nameLength;

        if (n - pos < 2)
            return;
        const quint16 passwordLength = readU16(bytes, pos);
        pos += 2;
        if (passwordLength > n - pos)
            return;
        user.Password = unscramble(bytes.mid(pos, passwordLength));
        pos += passwordLength;
    }
}

qsizetype findUser(const QList<AppUser> &users, const QString &name, const QString &password)
{
    for (qsizetype i = 0; i < users.size(); ++i) {
        if (users[i].Name == name && users[i].Password == password)
            return i;
    }
    return -1;
}

QString editedPassword(const QString &oldPassword, const QString &typed)
{
    return typed == PasswordPlaceholder ? oldPassword : typed;
}

qsizetype addOrUpdateUser(QList<AppUser> &users, const QString &name, const QString &password,
                          bool settingsAccess)
{
    for (qsizetype i = 0; i < users.size(); ++i) {
        if (users[i].Name == name) {
            users[i].Password = password;
            users[i].SettingsAccess = settingsAccess;
            return i;
        }
    }
    users.append({name, password, settingsAccess, false, false});
    return users.size() - 1;
}

QString userDisplayName(const AppUser &user)
{
    return user.Name.isEmpty() ? QCoreApplication::translate("ProgramUsers", "< vazio >") : user.Name;
}

std::optional<QString> appUserNameProblem(const QString &name)
{
    if (!hasControlCharacter(name))
        return std::nullopt;
    return controlCharacterText(QCoreApplication::translate("ProgramUsers", "Nome do Usuário"));
}
