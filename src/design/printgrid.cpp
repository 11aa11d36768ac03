#include "printgrid.h"

#include "voucherdesign.h"

#include <cstdlib>

namespace {

// Vouchers that fit along one side: at least one, never negative.
int fitting(qint32 printable, qint32 step)
{
    if (step == 0)
        return 1;
    const int count = std::abs(printable / step);
    return count == 0 ? 1 : count;
}

} // namespace

PrintGrid printGrid(const VoucherDesign &design, qint32 printableWidth, qint32 printableHeight)
{
    PrintGrid grid;
    if (design.FillPage) {
        grid.columns = fitting(printableWidth, design.Width + design.Margin);
        grid.rows = fitting(printableHeight, design.Height + design.Margin);
    }
    grid.cellWidth = std::abs(printableWidth / grid.columns);
    grid.cellHeight = std::abs(printableHeight / grid.rows);
    return grid;
}

VoucherRect voucherRectangle(const PrintGrid &grid, const VoucherDesign &design, int column, int row)
{
    VoucherRect rect;
    rect.left = column * grid.cellWidth + (grid.cellWidth - design.Width) / 2;
    rect.top = row * grid.cellHeight + (grid.cellHeight - design.Height) / 2;
    rect.right = rect.left + design.Width;
    rect.bottom = rect.top + design.Height;
    return rect;
}

int printCopies(const VoucherDesign &design)
{
    return qBound(1, design.Copies, 255);
}

QList<PlacedVoucher> layOutVouchers(const VoucherDesign &design, const PrintGrid &grid,
                                    const QList<const VoucherRecord *> &vouchers, bool testPrint)
{
    QList<PlacedVoucher> placed;
    int column = 0;
    int row = 0;
    int sheet = 0;
    // A test print draws samples until its one sheet is full.
    const qsizetype count = testPrint ? qsizetype(grid.columns) * grid.rows : vouchers.size();
    const int copies = testPrint ? 1 : printCopies(design);
    for (qsizetype i = 0; i < count; ++i) {
        for (int copy = 0; copy < copies; ++copy) {
            placed.append(
                {sheet, voucherRectangle(grid, design, column, row), testPrint ? nullptr : vouchers[i]});
            if (++column == grid.columns) {
                column = 0;
                if (++row == grid.rows) {
                    row = 0;
                    ++sheet;
                }
            }
        }
    }
    return placed;
}
