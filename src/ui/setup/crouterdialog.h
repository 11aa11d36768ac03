#pragma once

#include <QDialog>

class OperatorInteraction;
class QCheckBox;
class QLineEdit;
class SessionFacade;
struct RouterConfig;

// "Configuração do roteador": edits one router (how to reach its API, which of
// its profiles are sold, how User Manager users are made on it), tests the
// connection with what is typed and uploads the expiration script to it.
class CRouterDialog : public QDialog
{
    Q_OBJECT

public:
    // `router` is changed only by OK. `scriptInterval`: the seconds the
    // interval box starts with; the box sets only the interval of an upload
    // made from this dialog.
    CRouterDialog(RouterConfig &router, qint64 scriptInterval, SessionFacade &session,
                  OperatorInteraction &interaction, QWidget *parent = nullptr);

    void accept() override;

private:
    // The router as the dialog's fields reach it, without a name.
    RouterConfig typedConnection() const;
    QString typedName() const;
    // "Testar Conexão".
    void testConnection();
    // "Transferir script para o roteador".
    void uploadScript();

    RouterConfig &m_router;
    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_port = nullptr;
    QLineEdit *m_apiUser = nullptr;
    QLineEdit *m_password = nullptr;
    QCheckBox *m_userManagerProfiles = nullptr;
    QCheckBox *m_hotSpotProfiles = nullptr;
    QCheckBox *m_macBinding = nullptr;
    QLineEdit *m_userManagerAdmin = nullptr;
    QLineEdit *m_interval = nullptr;
};
