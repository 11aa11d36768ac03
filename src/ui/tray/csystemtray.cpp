#include "csystemtray.h"

#include "ui/framework/canimationwnd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QScreen>
#include <QWidget>

CSystemTray::CSystemTray(const QIcon &icon, QObject *parent)
    : QObject(parent), m_menu(std::make_unique<QMenu>()), m_icon(std::make_unique<QSystemTrayIcon>(icon))
{
    QAction *show = m_menu->addAction(tr("Exibir wifiTicketer"));
    QAction *close = m_menu->addAction(tr("Fechar wifiTicketer"));
    // What a click on the icon does, shown in bold.
    m_menu->setDefaultAction(show);
    connect(show, &QAction::triggered, this, &CSystemTray::showRequested);
    connect(close, &QAction::triggered, this, &CSystemTray::closeRequested);

    m_icon->setToolTip(QStringLiteral("wifiTicketer"));
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &CSystemTray::activated);
    // Qt puts the icon back by itself when the taskbar or the panel restarts.
    m_icon->show();
}

CSystemTray::~CSystemTray() = default;

bool CSystemTray::isAvailable() const
{
    return m_availabilityCheck ? m_availabilityCheck() : QSystemTrayIcon::isSystemTrayAvailable();
}

void CSystemTray::setAvailabilityCheck(std::function<bool()> check)
{
    m_availabilityCheck = std::move(check);
}

bool CSystemTray::animates() const
{
    if (m_animationOverride)
        return *m_animationOverride;
    // Elsewhere (offscreen, Wayland, frame buffers) a window cannot put itself
    // at a place on the screen, or there is no screen to see it on.
    const QString platform = QGuiApplication::platformName();
    const bool placesWindows = platform == u"windows" || platform == u"xcb" || platform == u"cocoa";
    return placesWindows && QApplication::isEffectEnabled(Qt::UI_General);
}

void CSystemTray::setAnimationOverride(std::optional<bool> animate)
{
    m_animationOverride = animate;
}

void CSystemTray::showBalloonOnce()
{
    if (m_balloonShown)
        return;
    m_balloonShown = true;
    const QString title = QStringLiteral("wifiTicketer");
    const QString text = tr("wifiTicketer está rodando em background.\n"
                            "Clique no ícone da barra de tarefas para exibir.");
    m_icon->showMessage(title, text, QSystemTrayIcon::Information, 10000);
    Q_EMIT balloonShowing(title, text);
}

bool CSystemTray::hideToTray(QWidget &window)
{
    if (!isAvailable()) {
        // Hidden with nowhere to come back from, the window would be lost.
        window.showMinimized();
        return false;
    }
    if (window.isVisible() && animates()) {
        m_animation = std::make_unique<CAnimationWnd>(window, window.frameGeometry(), trayRect(window));
        m_animation->shrink();
    }
    window.hide();
    return true;
}

void CSystemTray::showFromTray(QWidget &window)
{
    if (!window.isVisible() && m_animation && animates())
        m_animation->grow();
    m_animation.reset();
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

QRect CSystemTray::trayRect(const QWidget &window) const
{
    const QRect icon = m_icon->geometry();
    if (icon.isValid())
        return icon;
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect work = screen->availableGeometry();
    return QRect(QPoint(work.right() + 1 - 150, work.bottom() + 1 - 30), work.bottomRight());
}

void CSystemTray::activated(QSystemTrayIcon::ActivationReason reason)
{
    // A click does what the menu's first command does; the context menu opens
    // by itself.
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        Q_EMIT showRequested();
}
