// Draws the artwork of the counter window and of its keypad: PNG files with
// alpha (the transparent parts are transparent, no colour key), written into
// the folder given on the command line. The pictures are committed; this
// program documents how they were made. The style is the login window's
// (resources/ui/makeskins.cpp): a navy to sky-blue title band, light faces with
// dark captions, Carlito for the name in the title.
//
//   g++ -std=c++20 -fPIC makeposskins.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/makeposskins
//   QT_QPA_PLATFORM=offscreen /tmp/makeposskins .
//
// No caption, digit or profile text is in the pictures: the windows write
// them. Only symbols are drawn (arrows, printer, bin, backspace mark, the "HS"
// and "UM" badges, the information mark).
//
// What it writes (width x height in pixels; "-hot" is the picture under the
// finger or mouse, "-off" the same picture with lower alpha, for an item that
// is switched off for the moment):
//
//   pos-skin.png           733 x 391  the counter window's background, cut in
//                                     nine: 370 px left, 370 px right, 180 px
//                                     top, 70 px bottom (see below)
//   pos-status.png          24 x 24   the information mark in front of the
//                                     router line; also fits an information bar
//   pos-clear(-hot).png     68 x 53   the bin beside "Histórico" (clear history)
//   pos-textbutton(-hot).png 150 x 25 the four text buttons of the bottom band
//                                     ("Apagar histórico", "Modo Normal",
//                                     "Tela cheia"/"Restaurar", "Sair do
//                                     aplicativo"); light grey caption on the
//                                     dark band, white on the hot face
//   pos-next(-hot,-off).png 126 x 38  "Próximo": cut in three, 5 px left, 30 px
//                                     right; the arrow is in the right 30 px, so
//                                     the caption keeps a 35-px right margin
//   pos-previous(-hot,-off).png       "Anterior": the mirror image, 30 px left
//                          126 x 38   with the arrow, 5 px right
//   pos-history-up(-hot).png 323 x 50 the arrows over the top and the bottom of
//   pos-history-down(-hot).png        the sales list; their alpha fades
//                                     towards the list
//   pos-profile-hs(-hot,-off).png     the profile buttons: cut in three, 70 px
//   pos-profile-um(-hot,-off).png     left (printer), 60 px right (badge "HS"
//                          355 x 54   for a hotspot profile, "UM" for a User
//                                     Manager one); the title line goes at
//                                     (70, 5), the design line at (70, 27),
//                                     dark blue on the white face; "-off" while
//                                     another profile's keypad is open
//   keypad-skin.png        258 x 300  the keypad's background (the window has
//                                     its size; cut 145 / 145 / 70 / 20)
//   keypad-blue(-hot).png   54 x 51   digit keys
//   keypad-yellow(-hot).png 54 x 51   backspace, its mark drawn in
//   keypad-red(-hot).png    54 x 51   "CLR" and "ESC"
//   keypad-wide-blue(-hot).png 112 x 51   "0"
//   keypad-wide-green(-hot).png 112 x 51  "Imprimir"
//
// The counter window's close and minimise buttons are the login window's
// close(-hot).png and minimize(-hot).png (64 x 30, hanging from the top edge).
//
// The counter window, at client size W x H, lays itself out from the skin's
// edges, so the skin keeps:
//   - the title band, 62 px high (the top 60 px drag the window), navy at the
//     left, sky blue at the right, the name in its left part; over the left
//     column its lower edge is a wave, as in the login window;
//   - the dark left column, 359 px wide, with the sales card on it: its header
//     from y 102 to 170 ("Histórico" is written at (75, 127), the bin lies at
//     (279, 112)), the list from (18, 170) to (341, H - 67), which the window
//     fills itself, and the total bar from H - 67 to H - 8 ("TOTAL" at
//     (45, H - 48), the amount right-aligned up to x 330);
//   - the light page from x 359 to the right edge and from the title band to
//     H - 60: the profile buttons, the page buttons (top H - 105) and the
//     router line (H - 95, dark green text) are on it;
//   - the dark bottom band from H - 60, for the text buttons at H - 45 to
//     H - 20.
// The left and right parts are 370 px each, 7 px more than the skin is wide
// together: columns 363 to 369 belong to both. Columns 360 to 403 are all
// alike (title band, page, bottom band), so the middle of a wider window can
// be filled from those columns without a seam. Rows 180 to 320 stretch with the window's height; they hold
// only the title-free part of the column, the list and the page.
//
// The keypad puts its title in (10, 10) to (120, 50) and its display in
// (140, 12) to (235, 52), both white, on its navy band; its keys lie at
// (15 + 58 column, 70 + 55 row) on the dark body.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cmath>
#include <cstdio>

