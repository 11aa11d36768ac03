#include "regvalue.h"

#include <QtEndian>

RegValue dwordValue(quint32 value)
{
    QByteArray data(4, '\0');
    qToLittleEndian(value, data.data());
    return {RegDWord, data};
}

RegValue stringValue(const QString &text)
{
    QByteArray data;
    data.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        data.append(char(c.unicode() & 0xFF));
        data.append(char(c.unicode() >> 8));
    }
    data.append(2, '\0');
    return {RegString, data};
}

RegValue binaryValue(const QByteArray &bytes)
{
    return {RegBinary, bytes};
}

const RegValue *findRegValue(const RegKeyValues &values, const QString &name)
{
    for (const NamedRegValue &v : values) {
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v.value;
    }
    return nullptr;
}

void setRegValue(RegKeyValues &values, const QString &name, const RegValue &value)
{
    for (NamedRegValue &v : values) {
        if (v.name.compare(name, Qt::CaseInsensitive) == 0) {
            v.value = value;
            return;
        }
    }
    values.append({name, value});
}
