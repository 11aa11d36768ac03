// A sale at the counter: the keypad, the run on its worker thread, the
// printing, and the input dropped meanwhile.

#include "cposmodewindow.h"

#include "ckeypad.h"
#include "poswindowlook.h"

#include "base/operatorinteraction.h"
#include "design/printjob.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "ui/framework/uiresources.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace poslook;

QString CPosModeWindow::busyText() const
{
    if (!m_selling)
        return {};
    if (m_printing)
        return tr("Imprimindo...");
    if (m_saleCount > 1)
        return tr("Gerando vouchers... %1 de %2").arg(m_saleMade).arg(m_saleCount);
    return tr("Gerando voucher...");
}

void CPosModeWindow::startSale(SkinItem &button)
{
    const qsizetype index = button.data.toLongLong();
    const ProfileList &profiles = m_session.state().profiles;
    if (index < 0 || index >= profiles.size())
        return;
    const std::shared_ptr<const VoucherProfile> profile = profiles[index];
    const AppSettings &settings = m_session.state().settings;
    if (CKeyPad::confirmsAtOnce(settings)) {
        // The run's user-data prompt asks for the name.
        sell(profile, 1, QString());
        return;
    }
    delete m_keypad;
    clearHover();
    auto *keypad = new CKeyPad(m_resources, settings,
                               QRect(mapToGlobal(QPoint(button.left, button.top)),
                                     QSize(button.right - button.left, button.bottom - button.top)),
                               this);
    m_keypad = keypad;
    connect(keypad, &CKeyPad::closing, this, [this, keypad] { lockProfiles(nullptr, keypad); });
    connect(keypad, &CKeyPad::confirmed, this,
            [this, profile](bool countMode, int count, const QString &name) {
                sell(profile, count, countMode ? std::nullopt : std::optional<QString>(name));
            });
    lockProfiles(&button, keypad);
    keypad->open();
}

void CPosModeWindow::sell(const std::shared_ptr<const VoucherProfile> &profile, int count,
                          const std::optional<QString> &name)
{
    if (m_selling || count <= 0)
        return;
    GenerationRequest request;
    request.profile = profile;
    request.count = quint32(count);
    request.givenName = name;
    if (!m_session.startGeneration(request, m_prompt))
        return;
    m_selling = true;
    m_saleProfile = profile;
    m_saleCount = request.count;
    m_saleMade = 0;
    m_printing = false;
    clearHover();
    setCursor(Qt::BusyCursor);
    m_busyLabel->texts[0].text = busyText();
    m_busyLabel->flags &= ~SkinItem::Hidden;
    update();
}

void CPosModeWindow::saleProgress(quint32 made, quint32 count)
{
    if (!m_selling)
        return;
    m_saleMade = made;
    m_saleCount = count;
    m_busyLabel->texts[0].text = busyText();
    update(
        QRect(QPoint(m_busyLabel->left, m_busyLabel->top), QPoint(m_busyLabel->right, m_busyLabel->bottom)));
}

void CPosModeWindow::saleFinished()
{
    if (!m_selling)
        return;
    if (!m_session.state().batch.empty())
        printSale();
    refreshHistory(true);
    // What was touched during the sale and the printing is dropped now,
    // while the window still counts as busy.
    QCoreApplication::processEvents();
    m_selling = false;
    m_printing = false;
    m_saleProfile.reset();
    m_busyLabel->flags |= SkinItem::Hidden;
    m_busyLabel->texts[0].text.clear();
    unsetCursor();
    update();
    if (m_pendingLeave != Leave::None) {
        const Leave pending = std::exchange(m_pendingLeave, Leave::None);
        QMetaObject::invokeMethod(
            this, [this, pending] { leave(pending); }, Qt::QueuedConnection);
    }
}

void CPosModeWindow::printSale()
{
    const AppState &state = m_session.state();
    const VoucherDesign *design = m_saleProfile && m_saleProfile->Design ? m_saleProfile->Design
                                  : !state.designs.isEmpty()             ? state.designs.first().get()
                                                                         : &state.defaultDesign;
    QList<const VoucherRecord *> vouchers;
    for (const VoucherRecord &record : state.batch)
        vouchers.append(&record);
    m_printing = true;
    m_busyLabel->texts[0].text = busyText();
    repaint();
    const PrintOutcome outcome = printVouchers(*design, vouchers, false, m_printerChooser, m_interaction);
    if (outcome == PrintOutcome::Failed || outcome == PrintOutcome::Cancelled) {
        // The sale stands: the vouchers are on the router, in the history and
        // in the sales list.
        m_interaction.showMessage(
            tr("Os vouchers desta venda não foram impressos. Eles foram criados e "
               "estão no histórico de vouchers, de onde podem ser impressos novamente."),
            MessageIcon::Warning);
    }
}