namespace {

// The login window's colours.
const QColor Navy(0x14, 0x3C, 0x78);
const QColor Deep(0x0E, 0x2A, 0x55);
const QColor Sky(0x2E, 0x86, 0xDE);
const QColor SkyDark(0x1F, 0x6C, 0xC0);
const QColor Border(0x97, 0xAF, 0xD0);
const QColor GreenDark(0x1E, 0x74, 0x41);
const QColor Red(0xD6, 0x3B, 0x35);

// The counter's own: the dark column and band, the list it fills itself, the
// light page.
const QColor SideTop(0x2A, 0x31, 0x41);
const QColor SideBottom(0x1F, 0x25, 0x32);
const QColor ListGround(53, 60, 74); // the list's own fill
const QColor Page(0xE4, 0xEB, 0xF5);
const QColor PageLow(0xDC, 0xE4, 0xF0);
const QColor MidBand(0x1D, 0x55, 0xA0); // the title band's colour in the middle

QString outputFolder;
bool allWritten = true;

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void begin(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

void save(const QImage &image, const QString &name)
{
    const QString path = QDir(outputFolder).filePath(name);
    if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        allWritten = false;
    }
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QFont carlito(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Carlito"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The same picture with its alpha lowered: the look of an item that is
// switched off for the moment.
QImage faded(const QImage &image, double opacity)
{
    QImage out = canvas(image.width(), image.height());
    QPainter p(&out);
    p.setOpacity(opacity);
    p.drawImage(0, 0, image);
    return out;
}

QLinearGradient vertical(double top, double bottom, const QColor &from, const QColor &to)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

// ---------------------------------------------------------------- symbols

// A ticket: a rounded card with a half-round notch in the middle of each end.
QPainterPath ticketPath(const QRectF &r, double radius, double notch)
{
    QPainterPath body;
    body.addRoundedRect(r, radius, radius);
    QPainterPath cuts;
    cuts.addEllipse(QPointF(r.left(), r.center().y()), notch, notch);
    cuts.addEllipse(QPointF(r.right(), r.center().y()), notch, notch);
    return body.subtracted(cuts);
}

void drawWifi(QPainter &p, QPointF base, double dot, double stroke, double gap, int rings,
              const QColor &colour, double span = 90)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(base, dot, dot);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap));
    for (int ring = 1; ring <= rings; ++ring) {
        const double radius = dot + ring * gap + (ring - 0.5) * stroke;
        const QRectF box(base.x() - radius, base.y() - radius, 2 * radius, 2 * radius);
        p.drawArc(box, qRound((90 - span / 2) * 16), qRound(span * 16));
    }
    p.restore();
}

// The program's mark as the login window shows it: a white ticket with the
// Wi-Fi symbol and the perforation of its stub.
void drawMark(QPainter &p, const QRectF &square)
{
    const double u = square.width() / 16.0;
    const QRectF body(square.left(), square.top() + 2.0 * u, square.width(), 12.0 * u);
    p.save();
    p.fillPath(ticketPath(body, 1.6 * u, 1.7 * u), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Navy, 190));
    const double mainRight = body.left() + 12.4 * u;
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPointF(mainRight, body.top() + (1.5 + 1.8 * i) * u), 0.4 * u, 0.4 * u);
    drawWifi(p, QPointF(body.left() + 6.3 * u, body.top() + 9.5 * u), 0.95 * u, 1.05 * u, 0.85 * u, 3, Navy,
             84);
    p.restore();
}

// A chevron pointing in `direction` (1 right, -1 left), centred on `c`.
QPainterPath chevronSideways(QPointF c, double half, int direction)
{
    QPainterPath path;
    const double reach = half * 0.62 * direction;
    path.moveTo(c + QPointF(-reach, -half));
    path.lineTo(c + QPointF(reach, 0));
    path.lineTo(c + QPointF(-reach, half));
    return path;
}

