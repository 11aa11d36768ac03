#include "generatorfixture.h"

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
