#pragma once

#include <QObject>
#include <QRect>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <optional>

class CAnimationWnd;
class QAction;
class QIcon;
class QMenu;
class QWidget;

// The working window's icon in the notification area, its menu and its
// balloon, and the window's trip there and back. It only reports what the
// operator asked for; the window decides what to do about it. Where the
// desktop has no notification area the window is minimised instead of hidden,
// so it can always be reached from the taskbar.
class CSystemTray : public QObject
{
    Q_OBJECT

public:
    // Puts the icon, with the tip "wifiTicketer", into the notification area.
    CSystemTray(const QIcon &icon, QObject *parent = nullptr);
    ~CSystemTray() override;

    // Whether the desktop has a notification area. Asked of the platform each
    // time, unless a check has been set (tests, and desktops that answer wrong).
    bool isAvailable() const;
    void setAvailabilityCheck(std::function<bool()> check);

    // Whether hiding and showing are animated: only on window systems that let
    // a window place itself and fade (Windows, X11, macOS) and only while the
    // desktop's interface effects are on; never offscreen. A set value wins.
    bool animates() const;
    void setAnimationOverride(std::optional<bool> animate);

    // The balloon telling the operator where the program went; shown the first
    // time it is asked for and never again by this object.
    void showBalloonOnce();
    bool balloonShown() const { return m_balloonShown; }

    // Hides the window into the notification area (true), or minimises it
    // where there is none (false).
    bool hideToTray(QWidget &window);
    // Brings the window back from the notification area or from the taskbar,
    // activated and in front.
    void showFromTray(QWidget &window);

    // Where the icon is on the screen, or the corner of the work area of the
    // window's screen where notification areas usually are.
    QRect trayRect(const QWidget &window) const;

    QSystemTrayIcon *icon() const { return m_icon.get(); }
    QMenu *menu() const { return m_menu.get(); }
    CAnimationWnd *animation() const { return m_animation.get(); }

Q_SIGNALS:
    // "Exibir wifiTicketer", or a click on the icon.
    void showRequested();
    // "Fechar wifiTicketer".
    void closeRequested();
    // The balloon went to the platform, with these texts.
    void balloonShowing(const QString &title, const QString &text);

private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<CAnimationWnd> m_animation; // of the last animated hide
    std::function<bool()> m_availabilityCheck;
    std::optional<bool> m_animationOverride;
    bool m_balloonShown = false;
};
