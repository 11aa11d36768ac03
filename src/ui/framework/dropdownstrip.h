#pragma once

#include <QAbstractButton>

// The 20-pixel button strip at the right end of a CEditCombo: shows whether
// the suggestion list is open, lights up under the mouse, and toggles the list
// when pressed. It takes no focus, so typing stays in the edit.
class DropDownStrip : public QAbstractButton
{
    Q_OBJECT

public:
    explicit DropDownStrip(QWidget *parent = nullptr);

    bool isOpen() const { return m_open; }
    void setOpen(bool open);
    bool isHot() const { return underMouse(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void drawArrow(QPainter &painter) const;

    bool m_open = false;
};
