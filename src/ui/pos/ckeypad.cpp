#include "ckeypad.h"

#include "config/appsettings.h"
#include "ui/framework/uiresources.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

constexpr int KeypadWidth = 258;
constexpr int KeypadHeight = 300;
// A digit is ignored once the count is above this.
constexpr int CountTypingLimit = 1000;

const QColor KeyText(0, 0, 20);
const QColor KeyHotText(5, 5, 50);

QString art(const QString &name)
{
    return u":/ui/%1.png"_s.arg(name);
}

struct Key
{
    int row;
    int column;
    const char *caption; // none: the image shows what the key does
    int code;
    const char *image;
};

// The keys in the order they are made, which is also the screen reader's.
constexpr Key Keys[] = {
    {0, 0, "7", 7, "keypad-blue"},      {0, 1, "8", 8, "keypad-blue"},
    {0, 2, "9", 9, "keypad-blue"},      {0, 3, nullptr, CKeyPad::Backspace, "keypad-yellow"},
    {1, 0, "4", 4, "keypad-blue"},      {1, 1, "5", 5, "keypad-blue"},
    {1, 2, "6", 6, "keypad-blue"},      {1, 3, "CLR", CKeyPad::Clear, "keypad-red"},
    {2, 0, "1", 1, "keypad-blue"},      {2, 1, "2", 2, "keypad-blue"},
    {2, 2, "3", 3, "keypad-blue"},      {2, 3, "ESC", CKeyPad::Escape, "keypad-red"},
    {3, 0, "0", 0, "keypad-wide-blue"}, {3, 2, "Imprimir", CKeyPad::Confirm, "keypad-wide-green"},
};

// A label of the keypad: white text on the skin, read as text.
std::unique_ptr<SkinItem> makeLabel(const QRect &place, const QString &text, int xAlign, const QFont &font)
{
    auto label = std::make_unique<SkinItem>();
    label->left = place.left();
    label->top = place.top();
    label->right = place.right();
    label->bottom = place.bottom();
    label->flags = SkinItem::Transparent;
    label->texts[0] = {text, xAlign, SkinItem::Centre, Qt::white, Qt::white, font};
    return label;
}

} // namespace

CKeyPad::CKeyPad(UiResources &resources, const AppSettings &settings, const QRect &button, QWidget *owner)
    : CDesignWnd(resources.skins, owner, Qt::Tool), m_settings(settings), m_button(button),
      m_countMode(settings.CreateRandomUserName)
{
    // A tool window rather than a popup: screen readers list popups nowhere,
    // and the keys must stay reachable to them.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    SkinImage skin = resources.skins.load(art(u"keypad-skin"_s), {}, SkinCache::Retention::WhileUsed);
    skin.leftInset = 145;
    skin.rightInset = 145;
    skin.topInset = 70;
    skin.bottomInset = 20;
    setSkin(skin);
    setFixedSize(KeypadWidth, KeypadHeight);

    // Up to the display: "Nome do Usuário" needs a little more than 110 px.
    addItem(makeLabel(QRect(QPoint(8, 10), QPoint(137, 50)),
                      m_countMode ? tr("Vouchers") : tr("Nome do Usuário"), SkinItem::Centre,
                      resources.uiFont16));
    addKeys(resources);
    m_display = &addItem(makeLabel(QRect(QPoint(140, 12), QPoint(235, 52)), QString(), SkinItem::AlignRight,
                                   m_countMode ? resources.uiFont21 : resources.uiFont16));
    showValue();
    connect(this, &CDesignWnd::itemCommand, this, [this](int id, const QVariant &code) {
        if (id == KeyItem)
            pressKey(code.toInt());
    });
}

void CKeyPad::addKeys(UiResources &resources)
{
    for (const Key &key : Keys) {
        SkinItem &item = addItem(makeSkinItem(
            skins(), 15 + 58 * key.column, 70 + 55 * key.row, 0, 0, KeyItem, art(QLatin1String(key.image)),
            {}, art(QLatin1String(key.image) + u"-hot"_s), {}, SkinItem::Transparent | SkinItem::Enabled));
        item.data = key.code;
        if (key.caption) {
            item.texts[0] = {
                tr(key.caption),  SkinItem::Centre,
                SkinItem::Centre, KeyText,
                KeyHotText,       key.code < Backspace ? resources.uiFont18 : resources.uiFont16};
        } else {
            item.accessibleName = tr("Apagar");
        }
    }
}

