#pragma once

#include <QObject>
#include <functional>

class QLineEdit;

// Rewrites a box's text as the program reads it when the box loses the
// keyboard focus (not when a context menu takes it), so the operator sees
// what will be stored: "90m" becomes 01:30:00, "12.5" becomes 12,50.
class FocusOutRewriter : public QObject
{
public:
    // Owned by the box.
    FocusOutRewriter(QLineEdit *edit, std::function<QString(const QString &)> rewrite);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<QString(const QString &)> m_rewrite;
};

// A duration as a box shows it: the duration text without the blank it starts
// with when it has no day part ("01:30:00", "1d", "1d 02:00:00"); empty for
// none.
QString shownDuration(qint64 seconds);
// A typed duration as the program reads it, shown so.
QString durationText(const QString &text);
// The same for a box whose OK refuses a text that is no duration
// (readTypedDuration): such a text stays for the operator to mend.
QString checkedDurationText(const QString &text);
