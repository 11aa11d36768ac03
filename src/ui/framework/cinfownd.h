#pragma once

#include <QString>
#include <QWidget>

// An information bar: the information icon at the left and one line of text
// in black on light yellow, in a thin grey frame, in the parent's font.
class CInfoWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int IconAreaWidth = 35;
    static constexpr int IconSize = 24;

    explicit CInfoWnd(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
