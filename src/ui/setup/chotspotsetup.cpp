#include "chotspotsetup.h"

#include "chotspotprofiledialog.h"
#include "crouterdialog.h"
#include "focusoutrewriter.h"
#include "setuplook.h"

#include "base/operatorinteraction.h"
#include "generation/duration.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/smallimagelist.h"
#include "ui/framework/uiresources.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Settings texts are kept to what the settings store holds.
constexpr int SettingTextLength = 199;

// A list with its three buttons below it, in a group.
struct ListGroup
{
    QGroupBox *box;
    QPushButton *add;
    QPushButton *edit;
    QPushButton *remove;
};

// The selected row, or -1: a screen reader may select a row without making it
// the current one.
int selectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

ListGroup makeListGroup(const QString &title, QListWidget *list, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(list);
    auto *buttons = new QHBoxLayout;
    ListGroup group{box, new QPushButton(CHotSpotSetup::tr("Adicionar"), box),
                    new QPushButton(CHotSpotSetup::tr("Editar"), box),
                    new QPushButton(CHotSpotSetup::tr("Apagar"), box)};
    for (QPushButton *button : {group.add, group.edit, group.remove}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    return group;
}

} // namespace

CHotSpotSetup::CHotSpotSetup(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
                             QWidget *parent)
    : SetupPage(parent), m_session(session), m_interaction(interaction), m_resources(resources)
{
    m_routerList = makeList(tr("Routers"));
    m_profileList = makeList(tr("Perfil de Usuário"));
    const ListGroup routers = makeListGroup(tr("Routers"), m_routerList, this);
    const ListGroup profiles = makeListGroup(tr("Perfil de Usuário"), m_profileList, this);
    m_editRouter = routers.edit;
    m_deleteRouter = routers.remove;
    m_editProfile = profiles.edit;
    m_deleteProfile = profiles.remove;
    connect(routers.add, &QPushButton::clicked, this, &CHotSpotSetup::addRouter);
    connect(routers.edit, &QPushButton::clicked, this, &CHotSpotSetup::editRouter);
    connect(routers.remove, &QPushButton::clicked, this, &CHotSpotSetup::deleteRouter);
    connect(profiles.add, &QPushButton::clicked, this, &CHotSpotSetup::addProfile);
    connect(profiles.edit, &QPushButton::clicked, this, &CHotSpotSetup::editProfile);
    connect(profiles.remove, &QPushButton::clicked, this, &CHotSpotSetup::deleteProfile);
    connect(m_routerList, &QListWidget::itemDoubleClicked, this, &CHotSpotSetup::editRouter);
    connect(m_profileList, &QListWidget::itemDoubleClicked, this, &CHotSpotSetup::editProfile);

    auto *prefixes = new QGroupBox(tr("Prefixo do usuário:"), this);
    auto *prefixForm = new QFormLayout(prefixes);
    m_userManagerPrefix = new QLineEdit(prefixes);
    m_hotSpotPrefix = new QLineEdit(prefixes);
    prefixForm->addRow(tr("Prefixo User-manager:"), m_userManagerPrefix);
    prefixForm->addRow(tr("Prefixo Hotspot:"), m_hotSpotPrefix);

    auto *script = new QGroupBox(tr("Script de expiração de usuário"), this);
    auto *scriptForm = new QFormLayout(script);
    m_interval = new QLineEdit(script);
    new FocusOutRewriter(m_interval, durationText);
    scriptForm->addRow(tr("Intervalo de execução:"), m_interval);
    auto *upload = new QPushButton(tr("Transferir script para o roteadores"), script);
    upload->setAutoDefault(false);
    scriptForm->addRow(upload);
    connect(upload, &QPushButton::clicked, this, &CHotSpotSetup::uploadScripts);

    for (QLineEdit *edit : {m_userManagerPrefix, m_hotSpotPrefix, m_interval}) {
        edit->setMaxLength(SettingTextLength);
        connect(edit, &QLineEdit::textEdited, this, [this] { m_modified = true; });
    }
    useSetupFieldBackground(this);

    auto *layout = new QGridLayout(this);
    layout->addWidget(routers.box, 0, 0);
    layout->addWidget(profiles.box, 0, 1);
    layout->addWidget(prefixes, 1, 0);
    layout->addWidget(script, 1, 1);
    layout->setRowStretch(0, 1);

    setTabOrder(m_routerList, routers.add);
    setTabOrder(routers.add, routers.edit);
    setTabOrder(routers.edit, routers.remove);
    setTabOrder(routers.remove, m_profileList);
    setTabOrder(m_profileList, profiles.add);
    setTabOrder(profiles.add, profiles.edit);
    setTabOrder(profiles.edit, profiles.remove);
    setTabOrder(profiles.remove, m_userManagerPrefix);
    setTabOrder(m_userManagerPrefix, m_hotSpotPrefix);
    setTabOrder(m_hotSpotPrefix, m_interval);
    setTabOrder(m_interval, upload);
}

