#include "cmikrotikapidlg.h"

#include "caboutdlg.h"

#include "base/operatorinteraction.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/csymboledit.h"
#include "ui/framework/uiresources.h"

#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

namespace {

const QColor ButtonText(30, 30, 90);
const QColor ButtonHotText(60, 60, 120);

QString art(const char *name)
{
    return QStringLiteral(":/ui/%1.png").arg(QLatin1String(name));
}

} // namespace

CMikrotikAPIDlg::CMikrotikAPIDlg(SessionFacade &session, OperatorInteraction &interaction,
                                 UiResources &resources, bool setupAvailable, QWidget *parent)
    : CDesignWnd(resources.skins, parent, Qt::Window), m_session(session), m_interaction(interaction),
      m_resources(resources), m_setupAvailable(setupAvailable)
{
    m_session.logOut();
    SkinCache &skins = resources.skins;
    setSkin(skins.load(art("login-skin"), {}, SkinCache::Retention::WhileUsed));
    setFixedSize(skin().width() > 0 ? skin().width() : 433, skin().height() > 0 ? skin().height() : 380);
    setWindowTitle(tr("wifiTicketer login"));
    setWindowIcon(resources.appIcon);

    const int w = width();
    SkinItem &close = addItem(makeSkinItem(skins, w - 87, 0, 64, 30, CloseItem, art("close"), {},
                                           art("close-hot"), {}, SkinItem::Enabled | SkinItem::Transparent));
    close.anchoring = SkinItem::AnchorRight;
    close.rightDistance = w - close.right;
    close.accessibleName = tr("Fechar");

    for (auto [id, x, text] :
         {std::tuple{SetupItem, 38, tr("Configuração")}, std::tuple{LoginItem, 230, tr("Login")}}) {
        const bool on = id == LoginItem || m_setupAvailable;
        SkinItem &button = addItem(makeSkinItem(skins, x, 300, 0, 0, id, art("button"), {}, art("button-hot"),
                                                {}, SkinItem::Transparent | (on ? SkinItem::Enabled : 0u)));
        button.texts[0] = {text,       SkinItem::Centre, SkinItem::Centre,
                           ButtonText, ButtonHotText,    resources.uiFont16};
    }

    SkinItem &selector = addItem(
        makeSkinItem(skins, 103, 119, 295, 0, RouterSelectorItem, art("selector"), {}, art("selector-hot"),
                     {}, SkinItem::Enabled | SkinItem::Transparent | SkinItem::ThreeSlice));
    for (SkinImage *image : {&selector.normalImage, &selector.hotImage}) {
        image->leftInset = 50;
        image->rightInset = 10;
    }
    selector.texts[0] = {QStringLiteral("127.0.0.1"), 61, 13, Qt::black, QColor(10, 10, 10),
                         resources.uiFont16};
    selector.menu = std::make_unique<QMenu>(this);
    selector.menuOffset = QPoint(50, -3);

    m_userFrame[0] = skins.load(art("field-user"));
    m_userFrame[1] = skins.load(art("field-user-glow"));
    m_passwordFrame[0] = skins.load(art("field-password"));
    m_passwordFrame[1] = skins.load(art("field-password-glow"));
    for (auto [id, y, frames, name] :
         {std::tuple{UserFrameItem, 170, m_userFrame, tr("Campo do usuário")},
          std::tuple{PasswordFrameItem, 221, m_passwordFrame, tr("Campo da senha")}}) {
        for (SkinImage *image : {&frames[0], &frames[1]}) {
            image->leftInset = 50;
            image->rightInset = 10;
        }
        auto frame = std::make_unique<SkinItem>();
        frame->normalImage = frames[0];
        frame->left = 103;
        frame->top = y;
        frame->right = 398;
        frame->bottom = y + frames[0].height();
        frame->id = id;
        frame->flags = SkinItem::Transparent | SkinItem::ThreeSlice;
        frame->accessibleName = name;
        addItem(std::move(frame));
    }

    SkinItem &menuButton =
        addItem(makeSkinItem(skins, 27, 175, 0, 0, MenuItem, art("menu"), {}, art("menu-hot"), {},
                             SkinItem::Enabled | SkinItem::Transparent));
    menuButton.accessibleName = tr("Menu");
    menuButton.menu = std::make_unique<QMenu>(this);
    QAction *reset = menuButton.menu->addAction(tr("&Redefinir dados de autenticação"));
    reset->setData(int(ResetCommand));
    reset->setEnabled(m_setupAvailable);
    menuButton.menu->addAction(tr("&Sobre wifiTicketer..."))->setData(int(AboutCommand));

    m_userEdit = makeEdit(tr("Usuário"), QRect(QPoint(160, 183), QPoint(380, 210)));
    m_passwordEdit = makeEdit(tr("Senha"), QRect(QPoint(160, 234), QPoint(380, 261)));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_userEdit->setFocus();

    connect(this, &CDesignWnd::itemCommand, this, &CMikrotikAPIDlg::onItemCommand);
    rebuildRouterMenu();
    // A new installation starts in the setup, once the window is on the
    // screen, for the default program user (no name, no password).
    if (m_setupAvailable && !m_session.state().settings.SettingsPresent)
        QTimer::singleShot(0, this, &CMikrotikAPIDlg::openSetup);
}

