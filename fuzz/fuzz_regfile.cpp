// Registry export files from any bytes: parsing never fails badly, and a key
// parsed from a file (plus values made from the input) is written and parsed
// back with every value's type and bytes unchanged.

#include "fuzzcheck.h"

#include "base/regfile.h"
#include "base/settingskey.h"

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

    // regedit writes CRLF line ends; they read like LF ones.
    if (!input.startsWith("\xFF\xFE")) {
        QByteArray crlf = input;
        crlf.replace("\n", "\r\n");
        require(sameKey(parseRegFile(crlf, SettingsKeyPath), key), "CRLF line ends read like LF ones");
    }
    return 0;
}
