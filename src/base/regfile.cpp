#include "regfile.h"

#include <QStringList>
#include <QtEndian>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString HeaderV5 = u"Windows Registry Editor Version 5.00"_s;
const QString HeaderV4 = u"REGEDIT4"_s;

// Windows-1252 from 0x80 to 0x9F. The five bytes the code page leaves
// undefined stand for the control characters of the same number, as Windows
// converts them, so every byte reads and writes back unchanged.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t fromWindows1252(uchar byte)
{
    return byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char16_t(byte);
}

std::optional<char> toWindows1252(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    for (int i = 0; i < 32; ++i) {
        if (Windows1252High[i] == unit)
            return char(0x80 + i);
    }
    return std::nullopt;
}

bool isTextType(quint32 type)
{
    return type == RegString || type == RegExpandString || type == RegMultiString;
}

// REGEDIT4 files give typed texts (hex(1), hex(2), hex(7)) as 8-bit
// Windows-1252 bytes; the registry keeps them as UTF-16LE.
QByteArray fromAnsiText(const QByteArray &bytes)
{
    QByteArray out(bytes.size() * 2, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        qToLittleEndian<quint16>(fromWindows1252(uchar(bytes[i])), out.data() + 2 * i);
    return out;
}

std::optional<QByteArray> toAnsiText(const QByteArray &data)
{
    if (data.size() % 2 != 0)
        return std::nullopt;
    QByteArray out;
    out.reserve(data.size() / 2);
    for (qsizetype i = 0; i < data.size(); i += 2) {
        std::optional<char> byte = toWindows1252(qFromLittleEndian<quint16>(data.constData() + i));
        if (!byte)
            return std::nullopt;
        out.append(*byte);
    }
    return out;
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

std::optional<RegValue> parseData(QStringView data, bool regedit4)
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
        if (regedit4 && isTextType(type))
            return RegValue{type, fromAnsiText(*bytes)};
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
QStringList hexLines(QString line, const QByteArray &bytes)
{
    QStringList out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        QString piece = u"%1"_s.arg(uchar(bytes[i]), 2, 16, QChar(u'0'));
        if (i + 1 < bytes.size())
            piece += u',';
        if (line.size() + piece.size() > 78 && i + 1 < bytes.size()) {
            out.append(line + u'\\');
            line = u"  "_s;
        }
        line += piece;
    }
    out.append(line);
    return out;
}

bool isSixteenBit(RegFileEncoding encoding)
{
    return encoding == RegFileEncoding::Utf16LE || encoding == RegFileEncoding::Utf16BE;
}

} // namespace

RegFile::RegFile() = default;

RegFile::RegFile(const QByteArray &bytes)
{
    if (bytes.size() > MaxRegFileSize) {
        m_state = State::Unrecognised;
        m_original = bytes;
        return;
    }

    // A byte-order mark names the encoding. Without one, the first character
    // (a blank or the header's first letter, never NUL) tells UTF-16 by its
    // zero byte, and the header tells the 8-bit forms apart.
    qsizetype from = 0;
    bool eightBit = false;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        from = 3;
    } else if (bytes.startsWith("\xFF\xFE")) {
        m_encoding = RegFileEncoding::Utf16LE;
        from = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        m_encoding = RegFileEncoding::Utf16BE;
        from = 2;
    } else if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
        m_encoding = RegFileEncoding::Utf16LE;
    } else if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] != '\0') {
        m_encoding = RegFileEncoding::Utf16BE;
    } else {
        eightBit = true;
    }
    // Half a UTF-16 character at the end: cut short, not to be completed by us.
    if (isSixteenBit(m_encoding) && (bytes.size() - from) % 2 != 0) {
        m_state = State::Unrecognised;
        m_original = bytes;
        return;
    }
    m_prefix = bytes.first(from);
    readLines(bytes, from);

    const QList<Entry> found = entries();
    const auto header = std::find_if(found.cbegin(), found.cend(),
                                     [](const Entry &e) { return e.kind == EntryKind::Header; });
    if (header == found.cend()) {
        // Blank: nothing to keep, the first write starts the file afresh.
        m_state = State::Empty;
        return;
    }
    QString headerText;
    for (qsizetype i = header->first; i < header->first + header->count; ++i)
        headerText += m_lines[i].text;
    headerText = headerText.trimmed();
    if (header->count == 1 && headerText == HeaderV4) {
        m_regedit4 = true;
        if (eightBit) {
            m_encoding = RegFileEncoding::Windows1252;
            decodeLines();
        }
    } else if (header->count != 1 || headerText != HeaderV5) {
        m_state = State::Unrecognised;
        m_original = bytes;
        m_prefix.clear();
        m_lines.clear();
        return;
    }
    m_state = State::Recognised;
}

