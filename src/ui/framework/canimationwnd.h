#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <array>

// The picture of a window flying to the notification area and back: a
// frameless, topmost tool window (no taskbar button) that shows a grab of the
// window stretched over its own rectangle, moved and faded in five frames.
// The animation runs to its end before shrink() or grow() returns.
class CAnimationWnd : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Frames = 5;
    // The window's opacity in each frame, out of 255.
    static constexpr std::array<int, Frames> ShrinkAlphas{204, 153, 102, 51, 0};
    static constexpr std::array<int, Frames> GrowAlphas{51, 102, 153, 204, 255};

    // Grabs the target's picture as it is now and hides the target; `from` is
    // the target's rectangle on the screen, `to` where it shrinks to.
    CAnimationWnd(QWidget &target, const QRect &from, const QRect &to);

    // From `from` to `to`, fading out; then hidden.
    void shrink();
    // Back from `to` to `from`, fading in; then hidden.
    void grow();

    // The rectangle of frame `frame` (1 to Frames) on the way from `from` to
    // `to`: each edge moves by its share, rounded towards zero.
    static QRect frameRect(const QRect &from, const QRect &to, int frame);

Q_SIGNALS:
    // A frame is on the screen, at that rectangle and opacity (out of 255).
    void frameShown(const QRect &rect, int alpha);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void play(const QRect &from, const QRect &to, const std::array<int, Frames> &alphas);

    QPixmap m_picture;
    QRect m_from;
    QRect m_to;
};
