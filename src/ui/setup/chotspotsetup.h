#pragma once

#include "setuppage.h"

#include "config/hotspotprofile.h"
#include "config/routerconfig.h"
#include "router/routerinfo.h"

#include <QList>
#include <optional>

class OperatorInteraction;
class QLineEdit;
class QListWidget;
class QPushButton;
class SessionFacade;
struct UiResources;

// The setup's "Routers" page: the routers the program talks to and the
// hotspot voucher profiles it sells, the two user-name prefixes, and the run
// interval of the expiration script with its upload to every hotspot router.
class CHotSpotSetup : public SetupPage
{
    Q_OBJECT

public:
    CHotSpotSetup(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
                  QWidget *parent = nullptr);

    void initialize(const SetupData &data) override;
    // The two prefixes must differ, and the interval must be one.
    bool validate() override;
    void save(SetupData &data) override;
    bool isModified() const override { return m_modified; }

    QListWidget *routerList() const { return m_routerList; }
    QListWidget *profileList() const { return m_profileList; }

    void addRouter();
    void editRouter();
    void deleteRouter();
    void addProfile();
    void editProfile();
    void deleteProfile();
    // "Transferir script para o roteadores".
    void uploadScripts();

private:
    QListWidget *makeList(const QString &name);
    void updateButtons();
    // The interval box's seconds; 0 when it holds none.
    qint64 interval() const;
    bool readHotSpotNames();

    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    UiResources &m_resources;
    QList<RouterConfig> m_routers; // the rows' copies, in row order
    QList<HotSpotProfile> m_profiles;
    std::optional<HotSpotNames> m_names; // read once per opening of the page
    bool m_modified = false;

    QListWidget *m_routerList = nullptr;
    QListWidget *m_profileList = nullptr;
    QPushButton *m_editRouter = nullptr;
    QPushButton *m_deleteRouter = nullptr;
    QPushButton *m_editProfile = nullptr;
    QPushButton *m_deleteProfile = nullptr;
    QLineEdit *m_userManagerPrefix = nullptr;
    QLineEdit *m_hotSpotPrefix = nullptr;
    QLineEdit *m_interval = nullptr;
};
