#include "cgeneratordialog.h"

#include "profilelistmodel.h"
#include "vouchercount.h"
#include "voucherlistmodel.h"

#include "base/operatorinteraction.h"
#include "design/designmapfile.h"
#include "design/printjob.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/ceditcombo.h"
#include "ui/framework/smallimagelist.h"
#include "ui/framework/uiresources.h"
#include "ui/tray/csystemtray.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The window's size in dialog units: a quarter of the average character width
// across, an eighth of the character height down.
constexpr int WidthUnits = 428;
constexpr int HeightUnits = 295;

// A run shorter than this shows no progress window at all.
constexpr int ProgressDelayMs = 400;

const QColor EditBackground(255, 255, 232);

QTreeView *makeReportView(QAbstractItemModel *model, QAbstractItemView::SelectionMode selection,
                          QWidget *parent)
{
    auto *view = new QTreeView(parent);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(selection);
    view->setIconSize(QSize(18, 18));
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    return view;
}

// Each column its share of the list's inside width.
void setColumnShares(QTreeView *view, std::initializer_list<int> shares, int whole)
{
    const int width = view->viewport()->width();
    int column = 0;
    for (int share : shares)
        view->header()->resizeSection(column++, width * share / whole);
}

} // namespace

CGeneratorDialog::CGeneratorDialog(SessionFacade &session, OperatorInteraction &interaction,
                                   UserDataPrompt &prompt, PrinterChooser &printerChooser,
                                   UiResources &resources, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_session(session), m_interaction(interaction), m_prompt(prompt), m_printerChooser(printerChooser),
      m_resources(resources)
{
    const AppState &state = m_session.state();
    setWindowTitle(u"wifiTicketer"_s);
    if (const RouterConfig *router = state.currentRouter())
        setWindowTitle(u"%1 - %2 (%3)"_s.arg(u"wifiTicketer"_s, router->Name, router->Address));
    setWindowIcon(m_resources.appIcon);

    createControls();
    layOutControls();
    connectControls();

    m_initialInputLabel = m_inputLabel->text();
    m_randomName->setChecked(state.settings.CreateRandomUserName);
    m_autoPrint->setChecked(state.settings.AutoPrint);
    applyMode();

    fillDesignCombo();
    rebuildProfiles();

    if (state.settings.MinimizeToTray) {
        m_tray = new CSystemTray(m_resources.appIcon, this);
        m_tray->setObjectName(u"tray"_s);
        connect(m_tray, &CSystemTray::showRequested, this, &CGeneratorDialog::restore);
        connect(m_tray, &CSystemTray::closeRequested, this, [this] { requestLeave(Leave::Quit); });
    }

    const QFontMetrics metrics(font());
    resize(WidthUnits * metrics.averageCharWidth() / 4, HeightUnits * metrics.height() / 8);
}

CGeneratorDialog::~CGeneratorDialog() = default;

void CGeneratorDialog::createControls()
{
    const QIcon hotSpotIcon(m_resources.listImage(HotSpotImage));
    const QIcon userManagerIcon(m_resources.listImage(UserManagerImage));
    m_profiles = new ProfileListModel(hotSpotIcon, userManagerIcon, this);
    m_vouchers = new VoucherListModel(hotSpotIcon, userManagerIcon, this);

    m_profileLabel = new QLabel(tr("Perfil de Voucher"), this);
    m_profileView = makeReportView(m_profiles, QAbstractItemView::SingleSelection, this);
    m_profileView->setObjectName(u"profileList"_s);
    // A screen reader names the list by its label.
    m_profileLabel->setBuddy(m_profileView);
    m_profileView->setAccessibleName(m_profileLabel->text());

    m_inputLabel = new QLabel(tr("Número de vouchers"), this);
    m_inputLabel->setObjectName(u"inputLabel"_s);
    m_input = new QLineEdit(this);
    m_input->setObjectName(u"input"_s);
    m_userNameCombo = new CEditCombo(this);
    m_userNameCombo->setObjectName(u"userNameCombo"_s);
    for (QWidget *edit : {static_cast<QWidget *>(m_input), static_cast<QWidget *>(m_userNameCombo)}) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, EditBackground);
        edit->setPalette(palette);
    }
    // After its colour: the combo takes it for the field when it sets the names.
    m_userNameCombo->setNames(m_session.state().userNames);
    m_digitsOnly = new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), this);

    m_generateButton = new QPushButton(tr("&Gerar"), this);
    m_generateButton->setObjectName(u"generateButton"_s);
    m_generateButton->setDefault(true);
    m_generateButton->setEnabled(false);
    m_logoutButton = new QPushButton(tr("&Sair"), this);
    m_logoutButton->setObjectName(u"logoutButton"_s);
    m_posButton = new QPushButton(tr("Modo P&OS"), this);
    m_posButton->setObjectName(u"posButton"_s);

    m_randomName = new QCheckBox(tr("&Nome aleatório"), this);
    m_randomName->setObjectName(u"randomName"_s);
    m_autoPrint = new QCheckBox(tr("Impressão &Automática"), this);
    m_autoPrint->setObjectName(u"autoPrint"_s);
    m_showPasswords = new QCheckBox(tr("&Mostrar senhas"), this);
    m_showPasswords->setObjectName(u"showPasswords"_s);

    m_voucherLabel = new QLabel(tr("Usuários gerados"), this);
    m_voucherView = makeReportView(m_vouchers, QAbstractItemView::ExtendedSelection, this);
    m_voucherView->setObjectName(u"voucherList"_s);
    m_voucherLabel->setBuddy(m_voucherView);
    m_voucherView->setAccessibleName(m_voucherLabel->text());

    m_designLabel = new QLabel(tr("Selecione o design do voucher:"), this);
    m_designCombo = new QComboBox(this);
    m_designCombo->setObjectName(u"designCombo"_s);
    m_designCombo->setEnabled(false);
    m_designLabel->setBuddy(m_designCombo);
    m_printButton = new QPushButton(tr("&Imprimir Vouchers ..."), this);
    m_printButton->setObjectName(u"printButton"_s);
    m_printButton->setEnabled(false);
}