// A chevron pointing up (direction -1) or down (1), centred on `c`.
QPainterPath chevronUpDown(QPointF c, double half, int direction)
{
    QPainterPath path;
    const double reach = half * 0.5 * direction;
    path.moveTo(c + QPointF(-half, -reach));
    path.lineTo(c + QPointF(0, reach));
    path.lineTo(c + QPointF(half, -reach));
    return path;
}

// A printer seen from the front, about 30 x 30 around `c`: paper going in at
// the top, the body, a printed sheet coming out; `ground` is the colour it
// stands on (the lines of the sheet).
void drawPrinter(QPainter &p, QPointF c, const QColor &ink, const QColor &ground)
{
    p.save();
    p.setPen(Qt::NoPen);
    // Paper going in.
    p.setBrush(withAlpha(ink, 200));
    p.drawRoundedRect(QRectF(c.x() - 8, c.y() - 14, 16, 9), 1.5, 1.5);
    // The body, with a slot and a light.
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(c.x() - 15, c.y() - 6.5, 30, 14), 3, 3);
    p.setBrush(ground);
    p.drawRect(QRectF(c.x() - 10, c.y() + 3.5, 20, 1.6));
    p.setBrush(QColor(0x5B, 0xE0, 0x7A));
    p.drawEllipse(QPointF(c.x() + 10.5, c.y() - 2.5), 1.6, 1.6);
    // The printed sheet, with a ground-coloured rim against the body and two
    // lines of print.
    const QRectF sheet(c.x() - 9, c.y() + 3, 18, 12);
    p.setPen(QPen(ground, 1.6));
    p.setBrush(ink);
    p.drawRect(sheet);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(ground, 200));
    p.drawRect(QRectF(sheet.left() + 3.5, sheet.top() + 4.5, 11, 1.5));
    p.drawRect(QRectF(sheet.left() + 3.5, sheet.top() + 8, 7, 1.5));
    p.restore();
}

// A waste bin, about 22 x 26 around `c`.
void drawBin(QPainter &p, QPointF c, const QColor &ink)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // The handle and the lid.
    QPainterPath handle;
    handle.moveTo(c.x() - 4, c.y() - 10);
    handle.lineTo(c.x() - 4, c.y() - 12.5);
    handle.lineTo(c.x() + 4, c.y() - 12.5);
    handle.lineTo(c.x() + 4, c.y() - 10);
    p.drawPath(handle);
    p.drawLine(QPointF(c.x() - 11, c.y() - 9.5), QPointF(c.x() + 11, c.y() - 9.5));
    // The can, a little narrower at the bottom, with three ribs.
    QPainterPath can;
    can.moveTo(c.x() - 8.5, c.y() - 6);
    can.lineTo(c.x() - 7, c.y() + 12);
    can.lineTo(c.x() + 7, c.y() + 12);
    can.lineTo(c.x() + 8.5, c.y() - 6);
    p.drawPath(can);
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    for (double dx : {-3.5, 0.0, 3.5})
        p.drawLine(QPointF(c.x() + dx, c.y() - 2), QPointF(c.x() + dx * 0.9, c.y() + 8));
    p.restore();
}

// A clock with a turning arrow round it: the sales history.
void drawHistorySymbol(QPainter &p, QPointF c, double radius, const QColor &ink)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    // An open circle, from the left round over the top to the bottom-left.
    p.drawArc(box, 200 * 16, -300 * 16);
    // Its arrow head at the open end.
    const double a = qDegreesToRadians(200.0);
    const QPointF tip(c.x() + radius * std::cos(a), c.y() - radius * std::sin(a));
    QPainterPath head;
    head.moveTo(tip + QPointF(-4.5, -1.5));
    head.lineTo(tip);
    head.lineTo(tip + QPointF(1.0, -4.8));
    p.drawPath(head);
    // The hands.
    QPainterPath hands;
    hands.moveTo(c.x(), c.y() - radius * 0.55);
    hands.lineTo(c);
    hands.lineTo(c.x() + radius * 0.45, c.y() + radius * 0.3);
    p.drawPath(hands);
    p.restore();
}