bool RegFile::namesValue(EntryKind kind)
{
    return kind == EntryKind::Value || kind == EntryKind::Deletion || kind == EntryKind::Damaged;
}

void RegFile::readLines(const QByteArray &bytes, qsizetype from)
{
    const qsizetype width = isSixteenBit(m_encoding) ? 2 : 1;
    const auto unitAt = [&](qsizetype pos) -> char16_t {
        if (width == 1)
            return uchar(bytes[pos]);
        return m_encoding == RegFileEncoding::Utf16LE ? qFromLittleEndian<quint16>(bytes.constData() + pos)
                                                      : qFromBigEndian<quint16>(bytes.constData() + pos);
    };
    qsizetype pos = from;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && unitAt(end) != u'\n')
            end += width;
        Line line;
        if (end < bytes.size()) {
            qsizetype contentEnd = end;
            if (contentEnd > pos && unitAt(contentEnd - width) == u'\r')
                contentEnd -= width;
            line.raw = bytes.sliced(pos, contentEnd - pos);
            line.end = contentEnd == end ? u"\n"_s : u"\r\n"_s;
            pos = end + width;
        } else {
            line.raw = bytes.sliced(pos);
            pos = bytes.size();
        }
        m_lines.append(line);
    }
    // New lines end as the file's first line does.
    for (const Line &line : std::as_const(m_lines)) {
        if (!line.end.isEmpty()) {
            m_lineEnd = line.end;
            break;
        }
    }
    decodeLines();
}

void RegFile::decodeLines()
{
    for (Line &line : m_lines)
        line.text = decode(line.raw);
}

QString RegFile::decode(QByteArrayView bytes) const
{
    QString text;
    switch (m_encoding) {
    case RegFileEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case RegFileEncoding::Windows1252:
        text.reserve(bytes.size());
        for (char byte : bytes)
            text += QChar(fromWindows1252(uchar(byte)));
        return text;
    case RegFileEncoding::Utf16LE:
    case RegFileEncoding::Utf16BE:
        // Unit by unit, so that even a lone surrogate is read as it stands.
        text.reserve(bytes.size() / 2);
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
            text +=
                QChar(m_encoding == RegFileEncoding::Utf16LE ? qFromLittleEndian<quint16>(bytes.data() + i)
                                                             : qFromBigEndian<quint16>(bytes.data() + i));
        }
        return text;
    }
    return text;
}

std::optional<QByteArray> RegFile::encode(const QString &text) const
{
    QByteArray out;
    switch (m_encoding) {
    case RegFileEncoding::Utf8:
        return text.toUtf8();
    case RegFileEncoding::Windows1252:
        out.reserve(text.size());
        for (QChar c : text) {
            std::optional<char> byte = toWindows1252(c.unicode());
            if (!byte)
                return std::nullopt;
            out.append(*byte);
        }
        return out;
    case RegFileEncoding::Utf16LE:
    case RegFileEncoding::Utf16BE:
        out.resize(text.size() * 2);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (m_encoding == RegFileEncoding::Utf16LE)
                qToLittleEndian<quint16>(text[i].unicode(), out.data() + 2 * i);
            else
                qToBigEndian<quint16>(text[i].unicode(), out.data() + 2 * i);
        }
        return out;
    }
    return out;
}

