#pragma once

#include <QListView>
#include <QStringList>

class QStringListModel;

// The suggestion list under a CEditCombo: the names of the username list that
// begin with the typed text, ignoring case, in the list's stored order. It
// floats under its edit in a window of its own that never takes the focus, so
// typing goes on in the edit while it is open.
class CUserDatabaseList : public QListView
{
    Q_OBJECT

public:
    static constexpr int RowHeight = 24;
    static constexpr int VisibleRows = 8;

    explicit CUserDatabaseList(QWidget *owner);

    void setNames(const QStringList &names);
    // Shows the names that begin with `text`; true when one of them equals it,
    // ignoring case.
    bool setFilter(const QString &text);
    QStringList matches() const;

    // Opens the list right under `anchor`, as wide as it, with no row marked.
    void popUpBelow(const QWidget *anchor);
    // Moves the marked row by `step` rows (the mouse marks the row under it).
    void moveMark(int step);
    // The marked row's name; empty when no row is marked.
    QString markedName() const;

signals:
    void nameChosen(const QString &name);

protected:
    void updateGeometries() override;

private:
    QStringList m_names;
    QStringListModel *m_model;
};