void CGeneratorDialog::layOutControls()
{
    // The profile list with the run's controls at its right, the vouchers of
    // the run below, the design and the print button at the bottom.
    auto *side = new QVBoxLayout;
    side->addWidget(m_inputLabel);
    // The name combo lies exactly over the input field; one of them shows.
    auto *field = new QGridLayout;
    field->setContentsMargins({});
    field->addWidget(m_input, 0, 0);
    field->addWidget(m_userNameCombo, 0, 0);
    side->addLayout(field);
    side->addWidget(m_generateButton);
    side->addSpacing(6);
    side->addWidget(m_randomName);
    side->addWidget(m_autoPrint);
    side->addWidget(m_showPasswords);
    side->addStretch();
    side->addWidget(m_posButton);
    side->addWidget(m_logoutButton);

    auto *top = new QGridLayout;
    top->addWidget(m_profileLabel, 0, 0);
    top->addWidget(m_profileView, 1, 0);
    top->addLayout(side, 1, 1);
    top->setColumnStretch(0, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_designLabel);
    bottom->addWidget(m_designCombo, 1);
    bottom->addWidget(m_printButton);

    auto *all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addWidget(m_voucherLabel);
    all->addWidget(m_voucherView, 1);
    all->addLayout(bottom);
}

void CGeneratorDialog::connectControls()
{
    connect(m_profileView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CGeneratorDialog::profileSelectionChanged);
    connect(m_randomName, &QCheckBox::clicked, this, &CGeneratorDialog::applyMode);
    connect(m_generateButton, &QPushButton::clicked, this, &CGeneratorDialog::generate);
    connect(m_printButton, &QPushButton::clicked, this, &CGeneratorDialog::printBatch);
    connect(m_designCombo, &QComboBox::activated, this, &CGeneratorDialog::designPicked);
    connect(m_showPasswords, &QCheckBox::toggled, m_vouchers, &VoucherListModel::setShowPasswords);
    connect(m_logoutButton, &QPushButton::clicked, this, [this] { requestLeave(Leave::Logout); });
    connect(m_posButton, &QPushButton::clicked, this, [this] { requestLeave(Leave::PosMode); });

    connect(&m_session, &SessionFacade::profilesChanged, this, &CGeneratorDialog::rebuildProfiles);
    connect(&m_session, &SessionFacade::profileDesignChanged, m_profiles, &ProfileListModel::designChanged);
    connect(&m_session, &SessionFacade::generationProgress, this, &CGeneratorDialog::runProgress);
    // Queued, so the end of a run (and the printing after it) is handled once
    // the session has finished telling everyone.
    connect(&m_session, &SessionFacade::generationFinished, this, &CGeneratorDialog::runFinished,
            Qt::QueuedConnection);
}

void CGeneratorDialog::fillDesignCombo()
{
    for (const std::shared_ptr<VoucherDesign> &design : m_session.state().designs)
        m_designCombo->addItem(design->Name, QVariant::fromValue(quintptr(design.get())));
    m_designCombo->setCurrentIndex(-1);
}

