#include "crouterdialog.h"

#include "focusoutrewriter.h"
#include "setuplook.h"

#include "base/operatorinteraction.h"
#include "config/routerconfig.h"
#include "config/routervalidation.h"
#include "generation/duration.h"
#include "session/sessionfacade.h"
#include "ui/framework/okcancelbuttons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The password box never shows the stored password; while it holds this, the
// stored one stays.
const QString HiddenPassword = u"########"_s;

// Durations of 100 characters or more read as none.
constexpr int DurationTextLength = 99;

QLineEdit *textBox(const QString &text, int maxLength, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    edit->setText(text);
    return edit;
}

} // namespace

CRouterDialog::CRouterDialog(RouterConfig &router, qint64 scriptInterval, SessionFacade &session,
                             OperatorInteraction &interaction, QWidget *parent)
    : QDialog(parent), m_router(router), m_session(session), m_interaction(interaction)
{
    setWindowTitle(tr("Configuração do roteador"));

    auto *nameGroup = new QGroupBox(tr("Nome router"), this);
    auto *nameForm = new QFormLayout(nameGroup);
    m_name = textBox(router.Name, RouterTextLength, nameGroup);
    nameForm->addRow(tr("Nome router:"), m_name);

    auto *loginGroup = new QGroupBox(tr("Mikrotik API login"), this);
    auto *loginForm = new QFormLayout(loginGroup);
    m_address = textBox(router.Address, RouterTextLength, loginGroup);
    m_port = textBox(router.Port, RouterTextLength, loginGroup);
    m_port->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_port));
    m_apiUser = textBox(router.ApiUser, RouterTextLength, loginGroup);
    m_password = textBox(HiddenPassword, RouterTextLength, loginGroup);
    m_password->setEchoMode(QLineEdit::Password);
    auto *test = new QPushButton(tr("Testar Conexão"), loginGroup);
    loginForm->addRow(tr("IP do router:"), m_address);
    loginForm->addRow(tr("Porta API:"), m_port);
    loginForm->addRow(tr("Usuário API:"), m_apiUser);
    loginForm->addRow(tr("Senha:"), m_password);
    loginForm->addRow(test);

    auto *profilesGroup = new QGroupBox(tr("Profiles do router"), this);
    auto *profilesLayout = new QVBoxLayout(profilesGroup);
    m_userManagerProfiles = new QCheckBox(tr("Habilitar profiles do user-manager"), profilesGroup);
    m_userManagerProfiles->setChecked(router.EnableUserManagerProfiles);
    m_hotSpotProfiles = new QCheckBox(tr("Habilitar profiles do HotSpot"), profilesGroup);
    m_hotSpotProfiles->setChecked(router.EnableHotSpotProfiles);
    profilesLayout->addWidget(m_userManagerProfiles);
    profilesLayout->addWidget(m_hotSpotProfiles);

    auto *userManagerGroup = new QGroupBox(tr("Profiles User-manager"), this);
    auto *userManagerGrid = new QGridLayout(userManagerGroup);
    m_macBinding = new QCheckBox(tr("Vincular no primeiro uso"), userManagerGroup);
    m_macBinding->setChecked(router.MacBinding);
    auto *macLabel = new QLabel(tr("Vincular MAC:"), userManagerGroup);
    macLabel->setBuddy(m_macBinding);
    m_userManagerAdmin = textBox(router.UserManagerAdmin, RouterTextLength, userManagerGroup);
    // "(Opcional)" is a line of its own, so the field is named by its caption alone.
    auto *adminLabel = new QLabel(tr("Admin do user-manager:"), userManagerGroup);
    adminLabel->setBuddy(m_userManagerAdmin);
    auto *optional = new QLabel(tr("(Opcional)"), userManagerGroup);
    auto *note =
        new QLabel(tr("Se você não preencher o Admin do user-manager, por padrão será seleccionado o "
                      "primeiro Admin disponível."),
                   userManagerGroup);
    note->setWordWrap(true);
    userManagerGrid->addWidget(macLabel, 0, 0);
    userManagerGrid->addWidget(m_macBinding, 0, 1);
    userManagerGrid->addWidget(adminLabel, 1, 0);
    userManagerGrid->addWidget(m_userManagerAdmin, 1, 1);
    userManagerGrid->addWidget(optional, 2, 0, Qt::AlignTop);
    userManagerGrid->addWidget(note, 3, 0, 1, 2);

    auto *scriptGroup = new QGroupBox(tr("Script de expiração de usuário"), this);
    auto *scriptForm = new QFormLayout(scriptGroup);
    m_interval = textBox(shownDuration(scriptInterval), DurationTextLength, scriptGroup);
    new FocusOutRewriter(m_interval, durationText);
    auto *upload = new QPushButton(tr("Transferir script para o roteador"), scriptGroup);
    scriptForm->addRow(tr("Intervalo de execuçao:"), m_interval);
    scriptForm->addRow(upload);

    const auto [buttons, ok, cancel] = addOkCancelButtons(this);

    auto *left = new QVBoxLayout;
    left->addWidget(nameGroup);
    left->addWidget(loginGroup);
    left->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(profilesGroup);
    right->addWidget(userManagerGroup);
    right->addWidget(scriptGroup);
    right->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    useSetupFieldBackground(this);

    // Down the left column, then down the right one, then the dialog's buttons.
    const QList<QWidget *> order = {m_name,
                                    m_address,
                                    m_port,
                                    m_apiUser,
                                    m_password,
                                    test,
                                    m_userManagerProfiles,
                                    m_hotSpotProfiles,
                                    m_macBinding,
                                    m_userManagerAdmin,
                                    m_interval,
                                    upload,
                                    ok,
                                    cancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    m_name->setFocus();

    connect(test, &QPushButton::clicked, this, &CRouterDialog::testConnection);
    connect(upload, &QPushButton::clicked, this, &CRouterDialog::uploadScript);
}