CSymbolEdit *CMikrotikAPIDlg::makeEdit(const QString &cue, const QRect &place)
{
    auto *edit = new CSymbolEdit(this);
    edit->setCueText(cue);
    edit->setFont(m_resources.uiFont16);
    edit->setFrame(false);
    edit->setGeometry(place);
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: white; }"));
    // Enter reaches the window (the edit passes it on), which logs in.
    edit->installEventFilter(this);
    return edit;
}

void CMikrotikAPIDlg::rebuildRouterMenu()
{
    QMenu *menu = item(RouterSelectorItem)->menu.get();
    menu->clear();
    const QList<RouterConfig> &routers = m_session.state().routers;
    for (qsizetype i = 0; i < routers.size(); ++i)
        menu->addAction(routers[i].Name)->setData(qlonglong(i));
    selectRouter(routers.isEmpty() ? -1 : 0);
}

void CMikrotikAPIDlg::selectRouter(qsizetype index)
{
    const QList<RouterConfig> &routers = m_session.state().routers;
    SkinItem &selector = *item(RouterSelectorItem);
    m_selectedRouter = index >= 0 && index < routers.size() ? index : -1;
    selector.texts[0].text = m_selectedRouter >= 0 ? routers[m_selectedRouter].Name : QString();
    repaintItem(selector);
}

void CMikrotikAPIDlg::onItemCommand(int id, const QVariant &choice)
{
    switch (id) {
    case CloseItem:
        close();
        break;
    case SetupItem:
        openSetup();
        break;
    case LoginItem:
        logIn();
        break;
    case RouterSelectorItem:
        selectRouter(choice.isValid() ? choice.toLongLong() : -1);
        break;
    case MenuItem:
        if (choice.toInt() == AboutCommand)
            showAbout();
        else if (choice.toInt() == ResetCommand)
            resetAuthentication();
        break;
    default:
        break;
    }
}

bool CMikrotikAPIDlg::logIn()
{
    if (m_selectedRouter < 0)
        return false;
    if (!m_session.checkProgramUser(m_userEdit->text(), m_passwordEdit->text(), false))
        return false;
    bool started = false;
    {
        // The router answers within the API time-out; the operator sees that
        // the program waits for it.
        WaitCursor wait(m_interaction);
        started = m_session.selectRouter(m_selectedRouter) && m_session.startRouterSession();
    }
    if (started)
        Q_EMIT loggedIn();
    return started;
}

void CMikrotikAPIDlg::openSetup()
{
    if (!m_setupAvailable || !m_session.checkProgramUser(m_userEdit->text(), m_passwordEdit->text(), true))
        return;
    clearHover();
    Q_EMIT setupRequested(false);
}

void CMikrotikAPIDlg::resetAuthentication()
{
    if (!m_setupAvailable)
        return;
    const Answer answer =
        m_interaction.askYesNo(tr("Você deseja redefinir os dados de autenticação? \nO usuário e senha do "
                                  "Mikrotik API será redefinido."),
                               MessageIcon::Question);
    if (answer != Answer::Yes)
        return;
    m_session.logOut();
    clearHover();
    Q_EMIT setupRequested(true);
}

void CMikrotikAPIDlg::showAbout()
{
    clearHover();
    CAboutDlg about(m_resources.appIcon, this);
    about.exec();
}

void CMikrotikAPIDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        logIn();
        return;
    }
    CDesignWnd::keyPressEvent(event);
}

bool CMikrotikAPIDlg::focusNextPrevChild(bool)
{
    // Tab goes back and forth between the two fields.
    (m_userEdit->hasFocus() ? m_passwordEdit : m_userEdit)->setFocus(Qt::TabFocusReason);
    return true;
}

bool CMikrotikAPIDlg::eventFilter(QObject *watched, QEvent *event)
{
    // A field's frame glows while the field has the focus.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const bool glow = event->type() == QEvent::FocusIn;
        if (watched == m_userEdit || watched == m_passwordEdit) {
            const bool user = watched == m_userEdit;
            SkinItem &frame = *item(user ? UserFrameItem : PasswordFrameItem);
            frame.normalImage = (user ? m_userFrame : m_passwordFrame)[glow ? 1 : 0];
            repaintItem(frame);
        }
    }
    return CDesignWnd::eventFilter(watched, event);
}