void CGeneratorDialog::applyMode()
{
    const bool useUserDatabase = m_session.state().settings.UseUserDatabase;
    if (m_randomName->isChecked()) {
        m_input->setValidator(m_digitsOnly);
        m_input->setText(u"1"_s);
        m_inputLabel->setText(m_initialInputLabel);
    } else {
        if (!useUserDatabase) {
            m_input->setValidator(nullptr);
            m_input->clear();
        }
        m_inputLabel->setText(tr("Nome do Usuário"));
    }
    const bool combo = !m_randomName->isChecked() && useUserDatabase;
    m_input->setVisible(!combo);
    m_userNameCombo->setVisible(combo);
    m_inputLabel->setBuddy(combo ? static_cast<QWidget *>(m_userNameCombo) : m_input);
    // The label names the combo's field for a screen reader (a buddy reaches
    // the combo, not the edit inside it).
    m_userNameCombo->lineEdit()->setAccessibleName(QString(m_inputLabel->text()).remove(u'&'));
}

void CGeneratorDialog::generate()
{
    if (m_running)
        return;
    const AppSettings &settings = m_session.state().settings;
    const bool promptAsks = settings.QueryPassword || settings.QueryUserData;
    GenerationRequest request;
    request.profile = selectedProfile();
    if (m_randomName->isChecked()) {
        const VoucherCount count = parseVoucherCount(m_input->text());
        if (count.status == VoucherCount::TooMany) {
            m_interaction.showMessage(
                tr("Não é possível gerar mais de %1 vouchers de uma vez.").arg(VoucherCount::Maximum),
                MessageIcon::Warning);
            return;
        }
        if (count.status == VoucherCount::Nothing)
            return;
        request.count = count.count;
    } else if (settings.UseUserDatabase) {
        if (!m_userNameCombo->isExactMatch() && !promptAsks)
            return;
        request.count = 1;
        request.givenName = m_userNameCombo->text();
    } else {
        if (m_input->text().isEmpty() && !promptAsks)
            return;
        request.count = 1;
        request.givenName = m_input->text();
    }
    if (!request.profile)
        return;
    startRun(request);
    if (m_running && request.givenName) {
        m_input->clear();
        m_userNameCombo->clearText();
    }
}

void CGeneratorDialog::startRun(const GenerationRequest &request)
{
    // The run empties the batch: the list lets go of it first.
    m_vouchers->clear();
    m_printButton->setEnabled(false);
    if (!m_session.startGeneration(request, m_prompt)) {
        fillVoucherList();
        return;
    }
    m_running = true;
    m_generateButton->setEnabled(false);

    auto *progress = new QProgressDialog(tr("%1 de %2").arg(0).arg(request.count), tr("Cancelar"), 0,
                                         int(request.count), this);
    progress->setObjectName(u"progress"_s);
    progress->setWindowTitle(u"wifiTicketer"_s);
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setMinimumDuration(ProgressDelayMs);
    // The voucher being made is finished and recorded; the run ends after it.
    connect(progress, &QProgressDialog::canceled, &m_session, &SessionFacade::requestStop);
    progress->setValue(0);
    m_progress = progress;
}

void CGeneratorDialog::runProgress(quint32 made, quint32 count)
{
    // A cancelled dialog stays away; it would come back with the next value.
    if (!m_running || !m_progress || m_progress->wasCanceled())
        return;
    m_progress->setLabelText(tr("%1 de %2").arg(made).arg(count));
    m_progress->setValue(int(made));
}

void CGeneratorDialog::runFinished()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
    }
    // The prompt may have added names to the username list.
    m_userNameCombo->setNames(m_session.state().userNames);
    fillVoucherList();
    m_generateButton->setEnabled(selectedProfile() != nullptr);
    if (!m_session.state().batch.empty() && m_autoPrint->isChecked()) {
        repaint();
        printBatch();
    }
    if (m_pendingLeave != Leave::None) {
        const Leave pending = std::exchange(m_pendingLeave, Leave::None);
        QMetaObject::invokeMethod(
            this, [this, pending] { leave(pending); }, Qt::QueuedConnection);
    }
}

void CGeneratorDialog::fillVoucherList()
{
    const AppState &state = m_session.state();
    m_vouchers->setBatch(state.batch);
    if (state.batch.empty()) {
        m_printButton->setEnabled(false);
        return;
    }
    m_printButton->setEnabled(true);
    m_designCombo->setEnabled(true);
    if (state.lastRunProfile)
        m_designCombo->setCurrentIndex(designIndex(state.lastRunProfile->Design));
}

void CGeneratorDialog::rebuildProfiles()
{
    const AppState &state = m_session.state();
    // A profile without a design prints with the first one.
    if (!state.designs.isEmpty()) {
        for (const std::shared_ptr<VoucherProfile> &profile : state.profiles) {
            if (!profile->Design)
                m_session.setProfileDesign(profile.get(), state.designs.first().get());
        }
    }
    m_profiles->setProfiles(state.profiles);
    // A new profile list comes with an empty batch.
    fillVoucherList();
    profileSelectionChanged();
}

