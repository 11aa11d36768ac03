#include "accessiblesearch.h"
#include "nextmodal.h"
#include "scriptedfilechooser.h"
#include "scriptedinteraction.h"
#include "sellingfixture.h"
#include "testmain.h"

#include "design/exchangefile.h"
#include "design/voucherrender.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "session/setupdata.h"
#include "ui/framework/ceditbox.h"
#include "ui/framework/uiresources.h"
#include "ui/setup/cvoucherdialog.h"
#include "ui/setup/designpropertygrid.h"
#include "ui/setup/voucherpreview.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString DuplicateName =
    u"Nome do voucher está duplicado. Por favor, insira um novo nome para o voucher."_s;
const QString EmptyName = u"Por favor, insira um nome de voucher válido."_s;
const QString LastDesign = u"Você não pode apagar todos os vouchers."_s;
const QString DeleteQuestion = u"Você deseja apagar o vocher selecionado?"_s;

const QString WidthLabel = u"Largura do voucher (mm)"_s;
const QString HeightLabel = u"Altura do voucher (mm)"_s;
const QString CopiesLabel = u"Cópias"_s;
const QString DesignLabel = u"Definição de Voucher"_s;

QPushButton *button(QWidget *root, const QString &text)
{
    QAccessibleInterface *found = findAccessible(root, QAccessible::Button, text);
    return found ? qobject_cast<QPushButton *>(found->object()) : nullptr;
}

// A list by its caption: a combo box's own accessible name is the entry it
// shows, its caption labels it.
QComboBox *combo(QWidget *root, const QString &label)
{
    QAccessibleInterface *caption = findAccessible(root, QAccessible::StaticText, label);
    if (!caption)
        return nullptr;
    for (const auto &[labelled, relation] : caption->relations(QAccessible::Labelled)) {
        if (auto *box = qobject_cast<QComboBox *>(labelled->object()))
            return box;
    }
    return nullptr;
}