bool CKeyPad::confirmsAtOnce(const AppSettings &settings)
{
    return !settings.CreateRandomUserName &&
           (settings.QueryPassword || settings.QueryUserData || settings.UseUserDatabase);
}

QPoint CKeyPad::placeFor(const QRect &button, QSize keypad, const QRect &workArea)
{
    const int x = button.left() + (button.width() - keypad.width()) / 2;
    int y = button.top() + button.height() + GapBelow;
    if (y + keypad.height() > workArea.top() + workArea.height())
        y = button.top() - GapAbove - keypad.height();
    return QPoint(x, y);
}

void CKeyPad::open()
{
    const QScreen *screen = QGuiApplication::screenAt(m_button.center());
    if (!screen)
        screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    move(placeFor(m_button, size(), screen ? screen->availableGeometry() : QRect()));
    show();
    raise();
    activateWindow();
}

QString CKeyPad::displayText() const
{
    return m_countMode ? QString::number(m_count) : m_name;
}

void CKeyPad::showValue()
{
    m_display->texts[0].text = displayText();
    repaintItem(*m_display);
}

void CKeyPad::pressKey(int code)
{
    if (m_closing)
        return;
    if (code >= 0 && code <= 9) {
        if (m_countMode) {
            if (m_count > CountTypingLimit)
                return;
            // The first digit replaces the 1 the keypad opens with.
            m_count = m_edited ? m_count * 10 + code : code;
            m_edited = true;
        } else {
            if (m_name.size() >= MaxNameLength)
                return;
            m_name.append(QChar(u'0' + code));
        }
        showValue();
        return;
    }
    switch (code) {
    case Backspace:
        if (m_countMode)
            m_count /= 10;
        else
            m_name.chop(1);
        m_edited = true;
        showValue();
        break;
    case Clear:
        if (m_countMode)
            m_count = 0;
        else
            m_name.clear();
        m_edited = true;
        showValue();
        break;
    case Escape:
        dismiss();
        break;
    case Confirm:
        confirm();
        break;
    default:
        break;
    }
}

void CKeyPad::typeCharacter(QChar c)
{
    // Digits and the letters (with the few signs between the capitals and the
    // small letters), as user names are typed at the counter.
    const char16_t code = c.unicode();
    if (!((code >= u'0' && code <= u'9') || (code >= u'A' && code <= u'z')))
        return;
    if (m_name.size() >= MaxNameLength)
        return;
    m_name.append(c);
    showValue();
}

void CKeyPad::confirm()
{
    if (m_countMode && m_count == 0)
        return;
    if (!m_countMode && m_name.isEmpty() && !m_settings.QueryPassword && !m_settings.QueryUserData &&
        !m_settings.UseUserDatabase)
        return;
    const bool countMode = m_countMode;
    const int count = m_countMode ? m_count : 1;
    const QString name = m_name;
    dismiss();
    Q_EMIT confirmed(countMode, count, name);
}

void CKeyPad::dismiss()
{
    if (m_closing)
        return;
    close();
}

void CKeyPad::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        pressKey(Backspace);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pressKey(Confirm);
        return;
    case Qt::Key_Escape:
        pressKey(Escape);
        return;
    case Qt::Key_Delete:
        pressKey(Clear);
        return;
    default:
        break;
    }
    if (m_countMode) {
        // The digits of the main keyboard and of the numeric keypad alike.
        if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9)
            pressKey(event->key() - Qt::Key_0);
        return;
    }
    const QString text = event->text();
    if (text.size() == 1)
        typeCharacter(text.front());
}

void CKeyPad::changeEvent(QEvent *event)
{
    CDesignWnd::changeEvent(event);
    // Another window took the focus: the keypad goes, as a popup would.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        dismiss();
}

void CKeyPad::closeEvent(QCloseEvent *event)
{
    CDesignWnd::closeEvent(event);
    if (!m_closing) {
        m_closing = true;
        Q_EMIT closing();
    }
}
