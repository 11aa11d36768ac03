#include "dropdownstrip.h"

#include "smallimagelist.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int StripWidth = 20;
// Images of the small image list: list open, list open under the mouse, list
// closed, list closed under the mouse.
constexpr int OpenImage = 8;
constexpr int ClosedImage = 10;

} // namespace

DropDownStrip::DropDownStrip(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setOpen(false);
}

void DropDownStrip::setOpen(bool open)
{
    m_open = open;
    setAccessibleName(open ? tr("Fechar lista") : tr("Abrir lista"));
    update();
}

QSize DropDownStrip::sizeHint() const
{
    return QSize(StripWidth, StripWidth);
}

void DropDownStrip::enterEvent(QEnterEvent *event)
{
    update();
    QAbstractButton::enterEvent(event);
}

void DropDownStrip::leaveEvent(QEvent *event)
{
    update();
    QAbstractButton::leaveEvent(event);
}

void DropDownStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap image = smallImage((m_open ? OpenImage : ClosedImage) + (isHot() ? 1 : 0));
    if (image.isNull()) {
        drawArrow(painter);
        return;
    }
    const QSize size = image.deviceIndependentSize().toSize();
    painter.drawPixmap(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size),
                       image);
}

// Without the image list: a small triangle pointing down (closed) or up (open).
void DropDownStrip::drawArrow(QPainter &painter) const
{
    const QPointF centre = QRectF(rect()).center();
    const qreal half = 4.0;
    const qreal direction = m_open ? -1.0 : 1.0;
    QPainterPath arrow;
    arrow.moveTo(centre.x() - half, centre.y() - direction * half / 2);
    arrow.lineTo(centre.x() + half, centre.y() - direction * half / 2);
    arrow.lineTo(centre.x(), centre.y() + direction * half / 2);
    arrow.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(arrow, palette().color(isHot() ? QPalette::Highlight : QPalette::ButtonText));
}
