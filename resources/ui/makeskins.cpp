// Draws the artwork of the login window, the window buttons and the program's
// shared small images: PNG files with alpha (the transparent parts are
// transparent, no colour key), written into the folder given on the command
// line. The pictures are committed; this program documents how they were made.
//
//   g++ -std=c++20 -fPIC makeskins.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/makeskins
//   QT_QPA_PLATFORM=offscreen /tmp/makeskins .
//
// Texts are drawn in Carlito (Debian fonts-crosextra-carlito), the face the
// windows use for "Calibri"; without it the pictures come out slightly
// different.
//
// What it writes (width x height in pixels; "-hot" is the picture under the
// mouse):
//
//   appicon-16/24/32/48/64/128/256.png   the application icon: a ticket with the
//                                        Wi-Fi symbol, drawn for every size
//   imagelist.png                        216 x 18: the shared small images, one
//                                        18 x 18 cell each, index i at x = 18 i
//   login-skin.png        433 x 380      the login window's background
//   button(-hot).png      165 x 46       "Configuração" and "Login"; the window
//                                        writes the caption, dark blue on light
//   selector(-hot).png    295 x 49       the router selector; drawn to be cut in
//                                        three (50 px left, 10 px right), router
//                                        symbol and menu mark in the left part,
//                                        the router name goes from x 61, y 13
//   field-user(-glow).png 295 x 49       the frame behind the user name edit;
//   field-password(-glow).png            "-glow" while the edit has the focus;
//                                        same slicing, symbol in the left part;
//                                        white from x 57 to 277, y 13 to 40,
//                                        where the edit lies
//   menu(-hot).png         35 x 36       the program menu button (three bars)
//   close(-hot).png        64 x 30       close, hanging from the top edge; the
//                                        counter window uses it too, so it reads
//   minimize(-hot).png     64 x 30       on light and on dark; minimise alike
//
// The login window places over its skin: the close image at (346, 0), the
// router selector at (103, 119), the user frame at (103, 170), the password
// frame at (103, 221), the menu button at (27, 175) and the two buttons at
// (38, 300) and (230, 300). The top 60 px drag the window, so the skin keeps
// them for the title; the buttons sit on a light band at the bottom.
//
// The shared small images (list views' row icons, the drop-down symbols of the
// edit with suggestion list):
//
//   0  router                      router rows of the routers page
//   1  program user                users without access to the setup
//   2  program user with setup     users with access to the setup
//      access (gear badge)
//   3  hotspot profile             profile rows of the routers page
//   4  User Manager voucher        green ticket: history and voucher rows,
//                                  and the generator's User Manager profiles
//   5  hotspot voucher             blue ticket: history and voucher rows, and
//                                  the generator's hotspot profiles
//   6  removed voucher             grey ticket, red cross
//   7  name of the username        rows of the username database
//      database (name card)
//   8  list open                   up mark
//   9  list open, under the mouse
//  10  list closed                 down mark
//  11  list closed, under the mouse

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>

