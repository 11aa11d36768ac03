#pragma once

#include <QList>
#include <QSize>

// Where the counter window puts its profile buttons for its client size and
// page. Any size gives a layout: at least one column and one row, and no
// negative size (the window keeps itself at least as large as its skin).
struct PosPageLayout
{
    struct Button
    {
        int index = 0; // of the profile
        int left = 0;
        int top = 0;
        int width = 0;
    };

    int rows = 0;    // rows that fit
    int columns = 0; // columns of the page
    int rowsUsed = 0;
    int columnWidth = 0;
    int buttonWidth = 0;
    int step = 0; // from one column's left edge to the next
    int rowHeight = 0;
    int x0 = 0; // left edge of the first column
    int y0 = 0; // top of the first row
    int pageCapacity = 0;
    QList<Button> buttons; // the buttons shown on the page, in profile order
    bool previousEnabled = false;
    bool nextEnabled = false;
};

// The page that starts at profile `firstProfile` of `profileCount`.
PosPageLayout layOutPosPage(QSize client, int profileCount, int firstProfile);

// The first profile of the page after or before the one starting at
// `firstProfile`.
int nextPosPage(const PosPageLayout &layout, int firstProfile);
int previousPosPage(const PosPageLayout &layout, int firstProfile);

// Left edge of the router line (its status icon) for a text of that width.
int posRouterLineX(int clientWidth, int textWidth);