// The backspace mark: a label pointing left with a cross in it.
void drawBackspace(QPainter &p, QPointF c, const QColor &ink)
{
    p.save();
    QPainterPath label;
    label.moveTo(c.x() - 14, c.y());
    label.lineTo(c.x() - 6, c.y() - 9);
    label.lineTo(c.x() + 13, c.y() - 9);
    label.lineTo(c.x() + 13, c.y() + 9);
    label.lineTo(c.x() - 6, c.y() + 9);
    label.closeSubpath();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(label);
    const QPointF x(c.x() + 3.5, c.y());
    p.drawLine(x + QPointF(-4, -4), x + QPointF(4, 4));
    p.drawLine(x + QPointF(4, -4), x + QPointF(-4, 4));
    p.restore();
}

// ---------------------------------------------------------------- counter window skin

constexpr int SkinWidth = 733;
constexpr int SkinHeight = 391;
constexpr int TitleDepth = 62;
constexpr int SideWidth = 359; // the dark left column
constexpr int CardLeft = 18;   // the sales card: header, list, total
constexpr int CardRight = 341;
constexpr int CardTop = 102;
constexpr int ListTop = 170;
constexpr int ListBottom = SkinHeight - 67;
constexpr int CardBottom = SkinHeight - 8;
constexpr int BandTop = SkinHeight - 60; // the bottom band
constexpr double WindowRadius = 10;

