#include "canimationwnd.h"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>

namespace {

// Long enough for each frame to reach the screen, short enough not to be a wait.
constexpr unsigned long FrameMs = 16;

// One edge of frame k: the share of the way is cut towards zero, whichever
// way the edge moves.
int edgeAt(int from, int to, int frame)
{
    return from + (to - from) * frame / CAnimationWnd::Frames;
}

} // namespace

CAnimationWnd::CAnimationWnd(QWidget &target, const QRect &from, const QRect &to)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      m_picture(target.grab()), m_from(from), m_to(to)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    target.hide();
}

void CAnimationWnd::shrink()
{
    play(m_from, m_to, ShrinkAlphas);
}

void CAnimationWnd::grow()
{
    play(m_to, m_from, GrowAlphas);
}

QRect CAnimationWnd::frameRect(const QRect &from, const QRect &to, int frame)
{
    // Edges as the screen sees them: right and bottom just outside the rectangle.
    const int left = edgeAt(from.left(), to.left(), frame);
    const int top = edgeAt(from.top(), to.top(), frame);
    const int right = edgeAt(from.left() + from.width(), to.left() + to.width(), frame);
    const int bottom = edgeAt(from.top() + from.height(), to.top() + to.height(), frame);
    return QRect(left, top, right - left, bottom - top);
}

void CAnimationWnd::play(const QRect &from, const QRect &to, const std::array<int, Frames> &alphas)
{
    for (int frame = 1; frame <= Frames; ++frame) {
        const QRect rect = frameRect(from, to, frame);
        const int alpha = alphas[frame - 1];
        setGeometry(rect);
        setWindowOpacity(alpha / 255.0);
        if (!isVisible())
            show();
        repaint();
        Q_EMIT frameShown(rect, alpha);
        // Let the window system put the frame up before the next one.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(FrameMs);
    }
    hide();
}

void CAnimationWnd::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
}
