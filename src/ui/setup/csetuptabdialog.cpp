#include "csetuptabdialog.h"

#include "chistorydialog.h"
#include "chotspotsetup.h"
#include "csetupdialog.h"
#include "cvoucherdialog.h"
#include "setuppage.h"

#include "base/operatorinteraction.h"
#include "session/sessionfacade.h"
#include "ui/framework/okcancelbuttons.h"
#include "ui/framework/uiresources.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CSetupTabDialog::CSetupTabDialog(SessionFacade &session, OperatorInteraction &interaction,
                                 UiResources &resources, SetupChoosers choosers, bool resetCredentials,
                                 QWidget *parent)
    : QDialog(parent), m_session(session), m_interaction(interaction), m_data(setupData(session.state()))
{
    setWindowTitle(tr("Configuração do wifiTicketer"));
    setWindowIcon(resources.appIcon);
    if (resetCredentials) {
        for (RouterConfig &router : m_data.routers) {
            router.ApiUser.clear();
            router.ApiPassword.clear();
        }
    }

    m_tabs = new QTabWidget(this);
    addPage(new CSetupDialog(interaction, resources), tr("Definições Gerais"));
    addPage(new CHotSpotSetup(session, interaction, resources), tr("Routers"));
    addPage(new CVoucherDialog(session, interaction, resources, choosers.printers, choosers.files),
            tr("Configuração de Voucher"));
    addPage(new CHistoryDialog(session, interaction, resources, choosers.printers, choosers.files),
            tr("Histórico de Voucher"));

    QDialogButtonBox *buttons = addOkCancelButtons(this).box;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    selectTab(0);
}

void CSetupTabDialog::addPage(SetupPage *page, const QString &title)
{
    page->initialize(m_data);
    m_tabs->addTab(page, title);
    m_pages.append(page);
}

void CSetupTabDialog::selectTab(int index)
{
    m_tabs->setCurrentIndex(index);
}

void CSetupTabDialog::accept()
{
    for (qsizetype i = 0; i < m_pages.size(); ++i) {
        if (!m_pages[i]->validate()) {
            selectTab(int(i));
            return;
        }
    }
    SetupData edited = m_data;
    for (SetupPage *page : std::as_const(m_pages))
        page->save(edited);
    // A file that could not be written has been reported; the setup stays
    // open with everything still typed, so OK can try again.
    if (!m_session.applySetup(edited))
        return;
    m_data = edited;
    QDialog::accept();
}

void CSetupTabDialog::reject()
{
    const bool modified = std::any_of(m_pages.cbegin(), m_pages.cend(),
                                      [](const SetupPage *page) { return page->isModified(); });
    if (modified && m_interaction.askYesNo(tr("Deseja sair e não salvar as modificações de configuração?"),
                                           MessageIcon::Warning) != Answer::Yes)
        return;
    QDialog::reject();
}

bool runSetup(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
              SetupChoosers choosers, bool resetCredentials, QWidget *parent)
{
    CSetupTabDialog setup(session, interaction, resources, choosers, resetCredentials, parent);
    return setup.exec() == QDialog::Accepted;
}