QImage drawPosSkin()
{
    constexpr int W = SkinWidth;
    constexpr int H = SkinHeight;
    QImage image = canvas(W, H);
    QPainter p(&image);
    begin(p);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, W, H), WindowRadius, WindowRadius);
    p.setClipPath(outline);

    // The page, with a soft shade under the title band.
    p.fillRect(QRectF(SideWidth, 0, W - SideWidth, H), vertical(TitleDepth, BandTop, Page, PageLow));
    p.fillRect(QRectF(SideWidth, TitleDepth, W - SideWidth, 8),
               vertical(TitleDepth, TitleDepth + 8, withAlpha(Deep, 46), withAlpha(Deep, 0)));

    // The left column and the bottom band: one dark L round the page.
    p.fillRect(QRectF(0, 0, SideWidth, H), vertical(TitleDepth, H, SideTop, SideBottom));
    p.fillRect(QRectF(SideWidth, BandTop, W - SideWidth, H - BandTop),
               vertical(BandTop, H, QColor(0x26, 0x2D, 0x3C), SideBottom));
    p.fillRect(QRectF(SideWidth, BandTop, W - SideWidth, 1), withAlpha(Deep, 150));
    p.fillRect(QRectF(SideWidth, BandTop + 1, W - SideWidth, 1), withAlpha(Qt::white, 22));
    p.fillRect(QRectF(SideWidth - 1, TitleDepth, 1, BandTop - TitleDepth), withAlpha(Qt::black, 60));

    // The title band; it is the same colour from x 330 to 403, around the
    // columns the middle of a wider window is taken from.
    QLinearGradient band(0, 0, W, 0);
    band.setColorAt(0, Navy);
    band.setColorAt(330.0 / W, MidBand);
    band.setColorAt(403.0 / W, MidBand);
    band.setColorAt(1, Sky);
    QPainterPath header;
    header.moveTo(0, 0);
    header.lineTo(W, 0);
    header.lineTo(W, TitleDepth);
    header.lineTo(330, TitleDepth);
    header.cubicTo(250, TitleDepth, 170, 92, 0, 84);
    header.closeSubpath();
    QPainterPath under;
    under.moveTo(0, 0);
    under.lineTo(330, 0);
    under.lineTo(330, TitleDepth);
    under.cubicTo(250, TitleDepth + 4, 170, 98, 0, 90);
    under.closeSubpath();
    p.fillPath(under, withAlpha(Sky, 60));
    p.fillPath(header, band);
    // A faint sheen on the upper half.
    p.fillPath(header, vertical(0, TitleDepth, withAlpha(Qt::white, 26), withAlpha(Qt::white, 0)));

    // The mark and the name.
    drawMark(p, QRectF(20, 9, 44, 44));
    p.setPen(Qt::white);
    p.setFont(carlito(30, true));
    p.drawText(QRectF(76, 6, 260, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("wifiTicketer"));
    p.setPen(withAlpha(Qt::white, 215));
    p.setFont(carlito(15));
    p.drawText(QRectF(77, 36, 260, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Modo POS"));

    // The sales card: a shadow, the header, the list's ground, the total bar.
    const QRectF card(CardLeft, CardTop, CardRight - CardLeft, CardBottom - CardTop);
    constexpr double CardRadius = 8;
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 50));
    p.drawRoundedRect(card.adjusted(-1, 0, 1, 3), CardRadius + 1, CardRadius + 1);
    QPainterPath cardPath;
    cardPath.addRoundedRect(card, CardRadius, CardRadius);
    p.save();
    p.setClipPath(cardPath, Qt::IntersectClip);
    p.fillRect(QRectF(CardLeft, CardTop, card.width(), ListTop - CardTop),
               vertical(CardTop, ListTop, QColor(0x44, 0x4D, 0x62), QColor(0x3A, 0x42, 0x55)));
    p.fillRect(QRectF(CardLeft, CardTop, card.width(), 1), withAlpha(Qt::white, 34));
    p.fillRect(QRectF(CardLeft, ListTop - 1, card.width(), 1), withAlpha(Qt::black, 70));
    p.fillRect(QRectF(CardLeft, ListTop, card.width(), ListBottom - ListTop), ListGround);
    QLinearGradient total(CardLeft, 0, CardRight, 0);
    total.setColorAt(0, Navy);
    total.setColorAt(1, SkyDark);
    p.fillRect(QRectF(CardLeft, ListBottom, card.width(), CardBottom - ListBottom), total);
    p.fillRect(QRectF(CardLeft, ListBottom, card.width(), CardBottom - ListBottom),
               vertical(ListBottom, CardBottom, withAlpha(Qt::white, 30), withAlpha(Qt::white, 0)));
    p.fillRect(QRectF(CardLeft, ListBottom, card.width(), 2), Sky);
    p.restore();
    p.setPen(QPen(withAlpha(Qt::black, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(-0.5, -0.5, 0.5, 0.5), CardRadius + 0.5, CardRadius + 0.5);
    drawHistorySymbol(p, QPointF(48, 139.5), 10.5, withAlpha(Qt::white, 210));

    p.setClipping(false);
    p.setPen(QPen(withAlpha(Deep, 170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, W - 1, H - 1), WindowRadius - 0.5, WindowRadius - 0.5);
    return image;
}

// ---------------------------------------------------------------- counter window items

QImage drawStatusIcon()
{
    QImage image = canvas(24, 24);
    QPainter p(&image);
    begin(p);
    const QRectF disc(1, 1, 22, 22);
    p.setPen(QPen(Deep, 1));
    p.setBrush(vertical(1, 23, QColor(0x4C, 0x9B, 0xEA), SkyDark));
    p.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7.2), 1.9, 1.9);
    p.drawRoundedRect(QRectF(10.3, 10.2, 3.4, 8.8), 1.2, 1.2);
    return image;
}

// The bin beside "Histórico": a square button on the card's header, red under
// the finger.
QImage drawClearButton(bool hot)
{
    QImage image = canvas(68, 53);
    QPainter p(&image);
    begin(p);
    const QRectF face(12.5, 5.5, 43, 42);
    if (hot) {
        p.setPen(QPen(QColor(0x8E, 0x1F, 0x1A), 1));
        p.setBrush(vertical(face.top(), face.bottom(), QColor(0xE8, 0x5A, 0x53), Red));
    } else {
        p.setPen(QPen(withAlpha(Qt::white, 70), 1));
        p.setBrush(withAlpha(Qt::white, 20));
    }
    p.drawRoundedRect(face, 8, 8);
    drawBin(p, face.center() + QPointF(0, 1), hot ? Qt::white : QColor(0xE4, 0xE9, 0xF2));
    return image;
}

// The text buttons of the bottom band: flat on the band, a sky-blue face
// under the finger; 3 px left free at both ends for the separator lines.
QImage drawTextButton(bool hot)
{
    QImage image = canvas(150, 25);
    QPainter p(&image);
    begin(p);
    const QRectF face(3.5, 0.5, 143, 24);
    if (hot) {
        p.setPen(QPen(withAlpha(QColor(0x7F, 0xBF, 0xFF), 200), 1));
        p.setBrush(vertical(face.top(), face.bottom(), QColor(0x3C, 0x92, 0xE6), SkyDark));
    } else {
        p.setPen(QPen(withAlpha(Qt::white, 30), 1));
        p.setBrush(withAlpha(Qt::white, 12));
    }
    p.drawRoundedRect(face, 5, 5);
    return image;
}

// "Próximo" (direction 1) and "Anterior" (-1): a light face with the arrow in a
// sky-blue end of `ArrowPart` px; the other end keeps 5 px.
constexpr int PageButtonWidth = 126;
constexpr int PageButtonHeight = 38;
constexpr int ArrowPart = 30;

QImage drawPageButton(int direction, bool hot)
{
    constexpr int W = PageButtonWidth;
    constexpr int H = PageButtonHeight;
    QImage image = canvas(W, H);
    QPainter p(&image);
    begin(p);
    const QRectF body(0.5, 0.5, W - 1, H - 3);
    constexpr double Radius = 5;
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Deep, 40));
    p.drawRoundedRect(body.translated(0, 2), Radius, Radius);
    QPainterPath shape;
    shape.addRoundedRect(body, Radius, Radius);
    p.fillPath(shape, vertical(body.top(), body.bottom(), hot ? QColor(0xF4, 0xF9, 0xFF) : Qt::white,
                               hot ? QColor(0xC9, 0xDF, 0xF9) : QColor(0xE2, 0xEA, 0xF6)));
    const QRectF arrowPart =
        direction > 0 ? QRectF(W - ArrowPart, 0, ArrowPart, H) : QRectF(0, 0, ArrowPart, H);
    p.save();
    p.setClipPath(shape);
    p.fillRect(arrowPart, vertical(body.top(), body.bottom(), hot ? QColor(0x5A, 0xA8, 0xF0) : Sky,
                                   hot ? Sky : SkyDark));
    p.restore();
    p.setPen(QPen(hot ? Sky : Border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, Radius, Radius);
    // A white line just inside the top edge of the light part.
    p.setPen(QPen(withAlpha(Qt::white, 220), 1));
    if (direction > 0)
        p.drawLine(QPointF(Radius, 1.5), QPointF(W - ArrowPart - 0.5, 1.5));
    else
        p.drawLine(QPointF(ArrowPart + 0.5, 1.5), QPointF(W - Radius, 1.5));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(chevronSideways(QPointF(arrowPart.center().x(), body.center().y()), 7, direction));
    return image;
}