// Replaces the field's text the way the operator does: select all, delete, type.
void retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar c : text) {
        // QTest has keys for ASCII only; other letters arrive as text alone.
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Types the name into the next input box and confirms it.
void answerName(const QString &name)
{
    onNextModal([name](QWidget *dialog) {
        QVERIFY(qobject_cast<CEditBox *>(dialog));
        auto *edit = dialog->findChild<QLineEdit *>();
        QVERIFY(edit);
        retype(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

// Clicks the button and picks the item of the menu it pops up.
void chooseFromMenu(QPushButton *menuButton, const QString &item)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, item] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
        for (QAction *action : menu->actions()) {
            if (action->text() == item) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
        QFAIL(qPrintable(u"no menu item "_s + item));
    });
    timer->start(10);
    QTest::mouseClick(menuButton, Qt::LeftButton);
}

// Selects the design in the design list with the arrow keys.
void selectDesign(QComboBox *designs, const QString &name)
{
    const int target = designs->findText(name);
    QVERIFY2(target >= 0, qPrintable(name));
    designs->setFocus();
    while (designs->currentIndex() < target)
        QTest::keyClick(designs, Qt::Key_Down);
    while (designs->currentIndex() > target)
        QTest::keyClick(designs, Qt::Key_Up);
}

// Clicks the value of a grid's property, which opens its editor.
QWidget *openEditor(DesignPropertyGrid *grid, int group, DesignField property)
{
    QTreeWidgetItem *item = grid->propertyItem(group, property);
    if (!item)
        return nullptr;
    const QModelIndex index = grid->indexFromItem(item, 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    return grid->indexWidget(index);
}

QString shownValue(DesignPropertyGrid *grid, int group, DesignField property)
{
    QTreeWidgetItem *item = grid->propertyItem(group, property);
    return item ? item->text(1) : QString();
}

std::shared_ptr<VoucherDesign> defaultDesign()
{
    return std::make_shared<VoucherDesign>(makeDefaultDesign());
}

// A design with every kind of element and values the page must keep as they
// are: odd half points, a barcode type the page does not list, flags and
// attribute bits it does not show, an alignment it does not know.
std::shared_ptr<VoucherDesign> cardDesign()
{
    auto design = std::make_shared<VoucherDesign>();
    design->Name = u"Cartão"_s;
    design->Width = 856;
    design->Height = 539;
    design->Margin = 35;
    design->Copies = 3;
    design->FillPage = false;
    design->Printer = u"Impressora que não existe"_s;

    DesignGraphic image;
    image.Kind = DesignGraphic::Image;
    image.Source = u"/não/existe.bmp"_s;
    image.Width = 400;
    image.Height = 200;
    image.Attributes = 7;
    DesignGraphic line;
    line.Kind = DesignGraphic::Line;
    line.X = 10;
    line.Y = 480;
    line.Width = 836;
    line.Attributes = 3;
    line.Colour = 0x0000FF;
    DesignGraphic barcode;
    barcode.Kind = DesignGraphic::Barcode;
    barcode.Source = u"${user}"_s;
    barcode.Symbology = 71;
    barcode.BorderWidth = 200;
    barcode.X = 15;
    barcode.Y = 25;
    barcode.Width = 333;
    barcode.Height = 111;
    barcode.Colour = 0x123456;
    barcode.Attributes = 0xFB00FFFF;
    design->Graphics = {image, line, barcode};

    const struct
    {
        qint32 size;
        bool bold;
        bool italic;
        quint8 align;
        quint8 rotation;
    } texts[] = {{17, false, false, 0, 0}, {21, true, false, 2, 3}, {33, true, true, 5, 1}};
    for (const auto &t : texts) {
        DesignText text;
        text.Text = u"${password}"_s;
        text.FontFace = u"DejaVu Sans"_s;
        text.FontSize = t.size;
        text.Bold = t.bold;
        text.Italic = t.italic;
        text.Align = t.align;
        text.Rotation = t.rotation;
        text.Colour = 0x0080FF;
        text.X = 100 + t.size;
        text.Y = 300;
        design->Texts.append(text);
    }
    return design;
}

// The page shown as a window of its own over a state in a temporary folder.
struct Page
{
    Page() : state(StoragePaths{dir.filePath(u"settings.reg"_s), dir.filePath(u"data"_s)}) {}

    bool open(const DesignList &designs)
    {
        data.designs = designs;
        page.initialize(data);
        page.show();
        return QTest::qWaitForWindowExposed(&page);
    }

    SetupData saved()
    {
        SetupData out;
        page.save(out);
        return out;
    }

    QStringList designNames() const
    {
        QStringList names;
        for (const auto &design : page.designs())
            names.append(design->Name);
        return names;
    }

    QComboBox *designCombo() { return combo(&page, DesignLabel); }

    QTemporaryDir dir;
    AppState state;
    ScriptedInteraction interaction;
    SessionFacade session{state, interaction};
    UiResources resources;
    ScriptedPrinterChooser printers;
    ScriptedFileChooser files;
    CVoucherDialog page{session, interaction, resources, printers, files};
    SetupData data;
};

// The voucher drawn by the print job's renderer on white, as expected of
// the preview.
QImage rendered(const VoucherDesign &design, QSize size, const DeviceResolution &resolution,
                const VoucherRecord *voucher)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    RenderJob job = startRenderJob(design, resolution);
    QPainter painter(&image);
    renderVoucher(painter, voucher, VoucherRect{0, 0, design.Width, design.Height}, design, job);
    painter.end();
    return image;
}

} // namespace

// The design page of the setup.
class DesignPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void millimetres_data();
    void millimetres();
    void copies_data();
    void copies();
    void names_data();
    void names();
    void deleteKeepsTheLastDesign();
    void importTwiceNumbersTheName();
    void previewIsThePrintersDrawing();
    void viewingChangesNoDesign();
    void gridEditors();
    void imageFileChosen();
    void fontItem_data();
    void fontItem();
    void sizeNeeded_data();
    void sizeNeeded();
    void testPrint_data();
    void testPrint();
};

