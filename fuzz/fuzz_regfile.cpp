// Registry export files from any bytes: parsing never fails badly, and a key
// parsed from a file (plus values made from the input) is written and parsed
// back with every value's type and bytes unchanged. A file read and not
// changed gives back its bytes; changing values in it leaves every other key
// as it was, gives the key exactly the values set, each changed value on one
// line of the key, and every other line of the file stays; an unrecognised
// file takes no change at all.

#include "fuzzcheck.h"

#include "base/regfile.h"
#include "base/settingskey.h"

#include <QStringList>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool sameKey(const RegKeyValues &a, const RegKeyValues &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].value != b[i].value)
            return false;
    }
    return true;
}

bool sameKey(const std::optional<RegKeyValues> &a, const std::optional<RegKeyValues> &b)
{
    return a.has_value() == b.has_value() && (!a || sameKey(*a, *b));
}

// The key after a change holds the values it held and the changes, each once.
// The values not changed keep their names and order. A changed value need not
// keep its place or the spelling of its name: it is written on the line that
// gave it, which in a file naming it more than once (a key given twice, a line
// deleting it, a damaged line) can come after the line that placed it first.
bool holdsChanges(const RegKeyValues &after, const RegKeyValues &before, const RegKeyValues &changes)
{
    const auto unchanged = [&changes](const RegKeyValues &values) {
        RegKeyValues out;
        for (const NamedRegValue &v : values) {
            if (!findRegValue(changes, v.name))
                out.append(v);
        }
        return out;
    };
    if (!sameKey(unchanged(after), unchanged(before)))
        return false;
    for (const NamedRegValue &change : changes) {
        const RegValue *value = findRegValue(after, change.name);
        if (!value || *value != change.value)
            return false;
    }
    return true;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A logical line of a file (lines ending in a backslash joined to the next),
// as the format reads: whether it lies in a section of the program's key, and
// the value it names when it starts with "name" or @.
struct LogicalLine
{
    QString text;
    bool inKey = false;
    std::optional<QString> name;

    friend bool operator==(const LogicalLine &, const LogicalLine &) = default;
};

// A double-quoted name at the start of the line, \\ and \" undone.
std::optional<QString> quotedName(const QString &line)
{
    QString name;
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (line[i] == u'\\' && i + 1 < line.size() && (line[i + 1] == u'\\' || line[i + 1] == u'"'))
            name += line[++i];
        else if (line[i] == u'"')
            return name;
        else
            name += line[i];
    }
    return std::nullopt;
}

// The non-blank logical lines of a version 5.00 file in UTF-8.
QList<LogicalLine> logicalLines(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QList<QByteArray> raw = bytes.split('\n');
    QList<LogicalLine> out;
    bool headerSeen = false;
    bool inSection = false;
    bool inKey = false;
    for (qsizetype i = 0; i < raw.size();) {
        QString text;
        for (;;) {
            QByteArrayView rawLine = raw[i++];
            if (rawLine.endsWith('\r'))
                rawLine.chop(1);
            const QString piece = QString::fromUtf8(rawLine).trimmed();
            const bool continued = piece.endsWith(u'\\');
            text += continued ? piece.chopped(1) : piece;
            if (!continued || i == raw.size())
                break;
        }
        text = text.trimmed();
        if (text.isEmpty())
            continue;
        LogicalLine line;
        line.text = text;
        if (!headerSeen) {
            headerSeen = true;
        } else if (text.startsWith(u'[')) {
            inSection = true;
            inKey = text.endsWith(u']') && sameName(text.mid(1, text.size() - 2).trimmed(), SettingsKeyPath);
        } else if (inSection && !text.startsWith(u';')) {
            if (text.startsWith(u'@'))
                line.name = QString();
            else if (text.startsWith(u'"'))
                line.name = quotedName(text);
        }
        line.inKey = inKey;
        out.append(line);
    }
    return out;
}

// Lines of a version 5.00 UTF-8 file that held the key: each value the change
// rewrote is named on one line of the key, and every other line is as it was.
void checkLines(const QByteArray &input, const QByteArray &changedFile, const QStringList &rewritten)
{
    const auto isRewritten = [&rewritten](const LogicalLine &line) {
        return line.inKey && line.name &&
               std::any_of(rewritten.cbegin(), rewritten.cend(),
                           [&line](const QString &name) { return sameName(name, *line.name); });
    };
    QList<LogicalLine> before = logicalLines(input);
    QList<LogicalLine> after = logicalLines(changedFile);
    for (const QString &name : rewritten) {
        require(std::count_if(after.cbegin(), after.cend(),
                              [&name](const LogicalLine &line) {
                                  return line.inKey && line.name && sameName(*line.name, name);
                              }) == 1,
                "a changed value is named on one line of the key");
    }
    before.removeIf(isRewritten);
    after.removeIf(isRewritten);
    require(before == after, "lines of other values, other keys, comments and unknown lines stay");
}

