// Times writing vouchers to a 600-dpi PDF: the built-in design plus a QR code
// of the user name, for a batch of vouchers. Reports the time, the peak memory
// of the process and the PDF's size per voucher.
//
// Usage: wifiticketer-bench-pdf [vouchers, default 1000] [output file] [plain]

#include "design/voucherdesign.h"
#include "design/voucherpdf.h"
#include "generation/voucherprofile.h"
#include "generation/voucherrecord.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    QTemporaryDir dir;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(u"vouchers.pdf"_s);

    VoucherDesign design = makeDefaultDesign();
    DesignGraphic qr;
    qr.Kind = DesignGraphic::Barcode;
    qr.Symbology = 58; // QR Code
    qr.Source = u"${user}"_s;
    qr.X = 30; // over the Wi-Fi sign, clear of the texts
    qr.Y = 180;
    qr.Width = 190;
    qr.Height = 190;
    qr.Attributes = 0xFFFFFF; // white background
    // "plain" as a third argument leaves the QR code out, to compare.
    if (argc <= 3 || qstrcmp(argv[3], "plain") != 0)
        design.Graphics.append(qr);

    const auto profile = makeVoucherProfile(u"1 Hora"_s, 300, u"1h"_s, {u"R$ %c"_s, {}});
    BatchList batch;
    QList<const VoucherRecord *> vouchers;
    for (int i = 0; i < count; ++i) {
        VoucherRecord &record = newVoucherRecord(batch, profile);
        record.UserName = u"usr%1"_s.arg(i, 6, 10, QLatin1Char('0'));
        record.Password = u"pw%1"_s.arg(i * 7919 % 1000000, 6, 10, QLatin1Char('0'));
        record.Serial = quint32(i + 1);
        record.Created = 1796900000 + i;
        record.Expires = record.Created + 3600;
    }
    for (const VoucherRecord &record : batch)
        vouchers.append(&record);

    QElapsedTimer timer;
    timer.start();
    const bool ok = writeVoucherPdf(path, design, vouchers, false);
    const double seconds = timer.elapsed() / 1000.0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const qint64 bytes = QFileInfo(path).size();
    QTextStream(stdout) << QString::asprintf(
        "%s: %d vouchers to a %d-dpi PDF in %.2f s; peak memory %.1f MB; PDF %.1f KB, %.2f KB per voucher\n",
        ok ? "ok" : "FAILED", count, VoucherPdfResolution, seconds, usage.ru_maxrss / 1024.0, bytes / 1024.0,
        bytes / 1024.0 / qMax(1, count));
    return ok ? 0 : 1;
}
