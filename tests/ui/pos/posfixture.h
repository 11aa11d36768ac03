#pragma once

#include "sellingfixture.h"

#include "ui/pos/ckeypad.h"
#include "ui/pos/cposmodewindow.h"

#include <functional>
#include <memory>

// A counter window on the selling fixture's router, offscreen, for the
// program user "caixa". Prices read "R$ 3,00".
class PosFixture : public SellingFixture
{
public:
    PosFixture();

    // Starts the router and opens the window; `adjust` changes the settings
    // the window starts with.
    bool open(const std::function<void(AppSettings &)> &adjust = {});

    // The profile buttons, in profile order.
    SkinItem &profileButton(int index) const;
    // A finger on the item, then off it.
    void touch(CDesignWnd &window, const SkinItem &item) const;
    void click(CDesignWnd &window, const SkinItem &item) const;
    // The keypad's key with that caption ("Apagar" for the backspace key).
    SkinItem &key(const QString &caption) const;
    void clickKey(const QString &caption) const;
    // What the keypad shows.
    QString display() const;
    // Waits until this many sales have ended and the window is idle again.
    bool waitForSales(int sales);
    // The sales list as screen readers read it, oldest first.
    QStringList historyRows() const;
    QString total() const;

    std::unique_ptr<CPosModeWindow> window;
    QPointingDevice *touchScreen = nullptr;
};
