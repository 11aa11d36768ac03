#include "chotspotprofiledialog.h"

#include "focusoutrewriter.h"
#include "setuplook.h"

#include "base/operatorinteraction.h"
#include "base/pricetext.h"
#include "config/hotspotprofile.h"
#include "config/hotspotprofilevalidation.h"
#include "generation/duration.h"
#include "ui/framework/okcancelbuttons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The profiles file keeps 99 characters of each text, and durations of 100
// characters or more read as none.
constexpr int ProfileTextLength = int(HotSpotProfileTextLength);

QLineEdit *textBox(const QString &text, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setMaxLength(ProfileTextLength);
    edit->setText(text);
    return edit;
}

// The item (from `first` on) equal to `text` ignoring case, else the first
// one that begins with it; -1 when none does.
int matchingItem(const QComboBox *combo, const QString &text, int first)
{
    for (int i = first; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    for (int i = first; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

// The price box's text with "," or "." before the decimals: the box shows the
// locale's separator, and one other than a comma or a point reads as the
// decimal comma.
QString priceAsTyped(QString text, const NumberSeparators &separators)
{
    if (separators.decimal != u"," && separators.decimal != u"." && !separators.decimal.isEmpty())
        text.replace(separators.decimal, u","_s);
    return text;
}

} // namespace

CHotSpotProfileDialog::CHotSpotProfileDialog(HotSpotProfile &profile, const HotSpotNames &names,
                                             const NumberSeparators &separators,
                                             OperatorInteraction &interaction, QWidget *parent)
    : QDialog(parent), m_profile(profile), m_separators(separators), m_interaction(interaction)
{
    setWindowTitle(tr("Perfil do HotSpot"));

    m_name = textBox(profile.Name, this);
    m_price = textBox(priceText(profile.Price, separators), this);
    new FocusOutRewriter(m_price, [this](const QString &text) {
        // A text that is no price stays for the operator to mend; OK refuses it.
        const std::optional<qint32> price = typedPrice();
        return price ? priceText(*price, m_separators) : text;
    });

    m_server = new QComboBox(this);
    m_server->addItem(tr("(Todos)"));
    m_server->addItems(names.servers);
    // An empty server is every server, whatever the names begin with.
    const int server = profile.Server.isEmpty() ? -1 : matchingItem(m_server, profile.Server, 1);
    m_server->setCurrentIndex(server < 0 ? 0 : server);

    m_routerProfile = new QComboBox(this);
    m_routerProfile->addItems(names.profiles);
    const int routerProfile = matchingItem(m_routerProfile, profile.RouterProfile, 0);
    m_routerProfile->setCurrentIndex(routerProfile < 0 ? 0 : routerProfile);

    m_validity = textBox(shownDuration(profile.Validity), this);
    new FocusOutRewriter(m_validity, checkedDurationText);
    m_limitUptime = textBox(shownDuration(profile.LimitUptime), this);
    new FocusOutRewriter(m_limitUptime, checkedDurationText);
    m_limitBytesIn = textBox(profile.LimitBytesIn, this);
    m_limitBytesOut = textBox(profile.LimitBytesOut, this);
    m_limitBytesTotal = textBox(profile.LimitBytesTotal, this);

    auto *form = new QFormLayout;
    form->addRow(tr("Nome do perfil"), m_name);
    form->addRow(tr("Preço"), m_price);
    form->addRow(tr("Servidor Hotspot"), m_server);
    form->addRow(tr("Perfil de usuário Mikrotik"), m_routerProfile);
    form->addRow(tr("Validez"), m_validity);
    form->addRow(tr("Limite tempo conexão"), m_limitUptime);
    form->addRow(tr("Limite bytes entrada"), m_limitBytesIn);
    form->addRow(tr("Limite bytes saída"), m_limitBytesOut);
    form->addRow(tr("Limite total bytes"), m_limitBytesTotal);

    const auto [buttons, ok, cancel] = addOkCancelButtons(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    useSetupFieldBackground(this);

    const QList<QWidget *> order = {
        m_name,        m_price,        m_server,        m_routerProfile,   m_validity,
        m_limitUptime, m_limitBytesIn, m_limitBytesOut, m_limitBytesTotal, ok,
        cancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    m_name->setFocus();
}

std::optional<qint32> CHotSpotProfileDialog::typedPrice() const
{
    return readPriceText(priceAsTyped(m_price->text(), m_separators));
}

void CHotSpotProfileDialog::refuse(const QString &message, QLineEdit *edit)
{
    m_interaction.showMessage(message, MessageIcon::Warning);
    edit->setFocus();
    edit->selectAll();
}

void CHotSpotProfileDialog::accept()
{
    HotSpotProfileInput input;
    input.name = m_name->text();
    input.validity = TypedDuration{readTypedDuration(m_validity->text())};
    input.limitUptime = TypedDuration{readTypedDuration(m_limitUptime->text())};
    input.limitBytesIn = m_limitBytesIn->text();
    input.limitBytesOut = m_limitBytesOut->text();
    input.limitBytesTotal = m_limitBytesTotal->text();
    input.routerProfile = m_routerProfile->currentText();
    input.server = m_server->currentIndex() > 0 ? m_server->currentText() : QString();
    input.price = priceAsTyped(m_price->text(), m_separators);
    // The command line stores profiles with the same rules.
    if (const std::optional<HotSpotProfileProblem> problem = applyHotSpotProfileInput(m_profile, input)) {
        QLineEdit *const edits[] = {m_name,         m_price,         nullptr,
                                    nullptr,        m_validity,      m_limitUptime,
                                    m_limitBytesIn, m_limitBytesOut, m_limitBytesTotal};
        if (QLineEdit *edit = edits[int(problem->field)])
            refuse(problem->message, edit);
        else
            m_interaction.showMessage(problem->message, MessageIcon::Warning);
        return;
    }
    QDialog::accept();
}