// The arrows over the sales list: a dark shade that fades into the list
// (alpha from the panel's edge inwards) with a chevron near that edge.
QImage drawHistoryArrow(int direction, bool hot)
{
    constexpr int W = 323;
    constexpr int H = 50;
    QImage image = canvas(W, H);
    QPainter p(&image);
    begin(p);
    const double edge = direction < 0 ? 0 : H;
    const double inner = direction < 0 ? H : 0;
    QLinearGradient shade(0, edge, 0, inner);
    const QColor ground = hot ? QColor(0x2A, 0x3B, 0x58) : QColor(0x2B, 0x31, 0x3F);
    shade.setColorAt(0, ground);
    shade.setColorAt(0.5, withAlpha(ground, 215));
    shade.setColorAt(1, withAlpha(ground, 0));
    p.fillRect(QRect(0, 0, W, H), shade);
    const QPointF c(W / 2.0, direction < 0 ? 17 : H - 17);
    p.setPen(Qt::NoPen);
    p.setBrush(hot ? QColor(0x4C, 0x9B, 0xEA) : withAlpha(Qt::white, 56));
    p.drawEllipse(c, 14, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(chevronUpDown(c + QPointF(0, direction < 0 ? -0.5 : 0.5), 7, direction));
    return image;
}

// The profile buttons: a white face, a navy printer tile in the left 70 px and
// the kind's badge in the right 60 px; the middle stretches.
enum class ProfileKind
{
    Hotspot,
    UserManager,
};

constexpr int ProfileWidth = 355;
constexpr int ProfileHeight = 54;
constexpr int ProfileTile = 56; // the printer tile's width

QImage drawProfileButton(ProfileKind kind, bool hot)
{
    constexpr int W = ProfileWidth;
    constexpr int H = ProfileHeight;
    QImage image = canvas(W, H);
    QPainter p(&image);
    begin(p);
    const QRectF body(0.5, 0.5, W - 1, H - 3);
    constexpr double Radius = 7;
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Deep, 40));
    p.drawRoundedRect(body.translated(0, 2), Radius, Radius);
    QPainterPath shape;
    shape.addRoundedRect(body, Radius, Radius);
    p.fillPath(shape, vertical(body.top(), body.bottom(), hot ? QColor(0xF2, 0xF8, 0xFF) : Qt::white,
                               hot ? QColor(0xD3, 0xE6, 0xFB) : QColor(0xEE, 0xF3, 0xFA)));
    p.save();
    p.setClipPath(shape);
    p.fillRect(
        QRectF(0, 0, ProfileTile, H),
        vertical(body.top(), body.bottom(), hot ? QColor(0x4C, 0x9B, 0xEA) : SkyDark, hot ? SkyDark : Navy));
    p.restore();
    p.setPen(QPen(hot ? Sky : Border, hot ? 1.5 : 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, Radius, Radius);
    drawPrinter(p, QPointF(ProfileTile / 2.0, body.center().y()), Qt::white, hot ? SkyDark : Navy);

    // The badge: a rounded label with the two letters cut out of it.
    const QRectF badge(W - 30 - 21, body.center().y() - 12, 42, 24);
    const bool hotspot = kind == ProfileKind::Hotspot;
    const QColor top = hotspot ? QColor(0x4C, 0x9B, 0xEA) : QColor(0x49, 0xB8, 0x74);
    const QColor bottom = hotspot ? SkyDark : GreenDark;
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(badge.top(), badge.bottom(), top, bottom));
    p.drawRoundedRect(badge, 12, 12);
    p.setPen(Qt::white);
    p.setFont(carlito(16, true));
    p.drawText(badge.translated(0, -0.5), Qt::AlignCenter,
               hotspot ? QStringLiteral("HS") : QStringLiteral("UM"));
    return image;
}