void DesignPageTest::millimetres_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<QString>("shown");

    QTest::addRow("comma") << u"84,55"_s << 845 << u"84.5"_s;
    QTest::addRow("point") << u"84.55"_s << 845 << u"84.5"_s;
    QTest::addRow("one decimal") << u"85.6"_s << 856 << u"85.6"_s;
    QTest::addRow("whole") << u"90"_s << 900 << u"90"_s;
    QTest::addRow("nothing") << QString() << 0 << u"0"_s;
}

// A width typed with either separator is stored cut to a tenth and shown
// again as stored when the design comes back.
void DesignPageTest::millimetres()
{
    QFETCH(QString, typed);
    QFETCH(qint32, stored);
    QFETCH(QString, shown);

    Page p;
    QVERIFY(p.open({defaultDesign(), cardDesign()}));
    QLineEdit *width = findField(&p.page, WidthLabel);
    QVERIFY(width);
    QCOMPARE(width->text(), u"84"_s);
    retype(width, typed);
    QVERIFY(p.page.isModified());

    selectDesign(p.designCombo(), u"Cartão"_s);
    QCOMPARE(width->text(), u"85.6"_s);
    selectDesign(p.designCombo(), u"Padrão"_s);
    QCOMPARE(width->text(), shown);
    QCOMPARE(p.saved().designs.at(0)->Width, stored);
}

void DesignPageTest::copies_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<QString>("shownAfterwards");

    QTest::addRow("zero") << u"0"_s << 1 << u"1"_s;
    QTest::addRow("too many") << u"300"_s << 255 << u"255"_s;
    QTest::addRow("letters") << u"abc"_s << 1 << u"1"_s;
    QTest::addRow("within") << u"7"_s << 7 << u"7"_s;
}

void DesignPageTest::copies()
{
    QFETCH(QString, typed);
    QFETCH(qint32, stored);
    QFETCH(QString, shownAfterwards);

    Page p;
    QVERIFY(p.open({defaultDesign()}));
    QLineEdit *copies = findField(&p.page, CopiesLabel);
    QVERIFY(copies);
    retype(copies, typed);
    // Leaving the box shows what will be stored.
    findField(&p.page, WidthLabel)->setFocus();
    QCOMPARE(copies->text(), shownAfterwards);
    QCOMPARE(p.saved().designs.at(0)->Copies, stored);
}

void DesignPageTest::names_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("names");  // in list order afterwards
    QTest::addColumn<QStringList>("listed"); // in the design list afterwards

    const QStringList before = {u"Padrão"_s, u"Cartão"_s};
    QTest::addRow("new like another in other case")
        << u"Add novo"_s << u"PADRÃO"_s << QStringList{DuplicateName} << before
        << QStringList{u"Cartão"_s, u"Padrão"_s};
    QTest::addRow("copy like another") << u"Copiar"_s << u"cartão"_s << QStringList{DuplicateName} << before
                                       << QStringList{u"Cartão"_s, u"Padrão"_s};
    QTest::addRow("new, empty") << u"Add novo"_s << QString() << QStringList{EmptyName} << before
                                << QStringList{u"Cartão"_s, u"Padrão"_s};
    QTest::addRow("rename to another") << u"Renomear"_s << u"cartão"_s << QStringList{DuplicateName} << before
                                       << QStringList{u"Cartão"_s, u"Padrão"_s};
    QTest::addRow("rename in other case")
        << u"Renomear"_s << u"PADRÃO"_s << QStringList{} << QStringList{u"PADRÃO"_s, u"Cartão"_s}
        << QStringList{u"Cartão"_s, u"PADRÃO"_s};
    QTest::addRow("new, sorted in the list")
        << u"Add novo"_s << u"Balcão"_s << QStringList{} << QStringList{u"Padrão"_s, u"Cartão"_s, u"Balcão"_s}
        << QStringList{u"Balcão"_s, u"Cartão"_s, u"Padrão"_s};
}

