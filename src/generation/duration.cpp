#include "duration.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaxDurationText = 100;

// The units of a duration text as written, not normalised. Arithmetic wraps
// rather than overflowing on absurdly long digit runs.
struct DurationParts
{
    quint64 days = 0;
    quint64 hours = 0;
    quint64 minutes = 0;
    quint64 seconds = 0;
};

// The value of a clock field as the C library's atoi reads it: leading blanks,
// an optional sign, then digits.
qint64 clockField(QStringView field)
{
    qsizetype i = 0;
    while (i < field.size() && field[i].isSpace())
        ++i;
    const bool negative = i < field.size() && field[i] == u'-';
    if (i < field.size() && (field[i] == u'-' || field[i] == u'+'))
        ++i;
    qint64 value = 0;
    for (; i < field.size() && field[i].unicode() >= u'0' && field[i].unicode() <= u'9'; ++i)
        value = value * 10 + (field[i].unicode() - u'0');
    return negative ? -value : value;
}

DurationParts splitDuration(QStringView text)
{
    DurationParts parts;
    const qsizetype n = text.size();
    if (n >= 8 && text[n - 6] == u':' && text[n - 3] == u':') {
        QStringView clock = text.last(8);
        parts.hours = quint64(clockField(clock.sliced(0, 2)));
        parts.minutes = quint64(clockField(clock.sliced(3, 2)));
        parts.seconds = quint64(clockField(clock.sliced(6, 2)));
        text.chop(8);
    }
    quint64 number = 0;
    for (QChar c : text) {
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            number = number * 10 + (c.unicode() - u'0');
            continue;
        }
        switch (c.unicode()) {
        case u'w':
            parts.days += 7 * number;
            break;
        case u'd':
            parts.days += number;
            break;
        case u'h':
            parts.hours += number;
            break;
        case u'm':
            parts.minutes += number;
            break;
        case u's':
            parts.seconds += number;
            break;
        default:
            break;
        }
        number = 0;
    }
    return parts;
}

} // namespace

qint64 parseDuration(const QString &text)
{
    if (text.size() >= MaxDurationText)
        return 0;
    QString compact = text;
    compact.remove(u' ');
    const DurationParts p = splitDuration(compact);
    return qint64(p.days * 86400 + p.hours * 3600 + p.minutes * 60 + p.seconds);
}

std::optional<qint64> readTypedDuration(const QString &text)
{
    static const QRegularExpression typed(u"^(?:[0-9]{1,9}[wdhms])*(?:[0-9]{2}:[0-9]{2}:[0-9]{2})?$|^0+$"_s);
    QString compact = text;
    compact.remove(u' ');
    if (text.size() >= MaxDurationText || !typed.match(compact).hasMatch())
        return std::nullopt;
    return parseDuration(text);
}

QString formatDuration(qint64 seconds, bool alwaysTime)
{
    const qint64 days = seconds / 86400;
    const qint64 hours = seconds / 3600 - days * 24;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 secs = seconds % 60;
    const QString dayPart = days != 0 ? QString::asprintf("%lldd", days) : QString();
    const QString clockPart = alwaysTime || hours != 0 || minutes != 0 || secs != 0
                                  ? QString::asprintf("%.02lld:%.02lld:%.02lld", hours, minutes, secs)
                                  : QString();
    return clockPart.isEmpty() ? dayPart : dayPart + u' ' + clockPart;
}

QString formatValidityDisplay(const QString &text)
{
    if (text.size() >= MaxDurationText)
        return {};
    const DurationParts p = splitDuration(text);
    // The display shows the counts as 32-bit numbers, like every other count.
    const int days = int(p.days);
    QString display;
    if (days == 1)
        display = QString::asprintf("%i dia ", days);
    else if (days != 0)
        display = QString::asprintf("%i dias ", days);
    if (p.hours != 0 || p.minutes != 0 || p.seconds != 0)
        display += QString::asprintf("%.02i:%.02i:%.02i", int(p.hours), int(p.minutes), int(p.seconds));
    return display;
}
