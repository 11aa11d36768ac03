#pragma once

#include <QFont>
#include <QLineEdit>
#include <QPixmap>

// An edit that shows a grey cue text (and an optional small icon at its right
// edge) while it is empty, for fields without a label of their own. The cue text
// is also the edit's accessible name, since a screen reader cannot see what is
// only painted.
class CSymbolEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CSymbolEdit(QWidget *parent = nullptr);

    QString cueText() const { return m_cueText; }
    void setCueText(const QString &text);
    QFont cueFont() const { return m_cueFont; }
    QPixmap icon() const { return m_icon; }
    void setIcon(const QPixmap &icon);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyIconMargin();

    QString m_cueText;
    QFont m_cueFont;
    QPixmap m_icon;
};