// New, copy and rename ask for a name no other design has, in any case.
void DesignPageTest::names()
{
    QFETCH(QString, command);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, names);
    QFETCH(QStringList, listed);

    Page p;
    QVERIFY(p.open({defaultDesign(), cardDesign()}));
    answerName(typed);
    QTest::mouseClick(button(&p.page, command), Qt::LeftButton);

    QCOMPARE(p.interaction.texts(), messages);
    for (const ScriptedInteraction::Event &event : std::as_const(p.interaction.events))
        QCOMPARE(event.icon, MessageIcon::Warning);
    QCOMPARE(p.designNames(), names);
    QStringList inCombo;
    for (int i = 0; i < p.designCombo()->count(); ++i)
        inCombo.append(p.designCombo()->itemText(i));
    QCOMPARE(inCombo, listed);
    if (messages.isEmpty())
        QCOMPARE(p.designCombo()->currentText(), typed);
}

void DesignPageTest::deleteKeepsTheLastDesign()
{
    Page p;
    QVERIFY(p.open({defaultDesign()}));
    QTest::mouseClick(button(&p.page, u"Apagar"_s), Qt::LeftButton);
    QCOMPARE(p.interaction.texts(), QStringList{LastDesign});
    QCOMPARE(p.designNames(), QStringList{u"Padrão"_s});

    // With two, the current one goes after the question.
    Page two;
    QVERIFY(two.open({defaultDesign(), cardDesign()}));
    selectDesign(two.designCombo(), u"Cartão"_s);
    two.interaction.answer({Answer::Yes});
    QTest::mouseClick(button(&two.page, u"Apagar"_s), Qt::LeftButton);
    QCOMPARE(two.interaction.texts(), QStringList{DeleteQuestion});
    QCOMPARE(two.designNames(), QStringList{u"Padrão"_s});
    QCOMPARE(two.designCombo()->currentText(), u"Padrão"_s);
    QCOMPARE(two.saved().designs.size(), 1);
}

// An imported design named like one of the page gets the next free number.
void DesignPageTest::importTwiceNumbersTheName()
{
    Page p;
    const QString file = p.dir.filePath(u"padrao.tkd"_s);
    QVERIFY(exportDesign(file, makeDefaultDesign()));
    QVERIFY(p.open({defaultDesign()}));
    p.files.answers = {file, file};
    QPushButton *share = button(&p.page, u"Compartilhar"_s);
    QVERIFY(share);
    chooseFromMenu(share, u"Importar definição(Design)"_s);
    chooseFromMenu(share, u"Importar definição(Design)"_s);

    QCOMPARE(p.interaction.texts(), QStringList{});
    QCOMPARE(p.designNames(), (QStringList{u"Padrão"_s, u"Padrão (1)"_s, u"Padrão (2)"_s}));
    QCOMPARE(p.designCombo()->currentText(), u"Padrão (2)"_s);
    QCOMPARE(p.files.requests.size(), 2);
    QCOMPARE(p.files.requests[0].save, false);
    QCOMPARE(p.files.requests[0].title, u"Selecione o arquivo que deseja importar"_s);
    QCOMPARE(p.files.requests[0].filter, u"Definição (Design) de voucher (*.tkd)"_s);
    QCOMPARE(p.files.requests[0].defaultSuffix, u"tkd"_s);
    QVERIFY(p.page.isModified());
    const SetupData out = p.saved();
    QCOMPARE(out.designs.size(), 3);
    VoucherDesign imported = *out.designs[1];
    imported.Name = u"Padrão"_s;
    QCOMPARE(imported, makeDefaultDesign());

    // Exported again, the current design as its boxes show it.
    const QString exported = p.dir.filePath(u"copia.tkd"_s);
    p.files.answers = {exported};
    retype(findField(&p.page, CopiesLabel), u"4"_s);
    chooseFromMenu(share, u"Exportar definição(Design)"_s);
    QCOMPARE(p.files.requests.size(), 3);
    QCOMPARE(p.files.requests[2].save, true);
    QCOMPARE(p.files.requests[2].title, u"Selecione o arquivo que deseja exportar"_s);
    QCOMPARE(p.files.requests[2].filter, u"Definição (Design) de voucher (*.tkd)"_s);
    QCOMPARE(p.files.requests[2].defaultSuffix, u"tkd"_s);
    VoucherDesign reread;
    QVERIFY(::importDesign(exported, reread, p.state.paths.dataFolder, 0));
    QCOMPARE(reread.Name, u"Padrão (2)"_s);
    QCOMPARE(reread.Copies, 4);
}

