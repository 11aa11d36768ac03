#pragma once

#include "session/setupdata.h"

#include <QDialog>
#include <QList>

class FileChooser;
class OperatorInteraction;
class PrinterChooser;
class QTabWidget;
class SessionFacade;
class SetupPage;
struct UiResources;

// What the setup's pages ask the operator for besides answers: a printer (test
// prints, reprints, the report) and files (designs, images, exports).
struct SetupChoosers
{
    PrinterChooser &printers;
    FileChooser &files;
};

// The setup window: the pages in tabs, working on copies of the program's
// settings and lists. OK validates every page, saves them into the copies and
// hands those to the program, which writes them; Cancel (also Escape and the
// close box) drops them, asking first when something was changed.
class CSetupTabDialog : public QDialog
{
    Q_OBJECT

public:
    // With `resetCredentials` the routers are shown without their API user and
    // password, which an OK stores; a cancelled setup keeps them.
    CSetupTabDialog(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
                    SetupChoosers choosers, bool resetCredentials, QWidget *parent = nullptr);

    void selectTab(int index);
    QTabWidget *tabs() const { return m_tabs; }
    SetupPage *page(int index) const { return m_pages.value(index); }

    void accept() override;
    void reject() override;

private:
    void addPage(SetupPage *page, const QString &title);

    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    SetupData m_data;
    QTabWidget *m_tabs = nullptr;
    QList<SetupPage *> m_pages;
};

// Runs the setup modally over `parent`; true when it was confirmed.
bool runSetup(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
              SetupChoosers choosers, bool resetCredentials, QWidget *parent);
