#pragma once

#include <QFrame>
#include <QPointer>
#include <QStringList>

class CUserDatabaseList;
class DropDownStrip;
class QLineEdit;

// A user-name field with suggestions from the username list: an edit, a
// 20-pixel strip at its right that opens and closes the suggestion list, and
// the list itself. The field turns light green while its text equals a name of
// the list, ignoring case (the exact-match state).
class CEditCombo : public QFrame
{
    Q_OBJECT

public:
    static constexpr int StripWidth = 20;

    explicit CEditCombo(QWidget *parent = nullptr);

    void setNames(const QStringList &names);
    QString text() const;
    // Also closes the list.
    void setText(const QString &text);
    void clearText();
    void setMaxLength(int length);

    bool isExactMatch() const { return m_exactMatch; }
    bool isListVisible() const;
    void openList();
    void closeList();

    QLineEdit *lineEdit() const { return m_edit; }
    CUserDatabaseList *list() const { return m_list; }
    DropDownStrip *strip() const { return m_strip; }

    QSize sizeHint() const override;

signals:
    // After every change of the text; the exact-match state is already updated.
    void textChanged(const QString &text);
    // A name was picked from the list (it is now the text).
    void nameChosen(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void editTextChanged(const QString &text);
    void chooseName(const QString &name);
    void toggleList();
    void showList();
    bool handleKey(const QKeyEvent &key);
    void setExactMatch(bool exact);

    QLineEdit *m_edit;
    DropDownStrip *m_strip;
    CUserDatabaseList *m_list;
    QPointer<QWidget> m_watchedWindow; // the window whose moves close the list
    bool m_exactMatch = false;
    bool m_settingText = false;
};
