#pragma once

#include "design/voucherdesign.h"
#include "design/voucherrender.h"

#include <QImage>
#include <QWidget>

struct VoucherRecord;

// The design page's preview: one voucher of the design drawn by the print
// job's renderer at the screen's resolution, with the element selected in a
// grid outlined on top.
class VoucherPreview : public QWidget
{
    Q_OBJECT

public:
    // Which element is outlined.
    enum class Selection
    {
        None,
        Graphic,
        Text
    };

    // `voucher` fills the field tags; it must outlive the preview.
    explicit VoucherPreview(const VoucherRecord *voucher, QWidget *parent = nullptr);

    // One voucher of the design on white, `resolution` pixels per inch, as a
    // print job draws it at the top-left corner of its printable area; a null
    // image when the design has no width or height. The image's dots per
    // metre give back that resolution.
    static QImage renderDesign(const VoucherDesign &design, const DeviceResolution &resolution,
                               const VoucherRecord *voucher);

    void setDesign(const VoucherDesign &design);
    void select(Selection kind, int index);

    // The voucher as last drawn, without the outline.
    const QImage &image() const { return m_image; }
    // The resolution it is drawn at: the screen's, in device pixels.
    DeviceResolution resolution() const;
    // The outline of the selected element in the image's pixels; empty when
    // none is selected or it has no extent.
    QPolygonF outline() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void redraw();

    const VoucherRecord *m_voucher;
    VoucherDesign m_design;
    QImage m_image;
    DeviceResolution m_drawnAt;
    Selection m_selection = Selection::None;
    int m_selected = -1;
};