// The preview is the print job's drawing of the design at the screen's
// resolution, pixel for pixel, and follows the boxes as they change.
void DesignPageTest::previewIsThePrintersDrawing()
{
    Page p;
    QVERIFY(p.open({defaultDesign()}));
    VoucherPreview *preview = p.page.preview();
    QAccessibleInterface *named = findAccessible(&p.page, QAccessible::Client, u"Pré-visualização"_s);
    QVERIFY(named && named->object() == preview);
    const DeviceResolution resolution = preview->resolution();
    QCOMPARE(resolution.dpiX, 96);
    QCOMPARE(resolution.dpiY, 96);

    // 84 mm by 54 mm at 96 dpi: 317.48 by 204.09 pixels.
    const QImage shown = preview->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(317, 204));
    const QImage expected = rendered(makeDefaultDesign(), {317, 204}, resolution, &p.page.sampleVoucher());
    QImage blank(317, 204, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QVERIFY(expected != blank);
    QCOMPARE(shown, expected);

    // 50 mm wide: 188.98 pixels.
    retype(findField(&p.page, WidthLabel), u"50"_s);
    VoucherDesign narrower = makeDefaultDesign();
    narrower.Width = 500;
    QCOMPARE(preview->image().convertToFormat(QImage::Format_RGB32),
             rendered(narrower, {189, 204}, resolution, &p.page.sampleVoucher()));

    // The selected graphic, the card picture of 84 by 54 mm, is outlined.
    QVERIFY(preview->outline().isEmpty());
    DesignPropertyGrid *grid = p.page.graphicsGrid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->topLevelItem(0)).center());
    QCOMPARE(preview->outline().boundingRect(), QRectF(0, 0, 317, 204));
}

// Showing designs one after the other and saving changes none of them.
void DesignPageTest::viewingChangesNoDesign()
{
    Page p;
    const DesignList designs = {defaultDesign(), cardDesign()};
    QVERIFY(p.open(designs));
    for (int round = 0; round < 3; ++round) {
        selectDesign(p.designCombo(), u"Cartão"_s);
        selectDesign(p.designCombo(), u"Padrão"_s);
    }
    QVERIFY(!p.page.isModified());
    // A printer that is not installed shows as none and is kept.
    selectDesign(p.designCombo(), u"Cartão"_s);
    QCOMPARE(combo(&p.page, u"Impressora Disponível"_s)->currentText(), u"(Mostrar dialogo de impressão)"_s);
    const SetupData out = p.saved();
    QCOMPARE(out.designs.size(), 2);
    QCOMPARE(*out.designs[0], *designs[0]);
    QCOMPARE(*out.designs[1], *designs[1]);
    QCOMPARE(out.designs[1]->Texts[0].FontSize, 17);
    QCOMPARE(out.designs[1]->Texts[1].FontSize, 21);
    QCOMPARE(out.designs[1]->Texts[2].FontSize, 33);
    // The page hands over designs of its own.
    QVERIFY(out.designs[0] != designs[0]);
}

