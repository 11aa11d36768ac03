#include "historyreport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Lengths in tenths of a millimetre.
constexpr double Margin = 100;
constexpr double FontHeight = 30;
constexpr double LineHeight = 43;
constexpr double HeadAdvance = 64;
constexpr double CellGap = 10;
constexpr double RuleGap = 15;
constexpr double PenWidth = 2;
constexpr int MaxLines = 2;

// The lines a text takes in a cell of that width: wrapped at word boundaries
// (inside a word only when the word alone is too wide), the last one cut with
// an ellipsis when more would follow.
QStringList cellLines(const QString &text, const QFont &font, double width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == MaxLines - 1) {
            // The last line that is drawn takes the rest of the text.
            const QString rest = text.mid(line.textStart());
            lines << QFontMetricsF(font).elidedText(rest.simplified(), Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

class ReportPainter
{
public:
    ReportPainter(QPainter &painter, const QRect &page, int dpi, const HistoryReport &report)
        : m_painter(painter), m_report(report), m_unit(dpi / 254.0)
    {
        m_area = QRectF(page).adjusted(Margin * m_unit, Margin * m_unit, -Margin * m_unit, -Margin * m_unit);
        m_regular = QFont(u"Arial"_s);
        // The font's height is its cell, of which the em takes about 87 %.
        m_regular.setPixelSize(std::max(1, qRound(FontHeight * 0.87 * m_unit)));
        m_bold = m_regular;
        m_bold.setBold(true);
        m_line = LineHeight * m_unit;

        long total = 0;
        for (qsizetype i = 0; i < report.captions.size(); ++i)
            total += std::max(0, report.widths.value(i));
        double x = m_area.left();
        for (qsizetype i = 0; i < report.captions.size(); ++i) {
            const double width = total > 0 ? m_area.width() * std::max(0, report.widths.value(i)) / total
                                           : m_area.width() / report.captions.size();
            m_columns.append({x, width});
            x += width;
        }
        m_painter.setPen(QPen(Qt::black, PenWidth * m_unit));
        m_painter.setBackgroundMode(Qt::TransparentMode);
        m_painter.setFont(m_regular);
    }

    int draw(const std::function<bool()> &newPage)
    {
        for (const QStringList &row : m_report.rows) {
            const QList<QStringList> cells = layOut(row, m_regular);
            const double height = m_line * rowLines(cells);
            if (m_pages == 0 || m_y + height > m_area.bottom()) {
                if (m_pages > 0 && !newPage())
                    return m_pages;
                drawHead();
            }
            drawCells(cells);
            m_y += height;
        }
        return m_pages;
    }

private:
    struct Column
    {
        double x;
        double width;
    };

    QList<QStringList> layOut(const QStringList &texts, const QFont &font) const
    {
        QList<QStringList> cells;
        for (qsizetype i = 0; i < m_columns.size(); ++i) {
            const QString text = texts.value(i);
            cells << (text.isEmpty()
                          ? QStringList()
                          : cellLines(text, font, std::max(1.0, m_columns[i].width - CellGap * m_unit)));
        }
        return cells;
    }

    static int rowLines(const QList<QStringList> &cells)
    {
        qsizetype lines = 1;
        for (const QStringList &cell : cells)
            lines = std::max(lines, cell.size());
        return int(lines);
    }

    void drawCells(const QList<QStringList> &cells)
    {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const Qt::Alignment align =
                (i == cells.size() - 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
            const double width = m_columns[i].width - CellGap * m_unit;
            for (qsizetype l = 0; l < cells[i].size(); ++l)
                m_painter.drawText(QRectF(m_columns[i].x, m_y + l * m_line, width, m_line), align,
                                   cells[i][l]);
        }
    }

    void drawHead()
    {
        ++m_pages;
        m_y = m_area.top();
        m_painter.setFont(m_regular);
        const QRectF band(m_area.left(), m_y, m_area.width(), m_line);
        m_painter.drawText(band, Qt::AlignLeft | Qt::AlignTop, m_report.head);
        m_painter.drawText(band, Qt::AlignRight | Qt::AlignTop, m_report.stamp + u" - %1"_s.arg(m_pages));
        m_y += HeadAdvance * m_unit;

        m_painter.setFont(m_bold);
        const QList<QStringList> captions = layOut(m_report.captions, m_bold);
        drawCells(captions);
        m_y += m_line * rowLines(captions);
        m_painter.drawLine(QPointF(m_area.left(), m_y), QPointF(m_area.right(), m_y));
        m_y += RuleGap * m_unit;
        m_painter.setFont(m_regular);
    }

    QPainter &m_painter;
    const HistoryReport &m_report;
    double m_unit; // device pixels in a tenth of a millimetre
    QRectF m_area;
    QFont m_regular;
    QFont m_bold;
    double m_line = 0;
    QList<Column> m_columns;
    int m_pages = 0;
    double m_y = 0;
};

} // namespace

int drawHistoryReport(QPainter &painter, const QRect &page, int dpi, const HistoryReport &report,
                      const std::function<bool()> &newPage)
{
    if (report.captions.isEmpty())
        return 0;
    return ReportPainter(painter, page, dpi, report).draw(newPage);
}