namespace {

const QColor Navy(0x14, 0x3C, 0x78);
const QColor Deep(0x0E, 0x2A, 0x55);
const QColor Sky(0x2E, 0x86, 0xDE);
const QColor SkyDark(0x1F, 0x6C, 0xC0);
const QColor Paper(0xFB, 0xFC, 0xFE);
const QColor Pale(0xEE, 0xF4, 0xFC);
const QColor Band(0xE3, 0xEC, 0xF8);
const QColor Line(0xC8, 0xD8, 0xEE);
const QColor Border(0x97, 0xAF, 0xD0);
const QColor Muted(0x4F, 0x6F, 0x9F);
const QColor GreenDark(0x1E, 0x74, 0x41);
const QColor Red(0xD6, 0x3B, 0x35);
const QColor Gold(0xE8, 0xA3, 0x17);

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

// The Wi-Fi symbol: a dot at `base` and `rings` arcs opening upwards, each
// `stroke` thick with `gap` between them.
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

// A person: head and shoulders in the square `r`.
QPainterPath personPath(const QRectF &r)
{
    const double a = r.width();
    const double cx = r.center().x();
    QPainterPath path;
    path.addEllipse(QPointF(cx, r.top() + 0.28 * a), 0.2 * a, 0.2 * a);
    QPainterPath body;
    const double half = 0.38 * a;
    body.moveTo(cx - half, r.bottom());
    body.lineTo(cx - half, r.top() + 0.82 * a);
    body.arcTo(QRectF(cx - half, r.top() + 0.54 * a, 2 * half, 0.56 * a), 180, -180);
    body.lineTo(cx + half, r.bottom());
    body.closeSubpath();
    path.addPath(body);
    path.setFillRule(Qt::WindingFill);
    return path;
}

// A padlock in the square `r`, its keyhole cut out.
QPainterPath padlockPath(const QRectF &r)
{
    const double a = r.width();
    const double cx = r.center().x();
    QPainterPath shackleLine;
    const double sw = 0.1 * a;
    const double sr = 0.2 * a;
    const double bodyTop = r.top() + 0.44 * a;
    shackleLine.moveTo(cx - sr, bodyTop + 0.02 * a);
    shackleLine.lineTo(cx - sr, r.top() + 0.08 * a + sr);
    shackleLine.arcTo(QRectF(cx - sr, r.top() + 0.08 * a, 2 * sr, 2 * sr), 180, -180);
    shackleLine.lineTo(cx + sr, bodyTop + 0.02 * a);
    QPainterPathStroker stroker;
    stroker.setWidth(sw);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath lock = stroker.createStroke(shackleLine);
    QPainterPath body;
    body.addRoundedRect(QRectF(cx - 0.34 * a, bodyTop, 0.68 * a, 0.5 * a), 0.08 * a, 0.08 * a);
    lock = lock.united(body);
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(cx, bodyTop + 0.19 * a), 0.075 * a, 0.075 * a);
    keyhole.addRect(QRectF(cx - 0.035 * a, bodyTop + 0.2 * a, 0.07 * a, 0.16 * a));
    keyhole.setFillRule(Qt::WindingFill);
    return lock.subtracted(keyhole);
}

// A router seen from the front: a flat box with two aerials and three lights,
// in the square `r`; the lights are drawn in `lights`.
void drawRouter(QPainter &p, const QRectF &r, const QColor &colour, const QColor &lights)
{
    const double a = r.width();
    const QRectF box(r.left() + 0.06 * a, r.top() + 0.52 * a, 0.88 * a, 0.34 * a);
    p.save();
    p.setPen(QPen(colour, 0.085 * a, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.left() + 0.24 * a, box.top()), QPointF(r.left() + 0.16 * a, r.top() + 0.12 * a));
    p.drawLine(QPointF(r.right() - 0.24 * a, box.top()), QPointF(r.right() - 0.16 * a, r.top() + 0.12 * a));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(box, 0.08 * a, 0.08 * a);
    p.setBrush(lights);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(box.left() + (0.2 + 0.14 * i) * a, box.center().y()), 0.05 * a, 0.05 * a);
    p.drawRoundedRect(QRectF(box.right() - 0.3 * a, box.center().y() - 0.035 * a, 0.2 * a, 0.07 * a),
                      0.03 * a, 0.03 * a);
    p.restore();
}

// ---------------------------------------------------------------- application icon

// The program's mark: a ticket with the Wi-Fi symbol on its main part and a
// perforated stub at the right (left out where it would only blur).
void drawMark(QPainter &p, const QRectF &square, const QBrush &ticket, const QColor &symbol,
              const QColor &outline)
{
    const double s = square.width();
    const double u = s / 16.0;
    const QRectF body(square.left(), square.top() + 2.0 * u, s, 12.0 * u);
    const QPainterPath path = ticketPath(body, 1.6 * u, 1.7 * u);
    p.save();
    p.fillPath(path, ticket);
    if (outline.alpha() > 0 && s >= 32) {
        p.setPen(QPen(outline, std::max(1.0, s / 64.0)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    const bool stub = s >= 32;
    const double mainRight = body.left() + 12.4 * u;
    if (stub) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(symbol, 190));
        const double dot = 0.4 * u;
        for (int i = 0; i < 6; ++i)
            p.drawEllipse(QPointF(mainRight, body.top() + (1.5 + 1.8 * i) * u), dot, dot);
    }
    const double cx = stub ? body.left() + 6.3 * u : body.center().x();
    if (s < 20) {
        // Two arcs, on whole pixels as far as the sizes allow.
        drawWifi(p, QPointF(cx, body.top() + 10.0 * u), 1.0 * u, 2.0 * u, 1.0 * u, 2, symbol);
    } else {
        drawWifi(p, QPointF(cx, body.top() + 9.5 * u), 0.95 * u, 1.05 * u, 0.85 * u, 3, symbol, 84);
    }
    p.restore();
}

QLinearGradient ticketGradient(const QRectF &square)
{
    QLinearGradient g(square.topLeft(), square.bottomRight());
    g.setColorAt(0, Sky);
    g.setColorAt(1, Navy);
    return g;
}

QImage drawAppIcon(int size)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    begin(p);
    const QRectF square(0, 0, size, size);
    drawMark(p, square, ticketGradient(square), Qt::white, withAlpha(Deep, 160));
    return image;
}