// The grid's editors: a new barcode's type from the list, a position typed
// with a comma, a border kept within its byte.
void DesignPageTest::gridEditors()
{
    Page p;
    QVERIFY(p.open({defaultDesign()}));
    chooseFromMenu(button(&p.page, u"Add Gráfico ..."_s), u"Definição de Código de Barras"_s);
    DesignPropertyGrid *grid = p.page.graphicsGrid();
    for (const QString &name : {u"Lista de Gráficos"_s, u"Lista de Textos"_s})
        QVERIFY2(findAccessible(&p.page, QAccessible::Tree, name), qPrintable(name));
    QCOMPARE(grid->topLevelItemCount(), 2);
    QCOMPARE(grid->topLevelItem(1)->text(0), u"Definição de Código de Barras"_s);
    QVERIFY(button(&p.page, u"Remover graphic"_s)->isEnabled());
    QCOMPARE(shownValue(grid, 1, DesignField::BarcodeType), u"Code 128"_s);

    auto *type = qobject_cast<QComboBox *>(openEditor(grid, 1, DesignField::BarcodeType));
    QVERIFY(type);
    QCOMPARE(type->currentText(), u"Code 128"_s);
    QTest::keyClick(type, Qt::Key_Down); // the next type: "QR Code"
    QTRY_COMPARE(shownValue(grid, 1, DesignField::BarcodeType), u"QR Code"_s);

    auto *x = qobject_cast<QLineEdit *>(openEditor(grid, 1, DesignField::X));
    QVERIFY(x);
    retype(x, u"12,34"_s);
    QTest::keyClick(x, Qt::Key_Return);
    QTRY_COMPARE(shownValue(grid, 1, DesignField::X), u"12.3"_s);

    auto *border = qobject_cast<QLineEdit *>(openEditor(grid, 1, DesignField::BorderWidth));
    QVERIFY(border);
    retype(border, u"999"_s);
    QTest::keyClick(border, Qt::Key_Return);
    QTRY_COMPARE(shownValue(grid, 1, DesignField::BorderWidth), u"255"_s);

    const DesignGraphic stored = p.saved().designs.at(0)->Graphics.at(1);
    QCOMPARE(stored.Kind, quint16(DesignGraphic::Barcode));
    QCOMPARE(stored.Symbology, quint8(58));
    QCOMPARE(stored.X, 123);
    QCOMPARE(stored.BorderWidth, quint8(255));
    QCOMPARE(stored.Attributes, 0xFFFFFFu); // white background, not turned, no text

    // Removing the selected group.
    QTest::mouseClick(button(&p.page, u"Remover graphic"_s), Qt::LeftButton);
    QCOMPARE(p.saved().designs.at(0)->Graphics.size(), 1);
    QVERIFY(!button(&p.page, u"Remover graphic"_s)->isEnabled());
}

// The image file item takes a bitmap from the file dialog.
void DesignPageTest::imageFileChosen()
{
    Page p;
    QVERIFY(p.open({defaultDesign()}));
    chooseFromMenu(button(&p.page, u"Add Gráfico ..."_s), u"Definição de imagem"_s);
    DesignPropertyGrid *grid = p.page.graphicsGrid();
    QCOMPARE(grid->topLevelItemCount(), 2);
    p.files.answers = {u"/imagens/logo.bmp"_s};
    QWidget *editor = openEditor(grid, 1, DesignField::ImageSource);
    QVERIFY(editor);
    auto *choose = editor->findChild<QAbstractButton *>();
    QVERIFY(choose);
    QTest::mouseClick(choose, Qt::LeftButton);
    QTRY_COMPARE(shownValue(grid, 1, DesignField::ImageSource), u"/imagens/logo.bmp"_s);
    QCOMPARE(p.files.requests.size(), 1);
    QCOMPARE(p.files.requests[0].save, false);
    QCOMPARE(p.files.requests[0].filter, u"Arquivos Bitmap (*.bmp)"_s);
    QCOMPARE(p.files.requests[0].defaultSuffix, u"bmp"_s);
    const DesignGraphic stored = p.saved().designs.at(0)->Graphics.at(1);
    QCOMPARE(stored.Kind, quint16(DesignGraphic::Image));
    QCOMPARE(stored.Source, u"/imagens/logo.bmp"_s);
}

void DesignPageTest::fontItem_data()
{
    QTest::addColumn<qint32>("halfPoints");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("shown");

    QTest::addRow("plain") << 20 << false << false << u"Arial (10)"_s;
    QTest::addRow("bold") << 20 << true << false << u"Arial (10 B)"_s;
    QTest::addRow("bold italic") << 20 << true << true << u"Arial (10 BI)"_s;
    QTest::addRow("half a point") << 17 << false << true << u"Arial (8.5 I)"_s;
}

