// Draws card.png, the built-in voucher card picture behind the default design
// (800 x 547 pixels, 24 bits per pixel: a credit-card sized voucher at about
// 240 dpi). The picture is committed; this program documents how it was made.
//
//   g++ -std=c++20 -fPIC makecard.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/makecard
//   QT_QPA_PLATFORM=offscreen /tmp/makecard card.png
//
// The default design writes its captions and values at 27 mm (left column,
// from its left end) and up to 75 mm (right column), 18 to 38 mm from the
// top; the picture keeps that area light and puts its symbol to the left.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Width = 800;
constexpr int Height = 547;
// Pixels per tenth of a millimetre: 800 pixels for the card's 84 mm.
constexpr double Scale = Width / 840.0;

const QColor Navy(0x14, 0x3C, 0x78);
const QColor Sky(0x2E, 0x86, 0xDE);
const QColor Paper(0xFB, 0xFC, 0xFE);

void drawHeader(QPainter &p)
{
    QLinearGradient band(0, 0, Width, 0);
    band.setColorAt(0, Navy);
    band.setColorAt(1, Sky);
    QPainterPath header;
    header.moveTo(0, 0);
    header.lineTo(Width, 0);
    header.lineTo(Width, 120);
    header.cubicTo(560, 165, 260, 95, 0, 150);
    header.closeSubpath();
    p.fillPath(header, band);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(40, 18, Width - 80, 70), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Acesso Wi-Fi"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(22);
    p.setFont(subtitle);
    p.drawText(QRect(40, 78, Width - 80, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Internet sem fio"));
}

// The usual symbol: a dot and three arcs opening upwards.
void drawWifiSymbol(QPainter &p, QPointF base)
{
    p.setBrush(Sky);
    p.setPen(Qt::NoPen);
    p.drawEllipse(base, 15, 15);
    p.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= 3; ++ring) {
        const double radius = 40.0 * ring;
        QPen pen(ring == 3 ? Navy : Sky, 18, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawArc(QRectF(base.x() - radius, base.y() - radius, 2 * radius, 2 * radius), 45 * 16, 90 * 16);
    }
}

// A light panel under the four captions and values.
void drawPanel(QPainter &p)
{
    const QRectF panel(255 * Scale, 165 * Scale, (770 - 255) * Scale, (400 - 165) * Scale);
    p.setPen(QPen(QColor(0xC8, 0xD8, 0xEE), 2));
    p.setBrush(QColor(0xEE, 0xF4, 0xFC));
    p.drawRoundedRect(panel, 16, 16);
}

void drawFooter(QPainter &p)
{
    p.fillRect(QRect(0, Height - 64, Width, 64), QColor(0xE3, 0xEC, 0xF8));
    p.fillRect(QRect(0, Height - 64, Width, 4), Sky);
    QFont note(QStringLiteral("DejaVu Sans"));
    note.setPixelSize(20);
    p.setFont(note);
    p.setPen(Navy);
    p.drawText(QRect(40, Height - 60, Width - 80, 60), Qt::AlignCenter,
               QStringLiteral("Conecte-se à rede e entre com o usuário e a senha acima"));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QImage card(Width, Height, QImage::Format_RGB32);
    card.fill(Paper);
    {
        QPainter p(&card);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawHeader(p);
        drawPanel(p);
        drawWifiSymbol(p, QPointF(125, 335));
        drawFooter(p);
        p.setPen(QPen(QColor(0xB0, 0xC4, 0xDE), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 1.5, Width - 3, Height - 3));
    }
    return card.convertToFormat(QImage::Format_RGB888).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
