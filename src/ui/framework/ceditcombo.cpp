#include "ceditcombo.h"

#include "cuserdatabaselist.h"
#include "dropdownstrip.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace {

const QColor ExactMatchColour(209, 252, 211);

} // namespace

CEditCombo::CEditCombo(QWidget *parent)
    : QFrame(parent), m_edit(new QLineEdit(this)), m_strip(new DropDownStrip(this)),
      m_list(new CUserDatabaseList(this))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_edit);
    m_edit->setFrame(false);
    m_edit->installEventFilter(this);
    m_list->hide();
    connect(m_edit, &QLineEdit::textChanged, this, &CEditCombo::editTextChanged);
    connect(m_strip, &QAbstractButton::clicked, this, &CEditCombo::toggleList);
    connect(m_list, &CUserDatabaseList::nameChosen, this, &CEditCombo::chooseName);
}

void CEditCombo::setNames(const QStringList &names)
{
    m_list->setNames(names);
    setExactMatch(m_list->setFilter(m_edit->text()));
}

QString CEditCombo::text() const
{
    return m_edit->text();
}

void CEditCombo::setText(const QString &text)
{
    m_settingText = true;
    m_edit->setText(text);
    m_settingText = false;
    closeList();
}

void CEditCombo::clearText()
{
    setText(QString());
}

void CEditCombo::setMaxLength(int length)
{
    m_edit->setMaxLength(length);
}

bool CEditCombo::isListVisible() const
{
    return m_list->isVisible();
}

void CEditCombo::editTextChanged(const QString &text)
{
    setExactMatch(m_list->setFilter(text));
    // The list closes by itself when the text is exactly its only name; a text
    // that no name begins with leaves nothing to show.
    const QStringList matches = m_list->matches();
    const bool settled = matches.size() == 1 && m_exactMatch;
    if (m_settingText || settled || matches.isEmpty())
        closeList();
    else
        showList();
    emit textChanged(text);
}

void CEditCombo::chooseName(const QString &name)
{
    m_settingText = true;
    m_edit->setText(name);
    m_settingText = false;
    m_edit->end(false);
    closeList();
    emit nameChosen(m_edit->text());
}

void CEditCombo::setExactMatch(bool exact)
{
    m_exactMatch = exact;
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, exact ? ExactMatchColour : this->palette().color(QPalette::Base));
    m_edit->setPalette(palette);
    update();
}

void CEditCombo::openList()
{
    m_list->setFilter(m_edit->text());
    showList();
}

void CEditCombo::toggleList()
{
    if (isListVisible())
        closeList();
    else
        openList();
}

void CEditCombo::showList()
{
    if (!isVisible())
        return;
    m_list->popUpBelow(this);
    m_strip->setOpen(true);
    // Moving the window leaves the list behind: close it then.
    if (m_watchedWindow != window()) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        m_watchedWindow = window();
        m_watchedWindow->installEventFilter(this);
    }
}

void CEditCombo::closeList()
{
    m_list->hide();
    m_strip->setOpen(false);
    update();
}

bool CEditCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedWindow && event->type() == QEvent::Move) {
        closeList();
    } else if (watched == m_edit) {
        // The list never takes the focus, so the edit losing it means the
        // operator went elsewhere.
        if (event->type() == QEvent::FocusOut)
            closeList();
        else if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent &>(*event)))
            return true;
    }
    return QFrame::eventFilter(watched, event);
}

// The keyboard's way to the list: F4 or Alt+Down opens and closes it, Up and
// Down mark a row, Enter takes the marked row, Escape closes the list.
bool CEditCombo::handleKey(const QKeyEvent &key)
{
    const bool toggle =
        key.key() == Qt::Key_F4 || (key.key() == Qt::Key_Down && key.modifiers().testFlag(Qt::AltModifier));
    if (toggle) {
        toggleList();
        return true;
    }
    if (!isListVisible())
        return false;
    switch (key.key()) {
    case Qt::Key_Down:
        m_list->moveMark(1);
        return true;
    case Qt::Key_Up:
        m_list->moveMark(-1);
        return true;
    case Qt::Key_Escape:
        closeList();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_list->markedName().isEmpty())
            return false;
        chooseName(m_list->markedName());
        return true;
    default:
        return false;
    }
}

void CEditCombo::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), m_exactMatch ? ExactMatchColour : palette().color(QPalette::Base));
    painter.end();
    QFrame::paintEvent(event);
}

void CEditCombo::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // The edit sits 2 px in from the left and the top and 1 px up from the
    // bottom; the strip takes the right end.
    const QRect inside = contentsRect();
    m_strip->setGeometry(inside.right() + 1 - StripWidth, inside.top(), StripWidth, inside.height());
    m_edit->setGeometry(inside.left() + 2, inside.top() + 2, inside.width() - StripWidth - 2,
                        inside.height() - 3);
}

void CEditCombo::hideEvent(QHideEvent *event)
{
    closeList();
    QFrame::hideEvent(event);
}

QSize CEditCombo::sizeHint() const
{
    const QSize edit = m_edit->sizeHint();
    const int frame = 2 * frameWidth();
    return QSize(edit.width() + StripWidth + 2 + frame, edit.height() + 3 + frame);
}