RouterConfig CRouterDialog::typedConnection() const
{
    RouterConfig router;
    router.Address = m_address->text();
    router.Port = m_port->text();
    router.ApiUser = m_apiUser->text();
    router.ApiPassword = m_password->text() == HiddenPassword ? m_router.ApiPassword : m_password->text();
    return router;
}

QString CRouterDialog::typedName() const
{
    // A router without a name is known by its address.
    return m_name->text().isEmpty() ? m_address->text() : m_name->text();
}

void CRouterDialog::testConnection()
{
    // The connection is tried as typed; nothing is kept from it. The name is
    // given for the connection message, which would otherwise name nobody.
    RouterConfig router = typedConnection();
    router.Name = typedName();
    m_session.testRouterConnection(router);
}

void CRouterDialog::uploadScript()
{
    const qint64 interval = parseDuration(m_interval->text());
    // A scheduler entry without an interval would never run the script.
    if (interval <= 0) {
        m_interaction.showMessage(tr("Introduza um intervalo de execução correto."), MessageIcon::Warning);
        m_interval->setFocus();
        m_interval->selectAll();
        return;
    }
    // To the router being typed, so that what the operator sees is what is used;
    // the name is given for the connection message.
    RouterConfig router = typedConnection();
    router.Name = typedName();
    m_session.uploadExpirationScript(router, interval);
}

void CRouterDialog::accept()
{
    RouterConfig edited = m_router;
    edited.Name = typedName();
    edited.Address = m_address->text();
    edited.Port = m_port->text();
    edited.ApiUser = m_apiUser->text();
    if (m_password->text() != HiddenPassword)
        edited.ApiPassword = m_password->text();
    edited.EnableUserManagerProfiles = m_userManagerProfiles->isChecked();
    edited.EnableHotSpotProfiles = m_hotSpotProfiles->isChecked();
    edited.MacBinding = m_macBinding->isChecked();
    edited.UserManagerAdmin = m_userManagerAdmin->text();
    // The command line stores routers with the same rules.
    if (const std::optional<RouterProblem> problem = routerProblem(edited)) {
        m_interaction.showMessage(problem->message, MessageIcon::Warning);
        QLineEdit *const edits[] = {m_name, m_address, m_port, m_apiUser, m_password, m_userManagerAdmin};
        QLineEdit *edit = edits[int(problem->field)];
        edit->setFocus();
        edit->selectAll();
        return;
    }
    m_router = edited;
    QDialog::accept();
}
