#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Registry value types, numbered as the Windows registry numbers them.
enum RegType : quint32
{
    RegNone = 0,
    RegString = 1,
    RegExpandString = 2,
    RegBinary = 3,
    RegDWord = 4,
    RegMultiString = 7,
    RegQWord = 11,
};

// One registry value: its type and its raw bytes as the registry keeps them
// (texts as UTF-16LE with their terminating NUL, DWORDs as 4 bytes little-endian).
struct RegValue
{
    quint32 type = RegBinary;
    QByteArray data;

    friend bool operator==(const RegValue &, const RegValue &) = default;
};

struct NamedRegValue
{
    QString name;
    RegValue value;

    friend bool operator==(const NamedRegValue &, const NamedRegValue &) = default;
};

// The values of one key, in the order they are stored. Names compare ignoring
// case, as the registry compares them.
using RegKeyValues = QList<NamedRegValue>;

RegValue dwordValue(quint32 value);
RegValue stringValue(const QString &text);
RegValue binaryValue(const QByteArray &bytes);

const RegValue *findRegValue(const RegKeyValues &values, const QString &name);
// Replaces the value of that name (keeping its place and stored spelling) or appends it.
void setRegValue(RegKeyValues &values, const QString &name, const RegValue &value);
