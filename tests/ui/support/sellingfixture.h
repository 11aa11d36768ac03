#pragma once

#include "routerharness.h"

#include "design/printjob.h"
#include "session/sessionfacade.h"
#include "ui/framework/uiresources.h"

#include <QSignalSpy>
#include <functional>

// The printer choice of the tests: counts the questions and answers with a
// queue name, or cancels.
class ScriptedPrinterChooser : public PrinterChooser
{
public:
    std::optional<QString> choosePrinter(QPrinter &printer) override;

    std::optional<QString> answer;
    int asked = 0;
    // Runs while the question is open (on the user-interface thread).
    std::function<void()> whileAsked;
};

// The cups-pdf queue of the print tests (WIFITICKETER_TEST_PRINT_QUEUE, writing
// into WIFITICKETER_TEST_PRINT_OUTPUT); no name when none is set up.
struct PrintQueue
{
    QString name;
    QString output;
};
PrintQueue testPrintQueue();
// The PDFs the queue has written so far.
QStringList printedFiles(const PrintQueue &queue);
// The text of the first PDF written since `before` that contains `marker`
// (other tests may print at the same time); empty when none came within 60 s.
QString waitForPrintedText(const PrintQueue &queue, const QStringList &before, const QString &marker);

// What a working window sells on: the simulated router "Sim" (started by
// start()) selling two profiles, in this order: the hotspot profile "1 Hora"
// (R$ 3,00) printing with "Cartão B" and the User Manager profile "1 Dia"
// (R$ 5,00) printing with "Padrão". The designs are "Padrão", "Cartão B" and
// "Cartão C". The next serial is 41; the sales history has its file.
class SellingFixture
{
public:
    SellingFixture();
    virtual ~SellingFixture();

    QStringList batchNames() const;
    QStringList routerHotSpotUsers();

    RouterHarness h;
    std::shared_ptr<VoucherProfile> hourProfile;
    std::shared_ptr<VoucherProfile> dayProfile;
    VoucherDesign *standard = nullptr;
    VoucherDesign *cardB = nullptr;
    VoucherDesign *cardC = nullptr;

    SessionFacade session{h.state, h.interaction};
    ScriptedPrinterChooser chooser;
    UiResources resources;
    QSignalSpy finished{&session, &SessionFacade::generationFinished};
};
