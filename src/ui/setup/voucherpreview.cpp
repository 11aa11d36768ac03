#include "voucherpreview.h"

#include "design/fieldtags.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace {

constexpr double MetresPerInch = 0.0254;
constexpr int Border = 8; // around the voucher

const FontSetEntry *fontOf(const FontSet &fonts, const DesignText &text)
{
    for (const FontSetEntry &entry : fonts) {
        if (entry.face == text.FontFace && entry.size == text.FontSize && entry.rotation == text.Rotation &&
            entry.bold == text.Bold && entry.italic == text.Italic)
            return &entry;
    }
    return nullptr;
}

} // namespace

VoucherPreview::VoucherPreview(const VoucherRecord *voucher, QWidget *parent)
    : QWidget(parent), m_voucher(voucher)
{
    setAccessibleName(tr("Pré-visualização"));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
}

QImage VoucherPreview::renderDesign(const VoucherDesign &design, const DeviceResolution &resolution,
                                    const VoucherRecord *voucher)
{
    const int width = toDeviceX(design.Width, resolution);
    const int height = toDeviceY(design.Height, resolution);
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(resolution.dpiX / MetresPerInch));
    image.setDotsPerMeterY(qRound(resolution.dpiY / MetresPerInch));
    image.fill(Qt::white);
    RenderJob job = startRenderJob(design, resolution);
    QPainter painter(&image);
    renderVoucher(painter, voucher, VoucherRect{0, 0, design.Width, design.Height}, design, job);
    return image;
}

DeviceResolution VoucherPreview::resolution() const
{
    const qreal ratio = devicePixelRatioF();
    return {qRound(logicalDpiX() * ratio), qRound(logicalDpiY() * ratio)};
}

void VoucherPreview::setDesign(const VoucherDesign &design)
{
    if (design == m_design && !m_image.isNull())
        return;
    m_design = design;
    redraw();
}

void VoucherPreview::select(Selection kind, int index)
{
    m_selection = index < 0 ? Selection::None : kind;
    m_selected = index;
    update();
}

void VoucherPreview::redraw()
{
    m_drawnAt = resolution();
    m_image = renderDesign(m_design, m_drawnAt, m_voucher);
    m_image.setDevicePixelRatio(devicePixelRatioF());
    updateGeometry();
    update();
}

QPolygonF VoucherPreview::outline() const
{
    const DeviceResolution res = resolution();
    if (m_selection == Selection::Graphic && m_selected < m_design.Graphics.size()) {
        const DesignGraphic &graphic = m_design.Graphics.at(m_selected);
        const QPointF from(toDeviceX(graphic.X, res), toDeviceY(graphic.Y, res));
        const QPointF to(toDeviceX(graphic.X + graphic.Width, res),
                         toDeviceY(graphic.Y + graphic.Height, res));
        if (graphic.Kind == DesignGraphic::Line)
            return QPolygonF({from, to});
        return QPolygonF(QRectF(from, to).normalized());
    }
    if (m_selection == Selection::Text && m_selected < m_design.Texts.size()) {
        // The text's cell as the renderer places it: the point on its top
        // edge, left, right or centre, turned with the text.
        const DesignText &text = m_design.Texts.at(m_selected);
        const FontSet fonts = buildFontSet(m_design, res);
        const FontSetEntry *entry = fontOf(fonts, text);
        const QFont font = entry ? entry->font : QFont();
        const QFontMetricsF metrics(font, &m_image);
        const QString line = expandTags(text.Text, m_voucher);
        const qreal advance = std::max<qreal>(metrics.horizontalAdvance(line), 1);
        const qreal left = text.Align == 1 ? -advance : text.Align == 2 ? -advance / 2 : 0;
        QTransform turn;
        turn.translate(toDeviceX(text.X, res), toDeviceY(text.Y, res));
        turn.rotate(text.Rotation <= 3 ? -90.0 * text.Rotation : 0);
        return turn.map(QPolygonF(QRectF(left, 0, advance, metrics.height())));
    }
    return {};
}

QSize VoucherPreview::sizeHint() const
{
    if (m_image.isNull())
        return {200, 120};
    return m_image.deviceIndependentSize().toSize() + QSize(2 * Border, 2 * Border);
}

void VoucherPreview::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another resolution.
    const DeviceResolution now = resolution();
    if (now.dpiX != m_drawnAt.dpiX || now.dpiY != m_drawnAt.dpiY)
        redraw();
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.setPen(palette().color(QPalette::BrightText));
        painter.drawText(rect().adjusted(Border, Border, -Border, -Border),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         tr("Informe a largura e a altura do voucher para vê-lo aqui."));
        return;
    }
    // Centred across, at the top.
    const QPointF origin(std::max<qreal>(Border, (width() - m_image.deviceIndependentSize().width()) / 2),
                         Border);
    painter.drawImage(origin, m_image);
    QPolygonF selected = outline();
    if (selected.isEmpty())
        return;
    // The outline in device pixels, drawn over the voucher in the widget's.
    const qreal ratio = devicePixelRatioF();
    selected = QTransform::fromScale(1 / ratio, 1 / ratio).map(selected).translated(origin);
    QPen pen(QColor(230, 0, 0), 1, Qt::DashLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (selected.size() == 2)
        painter.drawLine(selected.at(0), selected.at(1));
    else
        painter.drawPolygon(selected);
}
