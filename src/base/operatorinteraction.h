#pragma once

#include <QString>

// The icon a message or question is shown with.
enum class MessageIcon
{
    Error,
    Warning,
    Information,
    Question
};

enum class Answer
{
    Yes,
    No,
    Cancel
};

// Everything core code says to or asks of the operator goes through here. The
// windows answer with message boxes and the wait cursor, the command-line front
// end with standard error and the terminal, tests with a scripted fake.
class OperatorInteraction
{
public:
    virtual ~OperatorInteraction();

    // A modal message with an OK button; the text is shown exactly as given.
    virtual void showMessage(const QString &text, MessageIcon icon) = 0;
    // Returns Yes or No.
    virtual Answer askYesNo(const QString &text, MessageIcon icon) = 0;
    // Returns Yes, No or Cancel.
    virtual Answer askYesNoCancel(const QString &text, MessageIcon icon) = 0;
    // A notice with an OK button and a "do not show again" check box; true when
    // the operator ticked it. Whether to show it at all is decided by the
    // caller (see suppressiblenotice.h).
    virtual bool showSuppressibleNotice(const QString &text, const QString &title, MessageIcon icon) = 0;
    // The wait cursor; calls nest.
    virtual void beginWait() = 0;
    virtual void endWait() = 0;
};

// Shows the wait cursor for the lifetime of the object, on every return path.
class WaitCursor
{
public:
    explicit WaitCursor(OperatorInteraction &interaction);
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    OperatorInteraction &m_interaction;
};
