#include "testmain.h"

#include "ui/framework/printdialogprinterchooser.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PrintDialogPrinterChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void dialogOffersOnlyWhatTheJobUses();
    void cancelledDialogChoosesNothing();
    void outputToAFileIsNoPrinter();
    void acceptedDialogGivesThePrinter();
};

void PrintDialogPrinterChooserTest::dialogOffersOnlyWhatTheJobUses()
{
    QWidget parent;
    QPrinter printer;
    bool ran = false;
    PrintDialogPrinterChooser chooser(&parent, [&](QPrintDialog &dialog) {
        ran = true;
        [&] {
            QCOMPARE(dialog.parentWidget(), &parent);
            QCOMPARE(dialog.printer(), &printer);
            QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintToFile));
            QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintPageRange));
            QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintSelection));
            QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintCurrentPage));
            QVERIFY(!dialog.testOption(QAbstractPrintDialog::PrintCollateCopies));
        }();
        return false;
    });
    chooser.choosePrinter(printer);
    QVERIFY(ran);
}

void PrintDialogPrinterChooserTest::cancelledDialogChoosesNothing()
{
    QPrinter printer;
    PrintDialogPrinterChooser chooser(nullptr, [](QPrintDialog &) { return false; });
    QCOMPARE(chooser.choosePrinter(printer), std::nullopt);
}

void PrintDialogPrinterChooserTest::outputToAFileIsNoPrinter()
{
    QTemporaryDir dir;
    QPrinter printer;
    PrintDialogPrinterChooser chooser(nullptr, [&dir](QPrintDialog &dialog) {
        dialog.printer()->setOutputFileName(dir.filePath(u"vouchers.pdf"_s));
        return true;
    });
    QCOMPARE(chooser.choosePrinter(printer), std::nullopt);
}

void PrintDialogPrinterChooserTest::acceptedDialogGivesThePrinter()
{
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    if (installed.isEmpty())
        QSKIP("no printer is installed here");
    QPrinter printer;
    PrintDialogPrinterChooser chooser(nullptr, [&installed](QPrintDialog &dialog) {
        dialog.printer()->setPrinterName(installed.last());
        return true;
    });
    QCOMPARE(chooser.choosePrinter(printer), std::optional(installed.last()));
}

WIFITICKETER_TEST(PrintDialogPrinterChooserTest)

#include "printdialogprinterchoosertest.moc"