// ---------------------------------------------------------------- shared small images

constexpr int Cell = 18;

void drawTicketIcon(QPainter &p, const QColor &top, const QColor &bottom)
{
    const QRectF r(1, 4, 16, 11);
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    const QPainterPath path = ticketPath(r, 1.5, 1.8);
    p.fillPath(path, g);
    // The perforation of the stub.
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 170));
    for (int y = 6; y <= 13; y += 2)
        p.drawRect(QRectF(12, y, 1, 1));
}

void iconRouter(QPainter &p)
{
    p.setPen(QPen(Deep, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 9), QPointF(3.8, 2.6));
    p.drawLine(QPointF(13, 9), QPointF(14.2, 2.6));
    QLinearGradient g(0, 9, 0, 16);
    g.setColorAt(0, QColor(0x3A, 0x6C, 0xB0));
    g.setColorAt(1, Navy);
    p.setPen(QPen(Deep, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 9.5, 15, 6), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5B, 0xE0, 0x7A));
    for (int x : {4, 6, 8})
        p.drawRect(QRectF(x, 12, 1, 1));
    p.setBrush(withAlpha(Qt::white, 200));
    p.drawRect(QRectF(11, 12, 3, 1));
}

void iconUser(QPainter &p, bool administrator)
{
    QLinearGradient g(0, 1, 0, 17);
    if (administrator) {
        g.setColorAt(0, Sky);
        g.setColorAt(1, Navy);
    } else {
        g.setColorAt(0, QColor(0x8F, 0xA8, 0xC8));
        g.setColorAt(1, QColor(0x5A, 0x74, 0x98));
    }
    QPainterPath person = personPath(QRectF(1, 1, 15, 16.5));
    p.fillPath(person, g);
    if (!administrator)
        return;
    // A gear on the lower right: access to the setup.
    const QPointF c(13.5, 13.5);
    QPainterPath gear;
    for (int tooth = 0; tooth < 8; ++tooth) {
        QPainterPath t;
        t.addRect(QRectF(-0.9, -4.3, 1.8, 2.2));
        QTransform turn;
        turn.translate(c.x(), c.y());
        turn.rotate(tooth * 45.0);
        gear.addPath(turn.map(t));
    }
    gear.addEllipse(c, 3.3, 3.3);
    gear.setFillRule(Qt::WindingFill);
    gear = gear.simplified();
    QPainterPath hole;
    hole.addEllipse(c, 1.3, 1.3);
    gear = gear.subtracted(hole);
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(gear);
    p.setPen(QPen(QColor(0x9A, 0x62, 0x00), 0.6));
    p.setBrush(Gold);
    p.drawPath(gear);
}