// Keys a file may hold besides the program's, as the dictionary gives them.
const QStringList OtherKeys = {
    u"HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems"_s,
    u"HKEY_CURRENT_USER\\SOFTWARE\\Talpa Systems\\wifiTicketer\\Window"_s,
};

void checkChanges(const QByteArray &input, const std::optional<RegKeyValues> &key)
{
    RegFile file(input);
    require(file.toBytes() == input, "a file read and not changed gives back its bytes");

    // A value of the key changed (when there is one), and new ones.
    RegKeyValues changes;
    if (key && !key->isEmpty()) {
        RegValue changed = key->first().value;
        changed.data.append('\x01');
        changes.append({key->first().name, changed});
    }
    // (Set one after another: a later change of the same name wins.)
    setRegValue(changes, u"FuzzDword"_s, dwordValue(quint32(input.size())));
    setRegValue(changes, u"FuzzText"_s,
                RegValue{RegString, input.first(input.size() & ~1) + QByteArray(2, '\0')});

    if (!file.isRecognised()) {
        require(!file.setValues(SettingsKeyPath, changes), "an unrecognised file takes no change");
        require(file.toBytes() == input, "an unrecognised file keeps its bytes");
        return;
    }
    require(file.setValues(SettingsKeyPath, changes), "a recognised file takes changes");
    const QByteArray changedFile = file.toBytes();
    const RegFile reread(changedFile);
    require(reread.isRecognised(), "a changed file is recognised");

    const std::optional<RegKeyValues> after = reread.keyValues(SettingsKeyPath);
    require(after && holdsChanges(*after, key.value_or(RegKeyValues{}), changes),
            "the key holds what it held and the changes");
    const QStringList damagedAfter = reread.damagedValues(SettingsKeyPath);
    for (const NamedRegValue &v : changes)
        require(!damagedAfter.contains(v.name, Qt::CaseInsensitive), "a changed value's line reads");

    // A value is rewritten unless its line already gives the data set.
    const RegFile original(input);
    if (key && original.encoding() == RegFileEncoding::Utf8 && !original.isRegedit4()) {
        const QStringList damaged = original.damagedValues(SettingsKeyPath);
        QStringList rewritten;
        for (const NamedRegValue &v : changes) {
            const RegValue *held = findRegValue(*key, v.name);
            if (!held || *held != v.value || damaged.contains(v.name, Qt::CaseInsensitive))
                rewritten.append(v.name);
        }
        checkLines(input, changedFile, rewritten);
    }
    for (const QString &other : OtherKeys)
        require(sameKey(reread.keyValues(other), RegFile(input).keyValues(other)),
                "other keys are left as they were");

    RegFile again(changedFile);
    require(again.setValues(SettingsKeyPath, changes) && again.toBytes() == changedFile,
            "setting the same values again changes nothing");
}

// The file is UTF-8, which cannot hold a lone surrogate: in a name it comes back
// as the '?' QString::toUtf8 writes for it.
QString asWritten(const QString &name)
{
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate())
            ++i;
        else if (out[i].isSurrogate())
            out[i] = u'?';
    }
    return out;
}

// Names that then compare equal are one value, as when such a file is read.
RegKeyValues asWritten(const RegKeyValues &values)
{
    RegKeyValues out;
    for (const NamedRegValue &v : values)
        setRegValue(out, asWritten(v.name), v.value);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RegKeyValues> key = parseRegFile(input, SettingsKeyPath);

    // Besides the values of the file, the input's bytes as text values, with and
    // without a terminating NUL: each is written as "..." or as hex(1), as its
    // bytes allow.
    RegKeyValues values = key.value_or(RegKeyValues{});
    setRegValue(values, u"FuzzText"_s,
                RegValue{RegString, input.first(input.size() & ~1) + QByteArray(2, '\0')});
    setRegValue(values, u"FuzzBytes"_s, RegValue{RegString, input});

    const QByteArray file = formatRegFile(SettingsKeyPath, values);
    const std::optional<RegKeyValues> reread = parseRegFile(file, SettingsKeyPath);
    require(reread.has_value(), "a written file holds the key");
    require(sameKey(*reread, asWritten(values)), "every value reads back with its type and bytes");

    checkChanges(input, key);

    // regedit writes CRLF line ends; they read like LF ones (in files of 8-bit
    // characters: a NUL byte or a byte-order mark makes the file UTF-16).
    if (!input.contains('\0') && !input.startsWith("\xFF\xFE") && !input.startsWith("\xFE\xFF")) {
        QByteArray crlf = input;
        crlf.replace("\n", "\r\n");
        require(sameKey(parseRegFile(crlf, SettingsKeyPath), key), "CRLF line ends read like LF ones");
    }
    return 0;
}
