#include "cinfownd.h"

#include <QPainter>
#include <QStyle>

namespace {

const QColor FrameColour(200, 200, 200);
const QColor BackgroundColour(255, 253, 232);

} // namespace

CInfoWnd::CInfoWnd(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CInfoWnd::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    update();
}

QSize CInfoWnd::sizeHint() const
{
    // Room for the icon with a few pixels around it, or for the text.
    const int height = qMax(IconSize + 6, fontMetrics().height() + 8);
    return QSize(IconAreaWidth + fontMetrics().horizontalAdvance(m_text) + 12, height);
}

void CInfoWnd::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    painter.setPen(FrameColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(inside, BackgroundColour);

    const QRect iconArea(inside.left(), inside.top(), IconAreaWidth, inside.height());
    const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this);
    icon.paint(&painter,
               QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, QSize(IconSize, IconSize), iconArea));

    QRect textArea = inside;
    textArea.setLeft(iconArea.right() + 1);
    textArea.setRight(inside.right() - 4);
    painter.setPen(Qt::black);
    painter.setFont(font());
    const QString line = fontMetrics().elidedText(m_text, Qt::ElideRight, textArea.width());
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
}