void iconProfile(QPainter &p)
{
    // A sheet with a folded corner, the Wi-Fi symbol and a line of text.
    QPainterPath sheet;
    sheet.moveTo(3.5, 1.5);
    sheet.lineTo(11, 1.5);
    sheet.lineTo(14.5, 5);
    sheet.lineTo(14.5, 16.5);
    sheet.lineTo(3.5, 16.5);
    sheet.closeSubpath();
    p.setPen(QPen(Muted, 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(11, 1.5);
    fold.lineTo(11, 5);
    fold.lineTo(14.5, 5);
    p.setBrush(Pale);
    p.drawPath(fold);
    drawWifi(p, QPointF(9, 11.2), 1.1, 1.2, 0.9, 2, Sky);
    p.setPen(Qt::NoPen);
    p.setBrush(Muted);
    p.drawRect(QRectF(6, 13, 6, 1));
}

void iconUserManagerVoucher(QPainter &p)
{
    drawTicketIcon(p, QColor(0x49, 0xB8, 0x74), GreenDark);
    // A small person on the main part.
    p.fillPath(personPath(QRectF(3.5, 5.6, 7, 7.6)), Qt::white);
}

void iconHotspotVoucher(QPainter &p)
{
    drawTicketIcon(p, QColor(0x4C, 0x9B, 0xEA), Navy);
    drawWifi(p, QPointF(6.5, 12.3), 1.0, 1.1, 0.8, 2, Qt::white);
}

void iconRemovedVoucher(QPainter &p)
{
    drawTicketIcon(p, QColor(0xB8, 0xC0, 0xCB), QColor(0x84, 0x8E, 0x9C));
    // A red cross with a white rim, over the ticket.
    QPainterPath cross;
    cross.moveTo(8.5, 7.5);
    cross.lineTo(15, 14);
    cross.moveTo(15, 7.5);
    cross.lineTo(8.5, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
    p.setPen(QPen(Red, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
}

void iconNameCard(QPainter &p)
{
    p.setPen(QPen(Muted, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(1.5, 3.5, 15, 11), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Sky);
    p.drawRect(QRectF(2, 4, 14, 2));
    p.fillPath(personPath(QRectF(3, 6.6, 5.5, 6.9)), SkyDark);
    p.setBrush(Muted);
    p.drawRect(QRectF(10, 8, 5, 1));
    p.drawRect(QRectF(10, 10, 5, 1));
    p.drawRect(QRectF(10, 12, 3, 1));
}

// The drop-down symbols: an up mark while the list is open, a down mark while
// it is closed; under the mouse on a light blue ground.
void iconDropDown(QPainter &p, bool open, bool hot)
{
    if (hot) {
        p.setPen(QPen(QColor(0x8D, 0xB6, 0xE6), 1));
        p.setBrush(QColor(0xDC, 0xEA, 0xFB));
        p.drawRoundedRect(QRectF(0.5, 0.5, 17, 17), 3, 3);
    }
    QPainterPath mark;
    if (open) {
        mark.moveTo(5, 10.5);
        mark.lineTo(9, 6.5);
        mark.lineTo(13, 10.5);
    } else {
        mark.moveTo(5, 7.5);
        mark.lineTo(9, 11.5);
        mark.lineTo(13, 7.5);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(hot ? SkyDark : QColor(0x3A, 0x4A, 0x60), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
}

QImage drawImageList()
{
    const std::function<void(QPainter &)> icons[] = {
        iconRouter,
        [](QPainter &p) { iconUser(p, false); },
        [](QPainter &p) { iconUser(p, true); },
        iconProfile,
        iconUserManagerVoucher,
        iconHotspotVoucher,
        iconRemovedVoucher,
        iconNameCard,
        [](QPainter &p) { iconDropDown(p, true, false); },
        [](QPainter &p) { iconDropDown(p, true, true); },
        [](QPainter &p) { iconDropDown(p, false, false); },
        [](QPainter &p) { iconDropDown(p, false, true); },
    };
    const int count = int(std::size(icons));
    QImage image = canvas(count * Cell, Cell);
    QPainter p(&image);
    begin(p);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.setClipRect(i * Cell, 0, Cell, Cell);
        p.translate(i * Cell, 0);
        icons[i](p);
        p.restore();
    }
    return image;
}

// ---------------------------------------------------------------- buttons

// A light push button with a soft shadow under it, `height` including the
// shadow's 2 px.
QImage drawPushButton(int width, int height, bool hot, double radius)
{
    QImage image = canvas(width, height);
    QPainter p(&image);
    begin(p);
    const QRectF body(0.5, 0.5, width - 1, height - 3);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Deep, 34));
    p.drawRoundedRect(body.translated(0, 2), radius, radius);
    QLinearGradient g(0, body.top(), 0, body.bottom());
    g.setColorAt(0, hot ? QColor(0xF4, 0xF9, 0xFF) : Qt::white);
    g.setColorAt(1, hot ? QColor(0xC9, 0xDF, 0xF9) : QColor(0xE2, 0xEA, 0xF6));
    p.setPen(QPen(hot ? Sky : Border, 1));
    p.setBrush(g);
    p.drawRoundedRect(body, radius, radius);
    // A white line just inside the top edge.
    p.setPen(QPen(withAlpha(Qt::white, 220), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(body.left() + radius, 1.5), QPointF(body.right() - radius, 1.5));
    return image;
}

QImage drawMenuButton(bool hot)
{
    QImage image = drawPushButton(35, 36, hot, 6);
    QPainter p(&image);
    begin(p);
    p.setPen(Qt::NoPen);
    p.setBrush(hot ? SkyDark : Navy);
    for (int y : {10, 16, 22})
        p.drawRoundedRect(QRectF(10, y, 15, 3), 1.5, 1.5);
    return image;
}

// The window buttons hang from the top edge: square top, round bottom corners.
QImage drawWindowButton(bool close, bool hot)
{
    constexpr int Width = 64;
    constexpr int Height = 30;
    QImage image = canvas(Width, Height);
    QPainter p(&image);
    begin(p);
    QPainterPath tab;
    constexpr double r = 7;
    tab.moveTo(0, 0);
    tab.lineTo(Width, 0);
    tab.lineTo(Width, Height - r);
    tab.quadTo(Width, Height, Width - r, Height);
    tab.lineTo(r, Height);
    tab.quadTo(0, Height, 0, Height - r);
    tab.closeSubpath();
    const QColor fill = !hot ? withAlpha(Deep, 90) : close ? Red : Sky;
    p.fillPath(tab, fill);
    const QPointF c(Width / 2.0, Height / 2.0 - 0.5);
    QPainterPath mark;
    if (close) {
        mark.moveTo(c + QPointF(-5, -5));
        mark.lineTo(c + QPointF(5, 5));
        mark.moveTo(c + QPointF(5, -5));
        mark.lineTo(c + QPointF(-5, 5));
    } else {
        mark.moveTo(c + QPointF(-6, 4));
        mark.lineTo(c + QPointF(6, 4));
    }
    p.setBrush(Qt::NoBrush);
    if (!hot) {
        // A faint dark rim keeps the mark readable on a light background.
        p.setPen(QPen(withAlpha(Deep, 90), 3.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(mark);
    }
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(mark);
    return image;
}

// ---------------------------------------------------------------- selector and fields

constexpr int FrameWidth = 295;
constexpr int FrameHeight = 49;
constexpr int LeftPart = 50; // the fixed left slice
constexpr double FrameRadius = 5.5;

// The frame's outline, 4 px in from every side to leave room for the glow.
QRectF frameRect()
{
    return QRectF(4.5, 4.5, FrameWidth - 9, FrameHeight - 9);
}

void drawGlow(QPainter &p, const QColor &colour, std::initializer_list<int> alphas)
{
    int step = 1;
    p.setBrush(Qt::NoBrush);
    for (int alpha : alphas) {
        p.setPen(QPen(withAlpha(colour, alpha), 1));
        p.drawRoundedRect(frameRect().adjusted(-step, -step, step, step), FrameRadius + step,
                          FrameRadius + step);
        ++step;
    }
}

enum class FieldSymbol
{
    User,
    Password,
};

QImage drawField(FieldSymbol symbol, bool glow)
{
    QImage image = canvas(FrameWidth, FrameHeight);
    QPainter p(&image);
    begin(p);
    const QRectF r = frameRect();
    if (glow)
        drawGlow(p, Sky, {120, 72, 38, 14});
    QPainterPath outline;
    outline.addRoundedRect(r, FrameRadius, FrameRadius);
    p.fillPath(outline, Qt::white);
    p.save();
    p.setClipPath(outline);
    p.fillRect(QRectF(0, 0, LeftPart, FrameHeight), glow ? QColor(0xE1, 0xEE, 0xFC) : Pale);
    p.setPen(QPen(glow ? QColor(0xA8, 0xCB, 0xEF) : Line, 1));
    p.drawLine(QPointF(LeftPart - 0.5, 0), QPointF(LeftPart - 0.5, FrameHeight));
    p.restore();
    p.setPen(QPen(glow ? Sky : Border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, FrameRadius, FrameRadius);
    const QRectF square(LeftPart / 2.0 - 11 + 2, FrameHeight / 2.0 - 11, 22, 22);
    const QColor colour = glow ? SkyDark : Muted;
    if (symbol == FieldSymbol::User)
        p.fillPath(personPath(square), colour);
    else
        p.fillPath(padlockPath(square), colour);
    return image;
}

QImage drawSelector(bool hot)
{
    QImage image = canvas(FrameWidth, FrameHeight);
    QPainter p(&image);
    begin(p);
    const QRectF r = frameRect();
    if (hot)
        drawGlow(p, Sky, {90, 40, 14});
    QPainterPath outline;
    outline.addRoundedRect(r, FrameRadius, FrameRadius);
    p.fillPath(outline, hot ? QColor(0xF6, 0xFA, 0xFF) : Qt::white);
    p.save();
    p.setClipPath(outline);
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, hot ? QColor(0x4A, 0x9B, 0xEA) : Sky);
    g.setColorAt(1, hot ? SkyDark : Navy);
    p.fillRect(QRectF(0, 0, LeftPart, FrameHeight), g);
    p.restore();
    p.setPen(QPen(hot ? Sky : QColor(0x5F, 0x82, 0xB4), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, FrameRadius, FrameRadius);
    drawRouter(p, QRectF(7, 11, 25, 25), Qt::white, QColor(0x7C, 0xF0, 0x9A));
    // A small down mark: the router menu opens below.
    QPainterPath mark;
    mark.moveTo(36.5, 22);
    mark.lineTo(40, 25.5);
    mark.lineTo(43.5, 22);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    return image;
}

// ---------------------------------------------------------------- login skin

QImage drawLoginSkin()
{
    constexpr int Width = 433;
    constexpr int Height = 380;
    constexpr int HeaderDepth = 96;
    constexpr int BandTop = 284;
    QImage image = canvas(Width, Height);
    QPainter p(&image);
    begin(p);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, Width, Height), 12, 12);
    p.setClipPath(outline);

    QLinearGradient body(0, 0, 0, Height);
    body.setColorAt(0, Paper);
    body.setColorAt(1, QColor(0xF2, 0xF6, 0xFC));
    p.fillRect(QRect(0, 0, Width, Height), body);

    // The title band, its lower edge a gentle wave.
    QLinearGradient band(0, 0, Width, 0);
    band.setColorAt(0, Navy);
    band.setColorAt(1, Sky);
    QPainterPath header;
    header.moveTo(0, 0);
    header.lineTo(Width, 0);
    header.lineTo(Width, HeaderDepth - 14);
    header.cubicTo(300, HeaderDepth + 12, 150, HeaderDepth - 24, 0, HeaderDepth + 2);
    header.closeSubpath();
    QPainterPath under;
    under.moveTo(0, 0);
    under.lineTo(Width, 0);
    under.lineTo(Width, HeaderDepth - 8);
    under.cubicTo(300, HeaderDepth + 18, 150, HeaderDepth - 18, 0, HeaderDepth + 8);
    under.closeSubpath();
    p.fillPath(under, withAlpha(Sky, 46));
    p.fillPath(header, band);

    // The mark and the name.
    const QRectF mark(22, 14, 56, 56);
    drawMark(p, mark, QColor(0xFF, 0xFF, 0xFF), Navy, QColor(0, 0, 0, 0));
    p.setPen(Qt::white);
    p.setFont(carlito(34, true));
    p.drawText(QRectF(92, 12, 250, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("wifiTicketer"));
    p.setPen(withAlpha(Qt::white, 215));
    p.setFont(carlito(15));
    p.drawText(QRectF(93, 50, 300, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Mikrotik hotspot gerador de voucher"));

    // The light band the two buttons sit on.
    p.fillRect(QRectF(0, BandTop, Width, Height - BandTop), Band);
    p.fillRect(QRectF(0, BandTop, Width, 1), Line);

    p.setClipping(false);
    p.setPen(QPen(withAlpha(Deep, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, Width - 1, Height - 1), 11.5, 11.5);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeskins OUTPUT-FOLDER\n");
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);

    for (int size : {16, 24, 32, 48, 64, 128, 256})
        save(drawAppIcon(size), QStringLiteral("appicon-%1.png").arg(size));
    save(drawImageList(), QStringLiteral("imagelist.png"));
    save(drawLoginSkin(), QStringLiteral("login-skin.png"));
    for (bool hot : {false, true}) {
        const QString suffix = hot ? QStringLiteral("-hot.png") : QStringLiteral(".png");
        save(drawPushButton(165, 46, hot, 8), QStringLiteral("button") + suffix);
        save(drawSelector(hot), QStringLiteral("selector") + suffix);
        save(drawMenuButton(hot), QStringLiteral("menu") + suffix);
        save(drawWindowButton(true, hot), QStringLiteral("close") + suffix);
        save(drawWindowButton(false, hot), QStringLiteral("minimize") + suffix);
    }
    for (bool glow : {false, true}) {
        const QString suffix = glow ? QStringLiteral("-glow.png") : QStringLiteral(".png");
        save(drawField(FieldSymbol::User, glow), QStringLiteral("field-user") + suffix);
        save(drawField(FieldSymbol::Password, glow), QStringLiteral("field-password") + suffix);
    }
    return allWritten ? 0 : 1;
}
