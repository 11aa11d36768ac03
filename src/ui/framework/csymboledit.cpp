#include "csymboledit.h"

#include "uiresources.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

using namespace Qt::StringLiterals;

namespace {

const QColor CueColour(127, 127, 127);
constexpr int CueFontPixels = 16;
constexpr int IconSize = 16;       // the small-icon size
constexpr int IconMarginExtra = 6; // room between the text and the icon

} // namespace

CSymbolEdit::CSymbolEdit(QWidget *parent) : QLineEdit(parent), m_cueFont(uiFont(CueFontPixels))
{
    m_cueFont.setItalic(true);
    m_cueFont.setWeight(QFont::Normal);
}

void CSymbolEdit::setCueText(const QString &text)
{
    m_cueText = text;
    setAccessibleName(text);
    update();
}

void CSymbolEdit::setIcon(const QPixmap &icon)
{
    m_icon = icon;
    applyIconMargin();
    update();
}

void CSymbolEdit::applyIconMargin()
{
    QMargins margins = textMargins();
    margins.setRight(m_icon.isNull() ? 0 : m_icon.width() / m_icon.devicePixelRatio() + IconMarginExtra);
    setTextMargins(margins);
}

void CSymbolEdit::changeEvent(QEvent *event)
{
    // A new font resets the margins of a native edit; keep the icon's room.
    if (event->type() == QEvent::FontChange)
        applyIconMargin();
    QLineEdit::changeEvent(event);
}

void CSymbolEdit::paintEvent(QPaintEvent *event)
{
    // The edit paints its frame, background and caret; the cue goes on top.
    QLineEdit::paintEvent(event);
    if (!text().isEmpty() || m_cueText.isEmpty())
        return;

    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    QPainter painter(this);
    int right = area.right() - textMargins().right();
    if (!m_icon.isNull()) {
        const QRect iconRect(area.right() - IconSize, area.top() + 1, IconSize, IconSize);
        painter.drawPixmap(iconRect, m_icon);
        right = iconRect.left() - 1;
    }
    const QRect textRect(QPoint(area.left() + textMargins().left() + 1, area.top() + textMargins().top() + 1),
                         QPoint(right, area.bottom() - textMargins().bottom()));
    painter.setFont(m_cueFont);
    painter.setPen(CueColour);
    // Centred vertically like the typed text, so the cue stands where typing begins.
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_cueText);
}