// ---------------------------------------------------------------- keypad

constexpr int KeypadWidth = 258;
constexpr int KeypadHeight = 300;
constexpr int KeypadBand = 62;

QImage drawKeypadSkin()
{
    constexpr int W = KeypadWidth;
    constexpr int H = KeypadHeight;
    QImage image = canvas(W, H);
    QPainter p(&image);
    begin(p);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, W, H), 10, 10);
    p.setClipPath(outline);
    p.fillRect(QRect(0, 0, W, H), vertical(KeypadBand, H, SideTop, SideBottom));
    QLinearGradient band(0, 0, W, 0);
    band.setColorAt(0, Navy);
    band.setColorAt(1, Sky);
    p.fillRect(QRect(0, 0, W, KeypadBand), band);
    p.fillRect(QRect(0, 0, W, KeypadBand),
               vertical(0, KeypadBand, withAlpha(Qt::white, 26), withAlpha(Qt::white, 0)));
    p.fillRect(QRect(0, KeypadBand, W, 1), withAlpha(Qt::black, 90));
    // The display: a dark well, the number written into it from the right.
    const QRectF well(131.5, 9.5, 114, 45);
    p.setPen(QPen(withAlpha(Qt::white, 90), 1));
    p.setBrush(vertical(well.top(), well.bottom(), QColor(0x08, 0x1A, 0x38), QColor(0x0E, 0x27, 0x4E)));
    p.drawRoundedRect(well, 6, 6);
    p.setPen(QPen(withAlpha(Qt::black, 110), 1));
    p.drawLine(QPointF(well.left() + 5, well.top() + 1.5), QPointF(well.right() - 5, well.top() + 1.5));
    p.setClipping(false);
    p.setPen(QPen(withAlpha(Deep, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, W - 1, H - 1), 9.5, 9.5);
    return image;
}

struct KeyColours
{
    QColor top, bottom, rim;
    QColor hotTop, hotBottom, hotRim;
};

const KeyColours BlueKey{QColor(0xEE, 0xF5, 0xFE), QColor(0xB7, 0xD4, 0xF4), QColor(0x5F, 0x8F, 0xCC),
                         QColor(0xFF, 0xFF, 0xFF), QColor(0xCC, 0xE4, 0xFF), QColor(0x7F, 0xBF, 0xFF)};
const KeyColours YellowKey{QColor(0xFF, 0xEC, 0xA8), QColor(0xF2, 0xBF, 0x3A), QColor(0xB0, 0x80, 0x10),
                           QColor(0xFF, 0xF6, 0xD2), QColor(0xFA, 0xD0, 0x5E), QColor(0xFF, 0xDC, 0x70)};
