#include "regfile.h"

#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

const QString HeaderV5 = u"Windows Registry Editor Version 5.00"_s;
const QString HeaderV4 = u"REGEDIT4"_s;

QString decodeFile(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringConverter::Utf16LE);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(QByteArrayView(bytes).sliced(3));
    return QString::fromUtf8(bytes);
}

// Splits into logical lines: a line ending in a backslash continues on the next
// one (regedit wraps long hex values that way; no complete value line ends so).
QStringList logicalLines(const QString &text)
{
    QStringList lines;
    QString pending;
    for (QStringView raw : QStringView(text).split(u'\n')) {
        QStringView line = raw.trimmed();
        if (line.endsWith(u'\\')) {
            pending += line.chopped(1);
            continue;
        }
        lines.append(pending + line.toString());
        pending.clear();
    }
    if (!pending.isEmpty())
        lines.append(pending);
    return lines;
}

// Reads a double-quoted text starting at `pos` (on the opening quote), undoing
// the backslash escapes; `pos` ends after the closing quote.
std::optional<QString> readQuoted(QStringView line, qsizetype &pos)
{
    if (pos >= line.size() || line[pos] != u'"')
        return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        QChar c = line[pos];
        if (c == u'\\' && pos + 1 < line.size() && (line[pos + 1] == u'\\' || line[pos + 1] == u'"')) {
            out += line[++pos];
        } else if (c == u'"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> parseHexBytes(QStringView list)
{
    QByteArray out;
    list = list.trimmed();
    if (list.isEmpty())
        return out;
    for (QStringView item : list.split(u',')) {
        item = item.trimmed();
        bool ok = false;
        uint byte = item.toUInt(&ok, 16);
        if (!ok || item.size() > 2)
            return std::nullopt;
        out.append(char(byte));
    }
    return out;
}

std::optional<RegValue> parseData(QStringView data)
{
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        std::optional<QString> text = readQuoted(data, pos);
        if (!text)
            return std::nullopt;
        return stringValue(*text);
    }
    if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        QStringView digits = data.mid(6).trimmed();
        bool ok = false;
        uint value = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        return dwordValue(value);
    }
    if (data.startsWith(u"hex:", Qt::CaseInsensitive)) {
        std::optional<QByteArray> bytes = parseHexBytes(data.mid(4));
        if (!bytes)
            return std::nullopt;
        return binaryValue(*bytes);
    }
    if (data.startsWith(u"hex(", Qt::CaseInsensitive)) {
        qsizetype close = data.indexOf(u"):");
        if (close < 0)
            return std::nullopt;
        bool ok = false;
        uint type = data.mid(4, close - 4).toUInt(&ok, 16);
        std::optional<QByteArray> bytes = parseHexBytes(data.mid(close + 2));
        if (!ok || !bytes)
            return std::nullopt;
        return RegValue{type, *bytes};
    }
    return std::nullopt;
}

// A text can be written as "..." when it is a plain NUL-terminated UTF-16 text
// without line breaks or lone surrogates; anything else is written as hex(1) so that it reads back
// byte for byte.
std::optional<QString> plainText(const RegValue &value)
{
    const QByteArray &d = value.data;
    if (value.type != RegString || d.size() < 2 || d.size() % 2 != 0 || !d.endsWith(QByteArray(2, '\0')))
        return std::nullopt;
    QString text;
    for (qsizetype i = 0; i + 2 < d.size(); i += 2) {
        char16_t unit = qFromLittleEndian<quint16>(d.constData() + i);
        if (unit == 0 || unit == u'\r' || unit == u'\n')
            return std::nullopt;
        text += QChar(unit);
    }
    // A lone surrogate has no UTF-8 form; hex keeps it.
    if (!QStringView(text).isValidUtf16())
        return std::nullopt;
    return text;
}

QString escaped(const QString &text)
{
    QString out = text;
    out.replace(u"\\"_s, u"\\\\"_s);
    out.replace(u"\""_s, u"\\\""_s);
    return out;
}

// regedit's layout for hex data: lines of at most 80 characters, continued with
// a trailing backslash and indented by two blanks.
QString hexLines(QString line, const QByteArray &bytes)
{
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        QString piece = u"%1"_s.arg(uchar(bytes[i]), 2, 16, QChar(u'0'));
        if (i + 1 < bytes.size())
            piece += u',';
        if (line.size() + piece.size() > 78 && i + 1 < bytes.size()) {
            out += line + u"\\\n"_s;
            line = u"  "_s;
        }
        line += piece;
    }
    return out + line;
}

} // namespace

std::optional<RegKeyValues> parseRegFile(const QByteArray &bytes, QStringView keyPath)
{
    const QStringList lines = logicalLines(decodeFile(bytes));
    qsizetype first = 0;
    while (first < lines.size() && lines[first].trimmed().isEmpty())
        ++first;
    if (first == lines.size())
        return std::nullopt;
    const QString header = lines[first].trimmed();
    if (header != HeaderV5 && header != HeaderV4)
        return std::nullopt;

    std::optional<RegKeyValues> key;
    bool inKey = false;
    for (qsizetype i = first + 1; i < lines.size(); ++i) {
        QStringView line = QStringView(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            inKey = line.endsWith(u']') &&
                    line.sliced(1, line.size() - 2).trimmed().compare(keyPath, Qt::CaseInsensitive) == 0;
            if (inKey && !key)
                key = RegKeyValues{};
            continue;
        }
        if (!inKey)
            continue;

        QString name;
        qsizetype pos = 0;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else {
            std::optional<QString> quoted = readQuoted(line, pos);
            if (!quoted)
                continue;
            name = *quoted;
        }
        QStringView rest = line.mid(pos).trimmed();
        if (!rest.startsWith(u'='))
            continue;
        rest = rest.mid(1).trimmed();
        if (rest == u"-") {
            key->removeIf(
                [&](const NamedRegValue &v) { return v.name.compare(name, Qt::CaseInsensitive) == 0; });
            continue;
        }
        if (std::optional<RegValue> value = parseData(rest))
            setRegValue(*key, name, *value);
    }
    return key;
}

QByteArray formatRegFile(QStringView keyPath, const RegKeyValues &values)
{
    QString out = HeaderV5 + u"\n\n["_s + keyPath.toString() + u"]\n"_s;
    for (const NamedRegValue &v : values) {
        QString line = v.name.isEmpty() ? u"@="_s : u"\""_s + escaped(v.name) + u"\"="_s;
        if (std::optional<QString> text = plainText(v.value)) {
            line += u"\""_s + escaped(*text) + u"\""_s;
        } else if (v.value.type == RegDWord && v.value.data.size() == 4) {
            line +=
                u"dword:%1"_s.arg(qFromLittleEndian<quint32>(v.value.data.constData()), 8, 16, QChar(u'0'));
        } else {
            line = hexLines(
                line + (v.value.type == RegBinary ? u"hex:"_s : u"hex(%1):"_s.arg(v.value.type, 0, 16)),
                v.value.data);
        }
        out += line + u'\n';
    }
    out += u'\n';
    return out.toUtf8();
}