QList<RegFile::Entry> RegFile::entries(QStringView keyPath) const
{
    QList<Entry> out;
    bool headerSeen = false;
    bool inSection = false;
    bool inKey = false;
    for (qsizetype i = 0; i < m_lines.size();) {
        Entry entry;
        entry.first = i;
        // A line ending in a backslash continues on the next one (regedit
        // wraps long hex values that way; no complete value line ends so).
        QString text;
        for (;;) {
            QStringView piece = QStringView(m_lines[i].text).trimmed();
            ++i;
            const bool continued = piece.endsWith(u'\\');
            text += continued ? piece.chopped(1) : piece;
            if (!continued || i == m_lines.size())
                break;
        }
        entry.count = i - entry.first;

        const QStringView line = QStringView(text).trimmed();
        if (line.isEmpty()) {
            entry.kind = EntryKind::Blank;
        } else if (!headerSeen) {
            entry.kind = EntryKind::Header;
            headerSeen = true;
        } else if (line.startsWith(u';')) {
            entry.kind = EntryKind::Other;
        } else if (line.startsWith(u'[')) {
            entry.kind = EntryKind::Section;
            inSection = true;
            inKey = line.endsWith(u']') && !keyPath.isNull() &&
                    line.sliced(1, line.size() - 2).trimmed().compare(keyPath, Qt::CaseInsensitive) == 0;
        } else if (inSection) {
            QString name;
            qsizetype pos = 0;
            bool named = true;
            if (line.startsWith(u'@')) {
                pos = 1;
            } else if (std::optional<QString> quoted = readQuoted(line, pos)) {
                name = *quoted;
            } else {
                named = false;
            }
            QStringView rest = line.mid(pos).trimmed();
            if (named) {
                // A line that names a value but whose data cannot be read
                // (cut short, a digit that is no hex digit) is still that
                // value's line: a write replaces it rather than adding a
                // second line of the value.
                entry.kind = EntryKind::Damaged;
                entry.name = name;
            }
            if (named && rest.startsWith(u'=')) {
                rest = rest.mid(1).trimmed();
                if (rest == u"-") {
                    entry.kind = EntryKind::Deletion;
                } else if (std::optional<RegValue> value = parseData(rest, m_regedit4)) {
                    entry.kind = EntryKind::Value;
                    entry.value = *value;
                    entry.quotedText = rest.startsWith(u'"');
                }
            }
        }
        entry.inKey = inKey;
        out.append(entry);
    }
    return out;
}

std::optional<RegKeyValues> RegFile::keyValues(QStringView keyPath) const
{
    if (m_state != State::Recognised)
        return std::nullopt;
    std::optional<RegKeyValues> key;
    for (const Entry &entry : entries(keyPath)) {
        if (!entry.inKey)
            continue;
        if (entry.kind == EntryKind::Section) {
            if (!key)
                key = RegKeyValues{};
        } else if (entry.kind == EntryKind::Value) {
            setRegValue(*key, entry.name, entry.value);
        } else if (entry.kind == EntryKind::Deletion) {
            key->removeIf(
                [&](const NamedRegValue &v) { return v.name.compare(entry.name, Qt::CaseInsensitive) == 0; });
        }
    }
    return key;
}