void CGeneratorDialog::profileSelectionChanged()
{
    const std::shared_ptr<VoucherProfile> profile = selectedProfile();
    m_generateButton->setEnabled(profile && !m_running);
    // The design of the vouchers listed stays until the list empties.
    if (m_vouchers->rowCount() > 0)
        return;
    m_designCombo->setEnabled(profile != nullptr);
    m_designCombo->setCurrentIndex(profile ? designIndex(profile->Design) : -1);
}

void CGeneratorDialog::designPicked(int index)
{
    const AppState &state = m_session.state();
    const std::shared_ptr<VoucherProfile> selected = selectedProfile();
    const VoucherProfile *target = state.lastRunProfile ? state.lastRunProfile.get() : selected.get();
    if (!target)
        return;
    m_session.setProfileDesign(target, designAt(index));
}

void CGeneratorDialog::printBatch()
{
    const VoucherDesign *design = designAt(m_designCombo->currentIndex());
    if (!design)
        return;
    QList<const VoucherRecord *> vouchers;
    for (const VoucherRecord &record : m_session.state().batch)
        vouchers.append(&record);
    printVouchers(*design, vouchers, false, m_printerChooser, m_interaction);
}

void CGeneratorDialog::restore()
{
    if (isVisible()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        raise();
        activateWindow();
    } else if (m_tray) {
        m_tray->showFromTray(*this);
    } else {
        show();
        raise();
        activateWindow();
    }
}

void CGeneratorDialog::endProgram()
{
    if (m_running)
        m_session.requestStop();
    requestLeave(Leave::Quit);
}

void CGeneratorDialog::requestLeave(Leave leave)
{
    if (m_running) {
        // Once the run is over; the last wish counts, except that the end of
        // the program is not turned into less.
        if (m_pendingLeave != Leave::Quit)
            m_pendingLeave = leave;
        return;
    }
    this->leave(leave);
}

void CGeneratorDialog::leave(Leave leave)
{
    if (m_leaving)
        return;
    if (leave == Leave::Close) {
        if (m_tray) {
            if (m_tray->hideToTray(*this))
                m_tray->showBalloonOnce();
            return;
        }
        leave = Leave::Quit;
    }
    // Kept now, while the router these choices belong to is still the current one.
    saveChoices();
    m_leaving = true;
    const QPointer<CGeneratorDialog> self(this);
    switch (leave) {
    case Leave::Logout:
        Q_EMIT logoutRequested();
        break;
    case Leave::PosMode:
        m_session.setPosMode(true);
        Q_EMIT posModeRequested();
        break;
    default:
        Q_EMIT quitRequested();
        // The last window closing ends the program, also when nobody listens.
        if (self)
            close();
        break;
    }
}

void CGeneratorDialog::saveChoices()
{
    const AppState &state = m_session.state();
    saveDesignMap(state.paths.dataFolder, state.currentRouter(), state.profiles);
    m_session.setAutoPrint(m_autoPrint->isChecked());
}

void CGeneratorDialog::closeEvent(QCloseEvent *event)
{
    if (m_leaving) {
        event->accept();
        return;
    }
    if (m_running || m_tray) {
        event->ignore();
        requestLeave(Leave::Close);
        return;
    }
    // Closed for good: this close goes through, the program ends with it.
    saveChoices();
    m_leaving = true;
    event->accept();
    Q_EMIT quitRequested();
}

void CGeneratorDialog::reject()
{
    // Escape does what the close box does.
    close();
}

void CGeneratorDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitColumns();
}

void CGeneratorDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitColumns();
}

void CGeneratorDialog::fitColumns()
{
    setColumnShares(m_profileView, {35, 30, 35}, 100);
    setColumnShares(m_voucherView, {25, 20, 25, 30, 20}, 120);
}

std::shared_ptr<VoucherProfile> CGeneratorDialog::selectedProfile() const
{
    const QModelIndexList rows = m_profileView->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_profiles->profile(rows.first().row());
}

int CGeneratorDialog::designIndex(const VoucherDesign *design) const
{
    return design ? m_designCombo->findData(QVariant::fromValue(quintptr(design))) : -1;
}

const VoucherDesign *CGeneratorDialog::designAt(int index) const
{
    if (index < 0)
        return nullptr;
    const auto address = m_designCombo->itemData(index).value<quintptr>();
    // Only a design the list still holds.
    for (const std::shared_ptr<VoucherDesign> &design : m_session.state().designs) {
        if (quintptr(design.get()) == address)
            return design.get();
    }
    return nullptr;
}