// The font item shows face, points and style; only the font dialog changes
// it, and its choice is stored in half points as given.
void DesignPageTest::fontItem()
{
    QFETCH(qint32, halfPoints);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, shown);

    auto design = defaultDesign();
    design->Texts = {design->Texts.first()};
    design->Texts[0].FontSize = halfPoints;
    design->Texts[0].Bold = bold;
    design->Texts[0].Italic = italic;
    Page p;
    QVERIFY(p.open({design}));
    DesignPropertyGrid *grid = p.page.textsGrid();
    QCOMPARE(shownValue(grid, 0, DesignField::Font), shown);

    QString askedPrinter = u"not asked"_s;
    p.page.setFontChooser([&](const QString &printer, QWidget *, FontChoice &font) {
        askedPrinter = printer;
        if (font.face != u"Arial"_s || font.halfPoints != halfPoints || font.bold != bold ||
            font.italic != italic)
            return false;
        font = FontChoice{u"Courier New"_s, 23, false, true};
        return true;
    });
    QWidget *editor = openEditor(grid, 0, DesignField::Font);
    QVERIFY(editor);
    auto *choose = editor->findChild<QAbstractButton *>();
    QVERIFY(choose);
    QTest::mouseClick(choose, Qt::LeftButton);
    QTRY_COMPARE(shownValue(grid, 0, DesignField::Font), u"Courier New (11.5 I)"_s);
    QCOMPARE(askedPrinter, QString()); // "(Mostrar dialogo de impressão)"
    const DesignText stored = p.saved().designs.at(0)->Texts.at(0);
    QCOMPARE(stored.FontFace, u"Courier New"_s);
    QCOMPARE(stored.FontSize, 23);
    QCOMPARE(stored.Bold, false);
    QCOMPARE(stored.Italic, true);
}

void DesignPageTest::sizeNeeded_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<bool>("valid");

    QTest::addRow("neither") << u"0"_s << u"0"_s << false;
    QTest::addRow("no width") << u"0"_s << u"54"_s << false;
    QTest::addRow("negative height") << u"84"_s << u"-5"_s << false;
    QTest::addRow("a tenth each") << u"0.1"_s << u"0,1"_s << true;
}

// A new design must get a width and a height before the setup is saved.
void DesignPageTest::sizeNeeded()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(bool, valid);

    Page p;
    QVERIFY(p.open({defaultDesign()}));
    answerName(u"Balcão"_s);
    QTest::mouseClick(button(&p.page, u"Add novo"_s), Qt::LeftButton);
    QCOMPARE(p.designCombo()->currentText(), u"Balcão"_s);
    retype(findField(&p.page, WidthLabel), width);
    retype(findField(&p.page, HeightLabel), height);
    // The container validates with another design shown.
    selectDesign(p.designCombo(), u"Padrão"_s);

    QCOMPARE(p.page.validate(), valid);
    if (valid) {
        QCOMPARE(p.interaction.texts(), QStringList{});
        return;
    }
    QCOMPARE(
        p.interaction.texts(),
        QStringList{u"A largura e a altura do voucher \"Balcão\" devem ser maiores que zero.\nPor favor, "
                    u"informe o tamanho do voucher em milímetros."_s});
    // The design at fault is shown.
    QCOMPARE(p.designCombo()->currentText(), u"Balcão"_s);
}

void DesignPageTest::testPrint_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QStringList>("messages");

    QTest::addRow("printed") << u"84"_s << 1 << QStringList{};
    QTest::addRow("no width")
        << u"0"_s << 0
        << QStringList{u"A largura e a altura do voucher \"Padrão\" devem ser maiores que zero.\nPor favor, "
                       u"informe o tamanho do voucher em milímetros."_s};
}

// "Teste de Impressão" prints the design as the boxes show it; without a
// printer of its own the print dialog (here cancelled) chooses one.
void DesignPageTest::testPrint()
{
    QFETCH(QString, width);
    QFETCH(int, asked);
    QFETCH(QStringList, messages);

    Page p;
    QVERIFY(p.open({defaultDesign()}));
    retype(findField(&p.page, WidthLabel), width);
    QTest::mouseClick(button(&p.page, u"Teste de Impressão"_s), Qt::LeftButton);
    QCOMPARE(p.printers.asked, asked);
    QCOMPARE(p.interaction.texts(), messages);
}

WIFITICKETER_TEST(DesignPageTest)
#include "designpagetest.moc"