QStringList RegFile::damagedValues(QStringView keyPath) const
{
    QStringList damaged;
    if (m_state != State::Recognised)
        return damaged;
    const auto removeName = [&damaged](const QString &name) {
        damaged.removeIf([&](const QString &n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
    };
    for (const Entry &entry : entries(keyPath)) {
        if (!entry.inKey || !namesValue(entry.kind))
            continue;
        removeName(entry.name);
        if (entry.kind == EntryKind::Damaged)
            damaged.append(entry.name);
    }
    return damaged;
}

std::optional<QStringList> RegFile::render(const QString &name, const RegValue &value, bool regedit4) const
{
    const QString head = name.isEmpty() ? u"@="_s : u"\""_s + escaped(name) + u"\"="_s;
    if (std::optional<QString> text = plainText(value))
        return QStringList{head + u"\""_s + escaped(*text) + u"\""_s};
    if (value.type == RegDWord && value.data.size() == 4) {
        return QStringList{
            head + u"dword:%1"_s.arg(qFromLittleEndian<quint32>(value.data.constData()), 8, 16, QChar(u'0'))};
    }
    QByteArray data = value.data;
    if (regedit4 && isTextType(value.type)) {
        std::optional<QByteArray> ansi = toAnsiText(data);
        if (!ansi)
            return std::nullopt;
        data = *ansi;
    }
    return hexLines(head + (value.type == RegBinary ? u"hex:"_s : u"hex(%1):"_s.arg(value.type, 0, 16)),
                    data);
}

std::optional<QList<RegFile::Line>> RegFile::renderLines(const QString &name, const RegValue &value) const
{
    const std::optional<QStringList> texts = render(name, value, m_regedit4);
    if (!texts)
        return std::nullopt;
    QList<Line> lines;
    for (const QString &text : *texts) {
        std::optional<QByteArray> raw = encode(text);
        if (!raw)
            return std::nullopt;
        lines.append({text, *raw, m_lineEnd});
    }
    return lines;
}

// Only for texts every encoding holds.
RegFile::Line RegFile::makeLine(const QString &text) const
{
    return {text, encode(text).value_or(QByteArray()), m_lineEnd};
}

void RegFile::startFile()
{
    m_lines.clear();
    m_regedit4 = false;
    m_lines.append(makeLine(HeaderV5));
    m_state = State::Recognised;
}

// A REGEDIT4 file that must take a value it cannot hold becomes a version 5.00
// file, in UTF-8 when it was in Windows-1252: every line keeps its text, the
// typed texts given as 8-bit bytes are written again as UTF-16LE.
void RegFile::convertToOwnForm()
{
    const QList<Entry> list = entries();
    const bool reencode = m_encoding == RegFileEncoding::Windows1252;
    if (reencode) {
        m_encoding = RegFileEncoding::Utf8;
        m_prefix.clear();
    }
    QList<Line> lines;
    for (const Entry &entry : list) {
        std::optional<QStringList> texts;
        if (entry.kind == EntryKind::Header)
            texts = QStringList{HeaderV5};
        else if (entry.kind == EntryKind::Value && !entry.quotedText && isTextType(entry.value.type))
            texts = render(entry.name, entry.value, false);
        if (!texts) {
            for (qsizetype i = entry.first; i < entry.first + entry.count; ++i) {
                Line line = m_lines[i];
                if (reencode)
                    line.raw = encode(line.text).value_or(QByteArray());
                lines.append(line);
            }
            continue;
        }
        for (const QString &text : std::as_const(*texts))
            lines.append(makeLine(text));
        lines.last().end = m_lines[entry.first + entry.count - 1].end;
    }
    m_lines = lines;
    m_regedit4 = false;
}

bool RegFile::setValues(QStringView keyPath, const RegKeyValues &values)
{
    if (m_state == State::Unrecognised || keyPath.contains(u'\n'))
        return false;
    for (const NamedRegValue &v : values) {
        if (v.name.contains(u'\n'))
            return false;
    }
    if (m_state == State::Empty)
        startFile();

    const QString sectionLine = u"["_s + keyPath.toString() + u"]"_s;
    if (m_regedit4 && !encode(sectionLine))
        convertToOwnForm();
    const QList<Entry> list = entries(keyPath);
    if (std::none_of(list.cbegin(), list.cend(),
                     [](const Entry &e) { return e.kind == EntryKind::Section && e.inKey; })) {
        // A new section at the end, set off by a blank line.
        if (!m_lines.isEmpty() && m_lines.last().end.isEmpty())
            m_lines.last().end = m_lineEnd;
        if (!m_lines.isEmpty() && !m_lines.last().text.trimmed().isEmpty())
            m_lines.append(makeLine(QString()));
        m_lines.append({sectionLine, encode(sectionLine).value_or(QByteArray()), m_lineEnd});
        m_lines.append(makeLine(QString()));
    }

    for (const NamedRegValue &v : values) {
        if (m_regedit4 && !renderLines(v.name, v.value))
            convertToOwnForm();
        setValue(keyPath, v.name, v.value);
    }
    return true;
}

void RegFile::setValue(QStringView keyPath, const QString &name, const RegValue &value)
{
    const QList<Entry> list = entries(keyPath);
    QList<qsizetype> naming; // the key's lines of this value, in file order
    qsizetype lastSection = -1;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Entry &entry = list[i];
        if (!entry.inKey)
            continue;
        if (entry.kind == EntryKind::Section)
            lastSection = i;
        else if (namesValue(entry.kind) && entry.name.compare(name, Qt::CaseInsensitive) == 0)
            naming.append(i);
    }
    if (lastSection < 0)
        return;

    if (!naming.isEmpty()) {
        // The line that gives the value now takes the new one; earlier lines
        // of the value, which it overrides, go, so the file holds the value
        // once.
        const Entry &entry = list[naming.last()];
        if (entry.kind == EntryKind::Value && entry.value == value)
            return;
        // The name keeps the spelling it has in the file.
        std::optional<QList<Line>> lines = renderLines(entry.name, value);
        if (!lines)
            return;
        lines->last().end = m_lines[entry.first + entry.count - 1].end;
        m_lines.remove(entry.first, entry.count);
        for (qsizetype i = 0; i < lines->size(); ++i)
            m_lines.insert(entry.first + i, (*lines)[i]);
        for (qsizetype i = naming.size() - 2; i >= 0; --i)
            m_lines.remove(list[naming[i]].first, list[naming[i]].count);
        return;
    }

    // After the last line of the key's last section that is not blank.
    std::optional<QList<Line>> lines = renderLines(name, value);
    if (!lines)
        return;
    qsizetype after = lastSection;
    for (qsizetype i = lastSection + 1; i < list.size() && list[i].kind != EntryKind::Section; ++i) {
        if (list[i].kind != EntryKind::Blank)
            after = i;
    }
    qsizetype at = list[after].first + list[after].count;
    if (m_lines[at - 1].end.isEmpty())
        m_lines[at - 1].end = m_lineEnd;
    // A last line left continued would take the new value in: a blank line
    // ends it, as the end of the file did.
    if (QStringView(m_lines[at - 1].text).trimmed().endsWith(u'\\'))
        m_lines.insert(at++, makeLine(QString()));
    for (qsizetype i = 0; i < lines->size(); ++i)
        m_lines.insert(at + i, (*lines)[i]);
}

QByteArray RegFile::toBytes() const
{
    if (m_state == State::Unrecognised)
        return m_original;
    const QByteArray lf = encode(u"\n"_s).value_or(QByteArray());
    const QByteArray crlf = encode(u"\r\n"_s).value_or(QByteArray());
    QByteArray out = m_prefix;
    for (const Line &line : m_lines) {
        out += line.raw;
        if (!line.end.isEmpty())
            out += line.end.size() == 1 ? lf : crlf;
    }
    return out;
}

std::optional<RegKeyValues> parseRegFile(const QByteArray &bytes, QStringView keyPath)
{
    return RegFile(bytes).keyValues(keyPath);
}

QByteArray formatRegFile(QStringView keyPath, const RegKeyValues &values)
{
    RegFile file;
    if (!file.setValues(keyPath, values))
        return QByteArray();
    return file.toBytes();
}
