#include "pospagelayout.h"

#include <algorithm>

namespace {

// The skin's frame around the page: the history panel on the left, the title
// band at the top, the status line and the page buttons at the bottom.
constexpr int FrameHeight = 175;
constexpr int FrameWidth = 425;
constexpr int RowPitch = 72;
constexpr int WideColumn = 385;
constexpr int NarrowColumn = 320;
constexpr int ButtonGap = 30;
constexpr int MaxButtonWidth = 355;
constexpr int MaxRowHeight = 90;

} // namespace

PosPageLayout layOutPosPage(QSize client, int profileCount, int firstProfile)
{
    const int w = client.width();
    const int h = client.height();
    profileCount = std::max(profileCount, 0);
    firstProfile = std::clamp(firstProfile, 0, profileCount);

    PosPageLayout page;
    // Below the sizes the frame needs there is still one row and one column.
    page.rows = std::max((h - FrameHeight) / RowPitch, 1);
    const int avail = std::max(w - FrameWidth, 0);
    page.columns = avail / WideColumn;
    if (page.rows * page.columns < profileCount)
        page.columns = avail / NarrowColumn;
    page.columns = std::max(page.columns, 1);

    const int remaining = profileCount - firstProfile;
    page.rowsUsed = std::min((remaining + page.columns - 1) / page.columns, page.rows);
    page.columnWidth = avail / page.columns;
    page.buttonWidth = std::clamp(page.columnWidth - ButtonGap, 0, MaxButtonWidth);
    page.step = page.buttonWidth + ButtonGap;
    page.rowHeight = page.rowsUsed > 0 ? std::clamp((h - FrameHeight) / page.rowsUsed, 0, MaxRowHeight) : 0;
    page.x0 = ((w - 45) - page.columns * page.step - 380) / 2 + 395;
    page.y0 = ((h - 105) - page.rowsUsed * page.rowHeight - 70) / 2 + 70;
    page.pageCapacity = page.rows * page.columns;

    int y = page.y0;
    int row = 0;
    for (int i = firstProfile; i < profileCount && row < page.rows; ++i) {
        const int shown = int(page.buttons.size());
        page.buttons.append({i, page.x0 + (shown % page.columns) * page.step, y, page.buttonWidth});
        if (shown % page.columns == page.columns - 1) {
            y += page.rowHeight;
            ++row;
        }
    }
    page.previousEnabled = firstProfile > 0;
    page.nextEnabled = int(page.buttons.size()) + firstProfile < profileCount;
    return page;
}

int nextPosPage(const PosPageLayout &layout, int firstProfile)
{
    return layout.nextEnabled ? firstProfile + int(layout.buttons.size()) : firstProfile;
}

int previousPosPage(const PosPageLayout &layout, int firstProfile)
{
    return std::max(firstProfile - layout.pageCapacity, 0);
}

int posRouterLineX(int clientWidth, int textWidth)
{
    return (clientWidth - textWidth - 418) / 2 + 365;
}