QListWidget *CHotSpotSetup::makeList(const QString &name)
{
    auto *list = new QListWidget(this);
    list->setAccessibleName(name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setIconSize(QSize(18, 18));
    connect(list, &QListWidget::itemSelectionChanged, this, &CHotSpotSetup::updateButtons);
    return list;
}

void CHotSpotSetup::initialize(const SetupData &data)
{
    m_routers = data.routers;
    m_profiles = data.hotSpotProfiles;
    m_routerList->clear();
    for (const RouterConfig &router : std::as_const(m_routers))
        new QListWidgetItem(QIcon(m_resources.listImage(RouterImage)), router.Name, m_routerList);
    m_profileList->clear();
    for (const HotSpotProfile &profile : std::as_const(m_profiles))
        new QListWidgetItem(QIcon(m_resources.listImage(ProfileImage)), profile.Name, m_profileList);
    m_userManagerPrefix->setText(data.settings.GenerateUserPrefix);
    m_hotSpotPrefix->setText(data.settings.GenerateHotSpotUserPrefix);
    m_interval->setText(shownDuration(data.settings.HotSpotScheduleInterval));
    m_names.reset();
    m_modified = false;
    updateButtons();
}

void CHotSpotSetup::updateButtons()
{
    const bool router = !m_routerList->selectedItems().isEmpty();
    m_editRouter->setEnabled(router);
    m_deleteRouter->setEnabled(router);
    const bool profile = !m_profileList->selectedItems().isEmpty();
    m_editProfile->setEnabled(profile);
    m_deleteProfile->setEnabled(profile);
}

qint64 CHotSpotSetup::interval() const
{
    return parseDuration(m_interval->text());
}

bool CHotSpotSetup::validate()
{
    if (m_userManagerPrefix->text() == m_hotSpotPrefix->text()) {
        m_interaction.showMessage(tr("Os prefixos do usuário do User-manager e os prefixos do usuário do "
                                     "HotSpot devem ser diferentes "
                                     "para evitar duplicação de usuários.\nPor favor modifique o prefixo do "
                                     "usuário do User-manager "
                                     "ou do HotSpot."),
                                  MessageIcon::Warning);
        m_userManagerPrefix->setFocus();
        return false;
    }
    // A scheduler entry without an interval never runs the script: the
    // vouchers would never expire.
    if (interval() <= 0) {
        m_interaction.showMessage(tr("Introduza um intervalo de execução correto."), MessageIcon::Warning);
        m_interval->setFocus();
        return false;
    }
    return true;
}

void CHotSpotSetup::save(SetupData &data)
{
    data.settings.GenerateUserPrefix = m_userManagerPrefix->text();
    data.settings.GenerateHotSpotUserPrefix = m_hotSpotPrefix->text();
    data.settings.HotSpotScheduleInterval = interval();
    data.routers = m_routers;
    data.hotSpotProfiles = m_profiles;
}

void CHotSpotSetup::addRouter()
{
    RouterConfig router;
    const qint64 seconds = interval() > 0 ? interval() : m_session.state().settings.HotSpotScheduleInterval;
    CRouterDialog dialog(router, seconds, m_session, m_interaction, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_routers.append(router);
    auto *row = new QListWidgetItem(QIcon(m_resources.listImage(RouterImage)), router.Name, m_routerList);
    m_routerList->scrollToItem(row);
    m_modified = true;
}

void CHotSpotSetup::editRouter()
{
    const int row = selectedRow(m_routerList);
    if (row < 0 || row >= m_routers.size())
        return;
    const qint64 seconds = interval() > 0 ? interval() : m_session.state().settings.HotSpotScheduleInterval;
    CRouterDialog dialog(m_routers[row], seconds, m_session, m_interaction, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_routerList->item(row)->setText(m_routers[row].Name);
    m_modified = true;
}

void CHotSpotSetup::deleteRouter()
{
    const int row = selectedRow(m_routerList);
    if (row < 0 || row >= m_routers.size())
        return;
    if (m_interaction.askYesNo(tr("Você deseja apagar o router selecionado?"), MessageIcon::Warning) !=
        Answer::Yes)
        return;
    m_routers.removeAt(row);
    delete m_routerList->takeItem(row);
    m_modified = true;
    updateButtons();
}

bool CHotSpotSetup::readHotSpotNames()
{
    if (!m_names)
        m_names = m_session.listHotSpotNames(m_routers);
    return m_names.has_value();
}

void CHotSpotSetup::addProfile()
{
    if (!readHotSpotNames())
        return;
    HotSpotProfile profile;
    CHotSpotProfileDialog dialog(profile, *m_names, m_session.state().separators, m_interaction, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_profiles.append(profile);
    auto *row = new QListWidgetItem(QIcon(m_resources.listImage(ProfileImage)), profile.Name, m_profileList);
    m_profileList->scrollToItem(row);
    m_modified = true;
}

void CHotSpotSetup::editProfile()
{
    const int row = selectedRow(m_profileList);
    if (row < 0 || row >= m_profiles.size() || !readHotSpotNames())
        return;
    CHotSpotProfileDialog dialog(m_profiles[row], *m_names, m_session.state().separators, m_interaction,
                                 this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_profileList->item(row)->setText(m_profiles[row].Name);
    m_modified = true;
}

void CHotSpotSetup::deleteProfile()
{
    const int row = selectedRow(m_profileList);
    if (row < 0 || row >= m_profiles.size())
        return;
    if (m_interaction.askYesNo(tr("Você deseja apagar o perfil selecionado?"), MessageIcon::Warning) !=
        Answer::Yes)
        return;
    m_profiles.removeAt(row);
    delete m_profileList->takeItem(row);
    m_modified = true;
    updateButtons();
}

void CHotSpotSetup::uploadScripts()
{
    const qint64 seconds = interval();
    if (seconds <= 0) {
        m_interaction.showMessage(tr("Introduza um intervalo de execução correto."), MessageIcon::Warning);
        m_interval->setFocus();
        return;
    }
    WaitCursor wait(m_interaction);
    m_session.storeScriptInterval(seconds);
    // Every router answers for itself; one that cannot be reached does not
    // keep the others from their script.
    for (const RouterConfig &router : std::as_const(m_routers))
        if (router.EnableHotSpotProfiles)
            m_session.uploadExpirationScript(router, seconds);
}
