#pragma once

#include "ui/framework/cdesignwnd.h"

struct AppSettings;
struct UiResources;

// The small window a touched profile button opens at the counter: it asks for
// the number of vouchers (count mode, when user names are made up) or for the
// user name of the one voucher (name mode), on its 4 × 4 keys or from the
// keyboard. "Imprimir" (or Enter) confirms; "ESC", Escape, a click outside or
// the loss of the focus close it without a sale. It closes itself and reports
// the sale; the counter window makes it.
class CKeyPad : public CDesignWnd
{
    Q_OBJECT

public:
    enum : int
    {
        KeyItem = 197
    };
    // The key codes besides the digits 0 to 9.
    enum KeyCode : int
    {
        Backspace = 50,
        Clear = 51,
        Escape = 52,
        Confirm = 53,
    };
    static constexpr int MaxNameLength = 12;
    static constexpr int GapBelow = 5;
    static constexpr int GapAbove = 8;

    // A keypad for the button at `button` (screen coordinates), owned by the
    // counter window `owner`; shown with open().
    CKeyPad(UiResources &resources, const AppSettings &settings, const QRect &button, QWidget *owner);

    // Whether a sale of these settings needs no keypad: names are typed and
    // the user-data prompt of the run asks for them.
    static bool confirmsAtOnce(const AppSettings &settings);
    // Where the keypad of that size opens for a button: centred under it, or
    // above it when it would reach below the work area.
    static QPoint placeFor(const QRect &button, QSize keypad, const QRect &workArea);

    // Shows the keypad where placeFor says, in front and with the focus.
    void open();

    bool countMode() const { return m_countMode; }
    int count() const { return m_count; }
    QString name() const { return m_name; }
    // What the display shows.
    QString displayText() const;

    // What a key of that code does.
    void pressKey(int code);

Q_SIGNALS:
    // The operator confirmed: `count` vouchers (1 in name mode) with the typed
    // name (name mode only). Sent after the keypad has closed.
    void confirmed(bool countMode, int count, const QString &name);
    // The keypad is going (confirmed or not); sent once.
    void closing();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void addKeys(UiResources &resources);
    void showValue();
    void typeCharacter(QChar c);
    void confirm();
    void dismiss();

    const AppSettings &m_settings;
    QRect m_button;
    bool m_countMode;
    int m_count = 1;
    QString m_name;
    bool m_edited = false;
    bool m_closing = false;
    SkinItem *m_display = nullptr;
};
