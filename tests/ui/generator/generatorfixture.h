#pragma once

#include "routerharness.h"

#include "design/printjob.h"
#include "session/sessionfacade.h"
#include "ui/framework/uiresources.h"
#include "ui/generator/cgeneratordialog.h"

#include <QSignalSpy>
#include <functional>
#include <memory>

class CEditCombo;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTreeView;

// The printer choice of the tests: counts the questions and answers with a
// queue name, or cancels.
class ScriptedPrinterChooser : public PrinterChooser
{
public:
    std::optional<QString> choosePrinter(QPrinter &printer) override;

    std::optional<QString> answer;
    int asked = 0;
};

// A generator window on the simulated router "Sim", offscreen. The router
// sells two profiles, in this order: the hotspot profile "1 Hora" printing with
// "Cartão B" and the User Manager profile "1 Dia" printing with "Padrão". The
// designs are "Padrão", "Cartão B" and "Cartão C". The next serial is 41.
class GeneratorFixture
{
public:
    GeneratorFixture();
    ~GeneratorFixture();

    // Starts the router and opens the window; `adjust` changes the settings
    // the window starts with.
    bool open(const std::function<void(AppSettings &)> &adjust = {});

    // The window's controls.
    QTreeView *profileList() const;
    QTreeView *voucherList() const;
    QLabel *inputLabel() const;
    QLineEdit *input() const;
    CEditCombo *userNameCombo() const;
    QPushButton *button(const QString &name) const;
    QCheckBox *checkBox(const QString &name) const;
    QComboBox *designCombo() const;
    QProgressDialog *progress() const;

    // Clicks the profile's row (0 "1 Hora", 1 "1 Dia").
    void selectProfile(int row) const;
    // Types the count or name into the visible field, replacing what is there.
    void typeInput(const QString &text) const;
    void clickGenerate() const;
    // Waits until this many runs have ended and the window has taken the end in.
    bool waitForRuns(int runs);

    // A cell of the voucher list as shown.
    QString voucherCell(int row, int column, int role = Qt::DisplayRole) const;
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
    std::unique_ptr<CGeneratorDialog> window;
    QSignalSpy finished{&session, &SessionFacade::generationFinished};
};
