#pragma once

#include "sellingfixture.h"

#include "ui/generator/cgeneratordialog.h"

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

// A generator window on the selling fixture's router, offscreen.
class GeneratorFixture : public SellingFixture
{
public:
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

    std::unique_ptr<CGeneratorDialog> window;
};
