#pragma once

#include "regvalue.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The registry export format, so that a key exported on Windows can be used as
// it is: "Windows Registry Editor Version 5.00" files in UTF-16 (little- or
// big-endian, with or without a byte-order mark) or UTF-8, and "REGEDIT4" files
// in Windows-1252, the 8-bit form regedit writes them in. The program's own form
// is version 5.00 in UTF-8.

// Files larger than this are not read (nor replaced): a settings key is a few
// kilobytes, and a file is held line by line while it is read or changed.
inline constexpr qint64 MaxRegFileSize = 1024 * 1024;

enum class RegFileEncoding
{
    Utf8,
    Windows1252,
    Utf16LE,
    Utf16BE,
};

// One registry export file, kept line by line as it was read, so that it can be
// changed without losing what this program does not understand: other keys,
// comments and lines it cannot read stay byte for byte where they were. A
// changed value replaces the line(s) it stood on; a new value is added at the
// end of the key's section (a missing key is added at the end of the file).
// The file keeps its header, encoding, byte-order mark and line ends; only a
// REGEDIT4 file that must take a value it cannot hold (a text with a character
// Windows-1252 lacks) is turned into the program's own form, every value kept.
class RegFile
{
public:
    // A file with nothing in it yet.
    RegFile();
    // The file of these bytes. A file whose encoding or header is not
    // recognised, or that is larger than MaxRegFileSize, holds no key and
    // takes no change; its bytes stay as they are.
    explicit RegFile(const QByteArray &bytes);

    bool isRecognised() const { return m_state != State::Unrecognised; }
    RegFileEncoding encoding() const { return m_encoding; }
    // The file is of the older "REGEDIT4" format.
    bool isRegedit4() const { return m_regedit4; }

    // The values of the key `keyPath` (compared ignoring case), or nothing when
    // the file does not hold that key. Lines that cannot be understood are
    // skipped; a value given twice takes its later data and keeps the place of
    // its first line (after a line deleting it, of its next one).
    std::optional<RegKeyValues> keyValues(QStringView keyPath) const;

    // The names of the key's values whose line cannot be read: the last line
    // naming the value in the key holds data that is no value (cut short, a
    // digit that is no hex digit, no "="). keyValues skips such lines, so the
    // value reads as missing or as an earlier line gives it.
    QStringList damagedValues(QStringView keyPath) const;

    // Sets these values in the key, adding the key when missing; values equal
    // to what the file holds leave their lines untouched. A changed value takes
    // the place of the line that gives it now, even one whose data cannot be
    // read, and the key's earlier lines of the value go: the key then holds it
    // once, and may read it in another place among its values. False, and
    // nothing changed, when the file is not recognised or a name holds a line
    // break (the format has no way to write one).
    bool setValues(QStringView keyPath, const RegKeyValues &values);

    // The whole file.
    QByteArray toBytes() const;

private:
    enum class State
    {
        Empty,
        Recognised,
        Unrecognised
    };

    struct Line
    {
        QString text;   // without its line end
        QByteArray raw; // the bytes of `text` as they stand in the file
        QString end;    // "\n" or "\r\n"; empty on an unended last line
    };

    enum class EntryKind
    {
        Blank,
        Header,
        Section,
        Value,
        Deletion,
        Damaged, // names a value, but its data cannot be read
        Other
    };

    // Value, Deletion and Damaged lines name a value.
    static bool namesValue(EntryKind kind);

    // A logical line: one line, or several joined by trailing backslashes.
    struct Entry
    {
        EntryKind kind = EntryKind::Other;
        bool inKey = false;      // Section: it is the key asked for; else: it is in such a section
        bool quotedText = false; // Value written as "..."
        qsizetype first = 0;     // its lines
        qsizetype count = 1;
        QString name;   // Value, Deletion, Damaged
        RegValue value; // Value
    };

    void readLines(const QByteArray &bytes, qsizetype from);
    void decodeLines();
    // The logical lines, and which belong to the key `keyPath`.
    QList<Entry> entries(QStringView keyPath = {}) const;

    QString decode(QByteArrayView bytes) const;
    std::optional<QByteArray> encode(const QString &text) const;
    std::optional<QStringList> render(const QString &name, const RegValue &value, bool regedit4) const;
    std::optional<QList<Line>> renderLines(const QString &name, const RegValue &value) const;
    Line makeLine(const QString &text) const;

    void startFile();
    void convertToOwnForm();
    void setValue(QStringView keyPath, const QString &name, const RegValue &value);

    State m_state = State::Empty;
    RegFileEncoding m_encoding = RegFileEncoding::Utf8;
    bool m_regedit4 = false;
    QByteArray m_prefix;   // the byte-order mark
    QByteArray m_original; // the bytes of an unrecognised file
    QString m_lineEnd = QStringLiteral("\n");
    QList<Line> m_lines;
};

// The values of the key `keyPath` in the file, or nothing when the file is not
// a recognised registry export or does not hold that key.
std::optional<RegKeyValues> parseRegFile(const QByteArray &bytes, QStringView keyPath);

// A whole file in the program's own form holding just that key and its values
// (empty when a name holds a line break).
QByteArray formatRegFile(QStringView keyPath, const RegKeyValues &values);
