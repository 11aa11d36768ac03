#pragma once

#include <QWidget>

struct SetupData;

// One tab of the setup window. A page shows and edits its part of the setup's
// copies; nothing reaches the program before the window's OK, which first asks
// every page to validate, then every page to save into the copies, in tab
// order. A cancelled setup simply drops its pages with their edits.
class SetupPage : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Shows the copies' values; the page is not modified afterwards.
    virtual void initialize(const SetupData &data) = 0;
    // Whether the page's values may be saved; when not, the page has told the
    // operator why and the window shows this page.
    virtual bool validate() = 0;
    // Writes the page's values into the copies.
    virtual void save(SetupData &data) = 0;
    // The operator changed something the window asks about before dropping it.
    virtual bool isModified() const = 0;
};
