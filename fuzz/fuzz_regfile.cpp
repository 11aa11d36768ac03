// Registry export files from any bytes: parsing never fails badly, and a key
// parsed from a file (plus values made from the input) is written and parsed
// back with every value's type and bytes unchanged. A file read and not
// changed gives back its bytes; changing values in it leaves every other key
// as it was, gives the key exactly the values set, and an unrecognised file
// takes no change at all.

#include "fuzzcheck.h"

#include "base/regfile.h"
#include "base/settingskey.h"

#include <QStringList>

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
    changes.append({u"FuzzDword"_s, dwordValue(quint32(input.size()))});
    changes.append(
        {u"FuzzText"_s, RegValue{RegString, input.first(input.size() & ~1) + QByteArray(2, '\0')}});

    if (!file.isRecognised()) {
        require(!file.setValues(SettingsKeyPath, changes), "an unrecognised file takes no change");
        require(file.toBytes() == input, "an unrecognised file keeps its bytes");
        return;
    }
    require(file.setValues(SettingsKeyPath, changes), "a recognised file takes changes");
    const QByteArray changedFile = file.toBytes();
    const RegFile reread(changedFile);
    require(reread.isRecognised(), "a changed file is recognised");

    RegKeyValues expected = key.value_or(RegKeyValues{});
    for (const NamedRegValue &v : changes)
        setRegValue(expected, v.name, v.value);
    require(sameKey(reread.keyValues(SettingsKeyPath), expected),
            "the key holds what it held and the changes");
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