const KeyColours RedKey{QColor(0xFC, 0xD2, 0xCE), QColor(0xEC, 0x8C, 0x84), QColor(0xAE, 0x3C, 0x35),
                        QColor(0xFF, 0xE6, 0xE3), QColor(0xF4, 0xA6, 0x9F), QColor(0xFF, 0x9C, 0x94)};
const KeyColours GreenKey{QColor(0xD2, 0xF4, 0xDC), QColor(0x7C, 0xD0, 0x97), QColor(0x2A, 0x8A, 0x4C),
                          QColor(0xE8, 0xFB, 0xEE), QColor(0x98, 0xE2, 0xAF), QColor(0x8C, 0xF0, 0xAA)};

// A key: a rounded face with a 2-px shade under it; under the finger lighter,
// with a light rim.
QImage drawKey(int width, const KeyColours &colours, bool hot)
{
    constexpr int H = 51;
    QImage image = canvas(width, H);
    QPainter p(&image);
    begin(p);
    const QRectF body(0.5, 0.5, width - 1, H - 3);
    constexpr double Radius = 7;
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 110));
    p.drawRoundedRect(body.translated(0, 2), Radius, Radius);
    p.setPen(QPen(hot ? colours.hotRim : colours.rim, hot ? 1.5 : 1));
    p.setBrush(vertical(body.top(), body.bottom(), hot ? colours.hotTop : colours.top,
                        hot ? colours.hotBottom : colours.bottom));
    p.drawRoundedRect(body, Radius, Radius);
    p.setPen(QPen(withAlpha(Qt::white, 200), 1));
    p.drawLine(QPointF(Radius, 1.8), QPointF(width - Radius, 1.8));
    return image;
}

QImage drawBackspaceKey(bool hot)
{
    QImage image = drawKey(54, YellowKey, hot);
    QPainter p(&image);
    begin(p);
    drawBackspace(p, QPointF(27, 24.5), QColor(0x2A, 0x22, 0x10));
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeposskins OUTPUT-FOLDER\n");
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);

    // Switched-off items keep this much of their alpha.
    constexpr double Off = 0.42;

    save(drawPosSkin(), QStringLiteral("pos-skin.png"));
    save(drawStatusIcon(), QStringLiteral("pos-status.png"));
    save(drawKeypadSkin(), QStringLiteral("keypad-skin.png"));
    for (bool hot : {false, true}) {
        const QString suffix = hot ? QStringLiteral("-hot.png") : QStringLiteral(".png");
        save(drawClearButton(hot), QStringLiteral("pos-clear") + suffix);
        save(drawTextButton(hot), QStringLiteral("pos-textbutton") + suffix);
        save(drawPageButton(1, hot), QStringLiteral("pos-next") + suffix);
        save(drawPageButton(-1, hot), QStringLiteral("pos-previous") + suffix);
        save(drawHistoryArrow(-1, hot), QStringLiteral("pos-history-up") + suffix);
        save(drawHistoryArrow(1, hot), QStringLiteral("pos-history-down") + suffix);
        save(drawProfileButton(ProfileKind::Hotspot, hot), QStringLiteral("pos-profile-hs") + suffix);
        save(drawProfileButton(ProfileKind::UserManager, hot), QStringLiteral("pos-profile-um") + suffix);
        save(drawKey(54, BlueKey, hot), QStringLiteral("keypad-blue") + suffix);
        save(drawBackspaceKey(hot), QStringLiteral("keypad-yellow") + suffix);
        save(drawKey(54, RedKey, hot), QStringLiteral("keypad-red") + suffix);
        save(drawKey(112, BlueKey, hot), QStringLiteral("keypad-wide-blue") + suffix);
        save(drawKey(112, GreenKey, hot), QStringLiteral("keypad-wide-green") + suffix);
    }
    save(faded(drawPageButton(1, false), Off), QStringLiteral("pos-next-off.png"));
    save(faded(drawPageButton(-1, false), Off), QStringLiteral("pos-previous-off.png"));
    save(faded(drawProfileButton(ProfileKind::Hotspot, false), Off),
         QStringLiteral("pos-profile-hs-off.png"));
    save(faded(drawProfileButton(ProfileKind::UserManager, false), Off),
         QStringLiteral("pos-profile-um-off.png"));
    return allWritten ? 0 : 1;
}
