#include "generatorfixture.h"

#include "recordbuilders.h"

#include "ui/framework/ceditcombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<VoucherDesign> design(const QString &name, const QString &marker)
{
    auto design = std::make_shared<VoucherDesign>(makeDefaultDesign());
    design->Name = name;
    if (!marker.isEmpty()) {
        // One line that tells the design apart on paper.
        DesignText text;
        text.Text = marker + u"${user}"_s;
        text.FontFace = u"Arial"_s;
        text.FontSize = 20;
        text.X = 100;
        text.Y = 100;
        design->Graphics.clear();
        design->Texts = {text};
    }
    return design;
}

} // namespace

std::optional<QString> ScriptedPrinterChooser::choosePrinter(QPrinter &)
{
    ++asked;
    return answer;
}

GeneratorFixture::GeneratorFixture()
{
    h.state.designs = {design(u"Padrão"_s, {}), design(u"Cartão B"_s, u"B:"_s),
                       design(u"Cartão C"_s, u"C:"_s)};
    standard = h.state.designs[0].get();
    cardB = h.state.designs[1].get();
    cardC = h.state.designs[2].get();

    hourProfile = std::make_shared<VoucherProfile>();
    hourProfile->Name = u"1 Hora"_s;
    hourProfile->Title = u"1 Hora"_s;
    hourProfile->Validity = u"1h"_s;
    hourProfile->ValidityDisplay = u"1 Hora"_s;
    hourProfile->Price = 300;
    hourProfile->PriceText = u"R$ 3,00"_s;
    hourProfile->HotSpot = defaultHotSpot(u"1 Hora"_s, 3600, 300);
    hourProfile->Design = cardB;

    dayProfile = std::make_shared<VoucherProfile>();
    dayProfile->Name = u"1dia"_s;
    dayProfile->Title = u"1 Dia"_s;
    dayProfile->Validity = u"1d"_s;
    dayProfile->ValidityDisplay = u"1 Dia"_s;
    dayProfile->Price = 500;
    dayProfile->PriceText = u"R$ 5,00"_s;
    dayProfile->Design = standard;

    h.state.profiles = {hourProfile, dayProfile};
    h.state.routerInfo = {6, 48, u"admin"_s};
    h.state.settings.VoucherSerial = 41;
    h.state.userNames = {u"ana"_s, u"bruno"_s};
    h.state.posHistory.setFile(posHistoryPath(h.folder.dataFolder()));
    loadUiResources(resources);
}

GeneratorFixture::~GeneratorFixture() = default;

bool GeneratorFixture::open(const std::function<void(AppSettings &)> &adjust)
{
    if (!h.start())
        return false;
    if (adjust)
        adjust(h.state.settings);
    window = std::make_unique<CGeneratorDialog>(session, h.interaction, h.prompt, chooser, resources);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowExposed(window.get());
}

QTreeView *GeneratorFixture::profileList() const
{
    return window->findChild<QTreeView *>(u"profileList"_s);
}

QTreeView *GeneratorFixture::voucherList() const
{
    return window->findChild<QTreeView *>(u"voucherList"_s);
}

QLabel *GeneratorFixture::inputLabel() const
{
    return window->findChild<QLabel *>(u"inputLabel"_s);
}

QLineEdit *GeneratorFixture::input() const
{
    return window->findChild<QLineEdit *>(u"input"_s);
}

CEditCombo *GeneratorFixture::userNameCombo() const
{
    return window->findChild<CEditCombo *>(u"userNameCombo"_s);
}

QPushButton *GeneratorFixture::button(const QString &name) const
{
    return window->findChild<QPushButton *>(name);
}

QCheckBox *GeneratorFixture::checkBox(const QString &name) const
{
    return window->findChild<QCheckBox *>(name);
}

QComboBox *GeneratorFixture::designCombo() const
{
    return window->findChild<QComboBox *>(u"designCombo"_s);
}

QProgressDialog *GeneratorFixture::progress() const
{
    return window->findChild<QProgressDialog *>(u"progress"_s);
}

void GeneratorFixture::selectProfile(int row) const
{
    QTreeView *view = profileList();
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

void GeneratorFixture::typeInput(const QString &text) const
{
    QWidget *field = input()->isVisible() ? static_cast<QWidget *>(input()) : userNameCombo()->lineEdit();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void GeneratorFixture::clickGenerate() const
{
    QTest::mouseClick(button(u"generateButton"_s), Qt::LeftButton);
}

bool GeneratorFixture::waitForRuns(int runs)
{
    if (!QTest::qWaitFor([&] { return finished.size() >= runs; }, 20000))
        return false;
    // The window hears of the end queued: once its button is back, it has.
    return QTest::qWaitFor([&] { return !progress() && !session.isGenerating(); }, 5000);
}

QString GeneratorFixture::voucherCell(int row, int column, int role) const
{
    const QAbstractItemModel *model = voucherList()->model();
    return model->data(model->index(row, column), role).toString();
}

QStringList GeneratorFixture::batchNames() const
{
    QStringList names;
    for (const VoucherRecord &record : h.state.batch)
        names << record.UserName;
    return names;
}

QStringList GeneratorFixture::routerHotSpotUsers()
{
    QStringList names;
    for (const routersim::HotspotUser &user : h.router().state().hotspotUsers)
        names << user.name;
    return names;
}
