#pragma once

// The counter window's measures and colours, shared by the files that build,
// lay out and paint it.

#include <QColor>
#include <QString>

namespace poslook {

// The skin and the insets by which it stretches.
inline constexpr int SkinLeft = 370;
inline constexpr int SkinRight = 370;
inline constexpr int SkinTop = 180;
inline constexpr int SkinBottom = 70;
inline constexpr int MinimumWidth = 733;
inline constexpr int MinimumHeight = 391;

// Where the sales list starts.
inline constexpr int PanelLeft = 18;
inline constexpr int PanelTop = 170;

inline const QColor TextButtonText(200, 200, 200);
inline const QColor TextButtonLine(200, 200, 220);
inline const QColor PageOffText(150, 150, 180);
inline const QColor ProfileTitle(14, 10, 99);
inline const QColor ProfileTitleHot(38, 71, 138);
inline const QColor ProfileDesign(38, 71, 138);
inline const QColor ProfileDesignHot(38, 71, 181);
inline const QColor LockedTitle(215, 215, 225);
inline const QColor LockedDesign(210, 210, 220);
inline const QColor RouterLineText(0, 50, 0);
inline const QColor PanelBackground(53, 60, 74);
inline const QColor OddRow(49, 55, 70);
inline const QColor EvenRow(57, 63, 79);
inline const QColor SaleTitle(255, 255, 220);

// A picture of the program's artwork.
inline QString art(const QString &name)
{
    return QStringLiteral(":/ui/%1.png").arg(name);
}

} // namespace poslook
