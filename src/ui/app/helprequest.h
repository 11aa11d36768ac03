#pragma once

#include <QObject>
#include <QUrl>

// F1 in any window of the program, dialogs included, opens the help pages in
// the browser.
class HelpRequest : public QObject
{
    Q_OBJECT

public:
    // The help pages: WIFITICKETER_HELP_URL when set, else the pages shipped
    // beside the program.
    static QUrl helpUrl();

    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
