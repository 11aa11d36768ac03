#include "cvoucherdialog.h"

#include "designproperties.h"
#include "designpropertydelegate.h"
#include "designpropertygrid.h"
#include "focusoutrewriter.h"
#include "setuplook.h"
#include "voucherpreview.h"

#include "base/operatorinteraction.h"
#include "design/barcodetypes.h"
#include "design/colorref.h"
#include "design/designsharing.h"
#include "design/printjob.h"
#include "generation/voucherprofile.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "session/setupdata.h"
#include "ui/framework/ceditbox.h"
#include "ui/framework/filechooser.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A design name fills at most 99 characters of the design files' field.
constexpr int NameLength = 99;
constexpr qint64 SampleValidity = 3600;

const QString DesignFileSuffix = u"tkd"_s;
const QString BitmapSuffix = u"bmp"_s;

QString designFileFilter()
{
    return CVoucherDialog::tr("Definição (Design) de voucher (*.tkd)");
}

quint32 colorRefOf(const QColor &colour)
{
    return quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16;
}

QLineEdit *numberEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    // Either decimal separator is read.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(u"-?[0-9]*([.,][0-9]*)?"_s), edit));
    return edit;
}

} // namespace

CVoucherDialog::CVoucherDialog(SessionFacade &session, OperatorInteraction &interaction,
                               UiResources & /*resources*/, PrinterChooser &printers, FileChooser &files,
                               QWidget *parent)
    : SetupPage(parent), m_session(session), m_interaction(interaction), m_printers(printers), m_files(files),
      m_chooseFont(selectFont), m_decimal(session.state().separators.decimal)
{
    // What the preview fills the field tags with.
    auto profile = std::make_shared<VoucherProfile>();
    profile->Name = u"1h"_s;
    profile->Title = tr("1 Hora");
    profile->PriceText = tr("R$ 5,00");
    profile->ValidityDisplay = tr("1 hora");
    profile->Validity = u"01:00:00"_s;
    m_sample.UserName = u"k7m2p9"_s;
    m_sample.Password = u"4821"_s;
    m_sample.Generator = u"admin"_s;
    m_sample.Profile = profile;
    m_sample.Created = session.state().clock->now();
    m_sample.Expires = m_sample.Created + SampleValidity;
    m_sample.Serial = 1;
    m_sample.FirstName = tr("Maria");
    m_sample.LastName = tr("Silva");
    m_sample.Phone = u"(11) 99999-0000"_s;
    m_sample.Location = tr("Recepção");
    m_sample.Comment = tr("Cortesia");
    m_sample.Email = u"maria@example.com"_s;

    // The design and its sheet.
    auto *designLabel = new QLabel(tr("Definição de Voucher"), this);
    m_designCombo = new QComboBox(this);
    m_designCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    designLabel->setBuddy(m_designCombo);
    auto *renameButton = new QPushButton(tr("Renomear"), this);
    auto *addButton = new QPushButton(tr("Add novo"), this);
    auto *deleteButton = new QPushButton(tr("Apagar"), this);
    auto *copyButton = new QPushButton(tr("Copiar"), this);
    m_shareButton = new QPushButton(tr("Compartilhar"), this);
    m_shareMenu = new QMenu(this);
    QAction *importAction = m_shareMenu->addAction(tr("Importar definição(Design)"));
    QAction *exportAction = m_shareMenu->addAction(tr("Exportar definição(Design)"));

    auto *printerLabel = new QLabel(tr("Impressora Disponível"), this);
    m_printerCombo = new QComboBox(this);
    printerLabel->setBuddy(m_printerCombo);
    auto *copiesLabel = new QLabel(tr("Cópias"), this);
    m_copies = new QLineEdit(this);
    m_copies->setMaxLength(10);
    copiesLabel->setBuddy(m_copies);
    m_fillPage = new QCheckBox(tr("Complete a página inteira com os vouchers"), this);

    auto *widthLabel = new QLabel(tr("Largura do voucher (mm)"), this);
    m_width = numberEdit(this);
    widthLabel->setBuddy(m_width);
    auto *heightLabel = new QLabel(tr("Altura do voucher (mm)"), this);
    m_height = numberEdit(this);
    heightLabel->setBuddy(m_height);
    auto *marginLabel = new QLabel(tr("Margem min do voucher (mm)"), this);
    m_margin = numberEdit(this);
    marginLabel->setBuddy(m_margin);
    auto *testButton = new QPushButton(tr("Teste de Impressão"), this);

    // The grids.
    auto *graphicsLabel = new QLabel(tr("Lista de Gráficos"), this);
    m_graphicsGrid = new DesignPropertyGrid(m_decimal, this);
    m_graphicsGrid->setAccessibleName(graphicsLabel->text());
    m_graphicsGrid->setItemDelegate(new DesignPropertyDelegate(m_graphicsGrid));
    graphicsLabel->setBuddy(m_graphicsGrid);
    m_addGraphicButton = new QPushButton(tr("Add Gráfico ..."), this);
    m_removeGraphicButton = new QPushButton(tr("Remover graphic"), this);
    m_addGraphicMenu = new QMenu(this);
    const std::pair<const char *, quint16> graphicKinds[] = {
        {QT_TR_NOOP("Definição de imagem"), DesignGraphic::Image},
        {QT_TR_NOOP("Definição de linha"), DesignGraphic::Line},
        {QT_TR_NOOP("Definição de Box"), DesignGraphic::Box},
        {QT_TR_NOOP("Definição de Código de Barras"), DesignGraphic::Barcode}};
    for (const auto &[caption, kind] : graphicKinds) {
        const quint16 added = kind;
        connect(m_addGraphicMenu->addAction(tr(caption)), &QAction::triggered, this,
                [this, added] { addGraphic(added); });
    }

    auto *textsLabel = new QLabel(tr("Lista de Textos"), this);
    m_textsGrid = new DesignPropertyGrid(m_decimal, this);
    m_textsGrid->setAccessibleName(textsLabel->text());
    m_textsGrid->setItemDelegate(new DesignPropertyDelegate(m_textsGrid));
    textsLabel->setBuddy(m_textsGrid);
    auto *addTextButton = new QPushButton(tr("Add Texto"), this);
    m_removeTextButton = new QPushButton(tr("Remover Texto"), this);

    // The preview.
    auto *previewLabel = new QLabel(tr("Pré-visualização"), this);
    m_preview = new VoucherPreview(&m_sample, this);
    auto *previewArea = new QScrollArea(this);
    previewArea->setWidget(m_preview);
    previewArea->setWidgetResizable(true);
    previewArea->setAlignment(Qt::AlignCenter);
    previewArea->setMinimumWidth(360);
    previewLabel->setBuddy(m_preview);

    // Layout: the design's row, the sheet's rows, then the grids beside the
    // preview.
    auto *designRow = new QHBoxLayout;
    designRow->addWidget(designLabel);
    designRow->addWidget(m_designCombo, 1);
    for (QPushButton *button : {renameButton, addButton, deleteButton, copyButton, m_shareButton})
        designRow->addWidget(button);

    auto *sheet = new QGridLayout;
    sheet->addWidget(printerLabel, 0, 0);
    sheet->addWidget(m_printerCombo, 0, 1, 1, 3);
    sheet->addWidget(copiesLabel, 0, 4);
    sheet->addWidget(m_copies, 0, 5);
    sheet->addWidget(m_fillPage, 0, 6, 1, 2);
    sheet->addWidget(widthLabel, 1, 0);
    sheet->addWidget(m_width, 1, 1);
    sheet->addWidget(heightLabel, 1, 2);
    sheet->addWidget(m_height, 1, 3);
    sheet->addWidget(marginLabel, 1, 4);
    sheet->addWidget(m_margin, 1, 5);
    sheet->addWidget(testButton, 1, 7);
    sheet->setColumnStretch(6, 1);

    auto *graphicButtons = new QHBoxLayout;
    graphicButtons->addStretch();
    graphicButtons->addWidget(m_addGraphicButton);
    graphicButtons->addWidget(m_removeGraphicButton);
    auto *textButtons = new QHBoxLayout;
    textButtons->addStretch();
    textButtons->addWidget(addTextButton);
    textButtons->addWidget(m_removeTextButton);
    auto *grids = new QVBoxLayout;
    grids->addWidget(graphicsLabel);
    grids->addWidget(m_graphicsGrid, 1);
    grids->addLayout(graphicButtons);
    grids->addWidget(textsLabel);
    grids->addWidget(m_textsGrid, 1);
    grids->addLayout(textButtons);
    auto *previewColumn = new QVBoxLayout;
    previewColumn->addWidget(previewLabel);
    previewColumn->addWidget(previewArea, 1);
    auto *lower = new QHBoxLayout;
    lower->addLayout(grids, 1);
    lower->addLayout(previewColumn, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(designRow);
    layout->addLayout(sheet);
    layout->addLayout(lower, 1);

    // Top to bottom, left to right, each grid followed by its buttons.
    const QList<QWidget *> tabOrder = {
        m_designCombo, renameButton,   addButton,          deleteButton,
        copyButton,    m_shareButton,  m_printerCombo,     m_copies,
        m_fillPage,    m_width,        m_height,           m_margin,
        testButton,    m_graphicsGrid, m_addGraphicButton, m_removeGraphicButton,
        m_textsGrid,   addTextButton,  m_removeTextButton, previewArea};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    useSetupFieldBackground(this);

    // The boxes show what will be stored once the operator leaves them.
    const QString decimal = m_decimal;
    for (QLineEdit *edit : {m_width, m_height, m_margin}) {
        new FocusOutRewriter(
            edit, [decimal](const QString &text) { return millimetreText(parseMillimetres(text), decimal); });
    }
    new FocusOutRewriter(m_copies, [](const QString &text) { return QString::number(parseCopies(text)); });

    for (QLineEdit *edit : {m_copies, m_width, m_height, m_margin}) {
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (!m_showing) {
                markModified();
                updatePreview();
            }
        });
    }
    connect(m_fillPage, &QCheckBox::toggled, this, [this] {
        if (!m_showing)
            markModified();
    });
    connect(m_printerCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (m_showing)
            return;
        // The operator picked: a printer that was not installed is dropped.
        m_absentPrinter.clear();
        markModified();
    });
    connect(m_designCombo, &QComboBox::currentIndexChanged, this, &CVoucherDialog::switchDesign);

    connect(renameButton, &QPushButton::clicked, this, &CVoucherDialog::renameDesign);
    connect(addButton, &QPushButton::clicked, this, &CVoucherDialog::addDesign);
    connect(deleteButton, &QPushButton::clicked, this, &CVoucherDialog::deleteDesign);
    connect(copyButton, &QPushButton::clicked, this, &CVoucherDialog::copyDesign);
    connect(m_shareButton, &QPushButton::clicked, this, [this] {
        // Below the button, its right edges on the button's.
        const QSize size = m_shareMenu->sizeHint();
        m_shareMenu->exec(m_shareButton->mapToGlobal(
            QPoint(m_shareButton->width() - size.width(), m_shareButton->height())));
    });
    // A screen reader's press triggers an entry without closing its menu.
    for (QMenu *menu : {m_shareMenu, m_addGraphicMenu})
        connect(menu, &QMenu::triggered, menu, &QMenu::close);
    connect(importAction, &QAction::triggered, this, &CVoucherDialog::importDesign);
    connect(exportAction, &QAction::triggered, this, &CVoucherDialog::exportDesign);
    connect(testButton, &QPushButton::clicked, this, &CVoucherDialog::testPrint);
    connect(m_addGraphicButton, &QPushButton::clicked, this, [this] {
        // Above the button.
        m_addGraphicMenu->exec(
            m_addGraphicButton->mapToGlobal(QPoint(0, -m_addGraphicMenu->sizeHint().height())));
    });
    connect(m_removeGraphicButton, &QPushButton::clicked, this, [this] {
        m_graphicsGrid->removeCurrentGroup();
        markModified();
        updatePreview();
    });
    connect(addTextButton, &QPushButton::clicked, this, &CVoucherDialog::addText);
    connect(m_removeTextButton, &QPushButton::clicked, this, [this] {
        m_textsGrid->removeCurrentGroup();
        markModified();
        updatePreview();
    });

    for (DesignPropertyGrid *grid : {m_graphicsGrid, m_textsGrid}) {
        connect(grid, &DesignPropertyGrid::propertyChanged, this, [this] {
            markModified();
            updatePreview();
        });
        connect(grid, &DesignPropertyGrid::currentGroupChanged, this, &CVoucherDialog::updateSelection);
        connect(static_cast<DesignPropertyDelegate *>(grid->itemDelegate()),
                &DesignPropertyDelegate::browseRequested, this, &CVoucherDialog::browse);
    }

    m_removeGraphicButton->setEnabled(false);
    m_removeTextButton->setEnabled(false);
}

void CVoucherDialog::initialize(const SetupData &data)
{
    m_designs = copyDesigns(data.designs);
    m_opened = m_designs;
    m_openedValues.clear();
    for (const auto &design : std::as_const(m_designs))
        m_openedValues.append(*design);
    m_current = nullptr;
    fillPrinters();
    VoucherDesign *first = m_designs.isEmpty() ? nullptr : m_designs.first().get();
    fillDesignCombo(first);
    showDesign(first);
    m_modified = false;
}

bool CVoucherDialog::validate()
{
    storeCurrentDesign();
    for (const auto &design : std::as_const(m_designs)) {
        if (hasSize(*design))
            continue;
        // A design kept as it was found stays as it is.
        const qsizetype opened = m_opened.indexOf(design);
        if (opened >= 0 && m_openedValues.at(opened) == *design)
            continue;
        if (design.get() != m_current) {
            fillDesignCombo(design.get());
            showDesign(design.get());
        }
        m_interaction.showMessage(
            tr("A largura e a altura do voucher \"%1\" devem ser maiores que zero.\nPor favor, informe o "
               "tamanho do voucher em milímetros.")
                .arg(design->Name),
            MessageIcon::Warning);
        QLineEdit *edit = design->Width > 0 ? m_height : m_width;
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

void CVoucherDialog::save(SetupData &data)
{
    // The page keeps its modified flag: when the program cannot write what was
    // saved, the setup stays open and a Cancel must still ask.
    storeCurrentDesign();
    data.designs = copyDesigns(m_designs);
}

bool CVoucherDialog::isModified() const
{
    return m_modified;
}

void CVoucherDialog::markModified()
{
    m_modified = true;
}

bool CVoucherDialog::hasSize(const VoucherDesign &design) const
{
    return design.Width > 0 && design.Height > 0;
}

void CVoucherDialog::fillPrinters()
{
    const QSignalBlocker blocker(m_printerCombo);
    m_printerCombo->clear();
    m_printerCombo->addItem(tr("(Mostrar dialogo de impressão)"));
    m_printerCombo->addItems(QPrinterInfo::availablePrinterNames());
}

void CVoucherDialog::fillDesignCombo(const VoucherDesign *select)
{
    QList<VoucherDesign *> sorted;
    for (const auto &design : std::as_const(m_designs))
        sorted.append(design.get());
    std::stable_sort(sorted.begin(), sorted.end(), [](const VoucherDesign *a, const VoucherDesign *b) {
        return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker blocker(m_designCombo);
    m_designCombo->clear();
    for (VoucherDesign *design : sorted) {
        m_designCombo->addItem(design->Name, QVariant::fromValue(quintptr(design)));
        if (design == select)
            m_designCombo->setCurrentIndex(m_designCombo->count() - 1);
    }
}

void CVoucherDialog::showDesign(VoucherDesign *design)
{
    m_current = design;
    m_showing = true;
    const VoucherDesign shown = design ? *design : VoucherDesign{};
    m_width->setText(millimetreText(shown.Width, m_decimal));
    m_height->setText(millimetreText(shown.Height, m_decimal));
    m_margin->setText(millimetreText(shown.Margin, m_decimal));
    m_copies->setText(QString::number(shown.Copies));
    m_fillPage->setChecked(shown.FillPage);
    const int printer =
        shown.Printer.isEmpty() ? -1 : m_printerCombo->findText(shown.Printer, Qt::MatchFixedString);
    m_printerCombo->setCurrentIndex(printer > 0 ? printer : 0);
    m_absentPrinter = printer > 0 ? QString() : shown.Printer;
    m_graphicsGrid->setGraphics(shown.Graphics);
    m_textsGrid->setTexts(shown.Texts);
    m_showing = false;
    m_removeGraphicButton->setEnabled(false);
    m_removeTextButton->setEnabled(false);
    m_preview->select(VoucherPreview::Selection::None, -1);
    updatePreview();
}

VoucherDesign CVoucherDialog::shownDesign() const
{
    VoucherDesign design = m_current ? *m_current : VoucherDesign{};
    design.Width = parseMillimetres(m_width->text());
    design.Height = parseMillimetres(m_height->text());
    design.Margin = parseMillimetres(m_margin->text());
    design.FillPage = m_fillPage->isChecked();
    design.Copies = parseCopies(m_copies->text());
    design.Printer = selectedPrinter();
    design.Graphics = m_graphicsGrid->graphics();
    design.Texts = m_textsGrid->texts();
    return design;
}

QString CVoucherDialog::selectedPrinter() const
{
    if (m_printerCombo->currentIndex() <= 0)
        return m_absentPrinter.left(NameLength);
    return m_printerCombo->currentText().left(NameLength);
}

void CVoucherDialog::storeCurrentDesign()
{
    if (m_current)
        *m_current = shownDesign();
}

void CVoucherDialog::switchDesign()
{
    auto *found = reinterpret_cast<VoucherDesign *>(m_designCombo->currentData().value<quintptr>());
    if (!found || found == m_current)
        return;
    storeCurrentDesign();
    showDesign(found);
}

std::optional<QString> CVoucherDialog::askName(const QString &value, const VoucherDesign *renamed)
{
    QString name = value;
    if (!CEditBox::editText(this, tr("Digite o nome do voucher"), name, NameLength))
        return std::nullopt;
    if (name.trimmed().isEmpty()) {
        m_interaction.showMessage(tr("Por favor, insira um nome de voucher válido."), MessageIcon::Warning);
        return std::nullopt;
    }
    const bool taken = std::any_of(m_designs.cbegin(), m_designs.cend(), [&](const auto &design) {
        return design.get() != renamed && design->Name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (taken) {
        m_interaction.showMessage(
            tr("Nome do voucher está duplicado. Por favor, insira um novo nome para o voucher."),
            MessageIcon::Warning);
        return std::nullopt;
    }
    return name;
}

void CVoucherDialog::addDesign()
{
    markModified();
    const std::optional<QString> name = askName(tr("Novo"), nullptr);
    if (!name)
        return;
    auto design = std::make_shared<VoucherDesign>();
    design->Name = *name;
    m_designs.append(design);
    storeCurrentDesign();
    fillDesignCombo(design.get());
    showDesign(design.get());
}

void CVoucherDialog::copyDesign()
{
    if (!m_current)
        return;
    storeCurrentDesign();
    const std::optional<QString> name = askName(tr("Novo"), nullptr);
    if (!name)
        return;
    auto design = std::make_shared<VoucherDesign>(*m_current);
    design->Name = *name;
    m_designs.append(design);
    fillDesignCombo(design.get());
    showDesign(design.get());
    markModified();
}

void CVoucherDialog::renameDesign()
{
    if (!m_current)
        return;
    const std::optional<QString> name = askName(m_current->Name, m_current);
    if (!name)
        return;
    m_current->Name = *name;
    fillDesignCombo(m_current);
    markModified();
}

void CVoucherDialog::deleteDesign()
{
    if (!m_current)
        return;
    if (m_designs.size() < 2) {
        m_interaction.showMessage(tr("Você não pode apagar todos os vouchers."), MessageIcon::Warning);
        return;
    }
    if (m_interaction.askYesNo(tr("Você deseja apagar o vocher selecionado?"), MessageIcon::Warning) !=
        Answer::Yes)
        return;
    const VoucherDesign *removed = m_current;
    m_current = nullptr;
    m_designs.removeIf([removed](const auto &design) { return design.get() == removed; });
    VoucherDesign *first = m_designs.first().get();
    fillDesignCombo(first);
    showDesign(first);
    markModified();
}

void CVoucherDialog::importDesign()
{
    const QString path = m_files.chooseOpenFile(this, tr("Selecione o arquivo que deseja importar"),
                                                designFileFilter(), DesignFileSuffix);
    if (path.isEmpty())
        return;
    VoucherDesign *imported = nullptr;
    {
        WaitCursor wait(m_interaction);
        const AppState &state = m_session.state();
        imported =
            importSharedDesign(path, m_designs, state.paths.dataFolder, state.clock->now(), m_interaction);
    }
    if (!imported)
        return;
    storeCurrentDesign();
    fillDesignCombo(imported);
    showDesign(imported);
    markModified();
}

void CVoucherDialog::exportDesign()
{
    if (!m_current)
        return;
    storeCurrentDesign();
    const QString path = m_files.chooseSaveFile(this, tr("Selecione o arquivo que deseja exportar"),
                                                designFileFilter(), DesignFileSuffix);
    if (path.isEmpty())
        return;
    WaitCursor wait(m_interaction);
    shareDesign(path, *m_current, m_interaction);
}

void CVoucherDialog::testPrint()
{
    if (!m_current)
        return;
    storeCurrentDesign();
    if (!hasSize(*m_current)) {
        m_interaction.showMessage(
            tr("A largura e a altura do voucher \"%1\" devem ser maiores que zero.\nPor favor, informe o "
               "tamanho do voucher em milímetros.")
                .arg(m_current->Name),
            MessageIcon::Warning);
        return;
    }
    printVouchers(*m_current, {}, true, m_printers, m_interaction);
}

void CVoucherDialog::addGraphic(quint16 kind)
{
    DesignGraphic graphic;
    graphic.Kind = kind;
    if (kind == DesignGraphic::Line || kind == DesignGraphic::Box) {
        graphic.Attributes = 1;
    } else if (kind == DesignGraphic::Barcode) {
        graphic.Symbology = DefaultBarcodeSymbology;
        graphic.Attributes = 0xFFFFFF;
    }
    m_graphicsGrid->appendGraphic(graphic);
    markModified();
    updatePreview();
}

void CVoucherDialog::addText()
{
    DesignText text;
    text.FontFace = u"Arial"_s;
    text.FontSize = 20;
    m_textsGrid->appendText(text);
    markModified();
    updatePreview();
}

void CVoucherDialog::browse(const QPersistentModelIndex &index)
{
    DesignPropertyGrid *grid = index.model() == m_graphicsGrid->model() ? m_graphicsGrid : m_textsGrid;
    QTreeWidgetItem *item = grid->itemFromIndex(index);
    if (!item)
        return;
    const auto field = DesignField(item->data(0, DesignPropertyGrid::FieldRole).toInt());
    const QVariant value = item->data(1, DesignPropertyGrid::ValueRole);
    switch (editorOf(field)) {
    case PropertyEditor::Font: {
        FontChoice font = value.value<FontChoice>();
        const QString printer =
            m_printerCombo->currentIndex() > 0 ? m_printerCombo->currentText() : QString();
        if (m_chooseFont && m_chooseFont(printer, this, font))
            item->setData(1, DesignPropertyGrid::ValueRole, QVariant::fromValue(font));
        break;
    }
    case PropertyEditor::ImageFile: {
        const QString path =
            m_files.chooseOpenFile(this, fieldLabel(field), tr("Arquivos Bitmap (*.bmp)"), BitmapSuffix);
        if (path.isEmpty())
            break;
        if (path.size() > fieldMaxLength(field)) {
            // A shortened path would name another file, or none.
            m_interaction.showMessage(tr("O caminho do arquivo é longo demais (mais de %1 caracteres).\nPor "
                                         "favor, escolha um arquivo de uma pasta com caminho mais curto.")
                                          .arg(fieldMaxLength(field)),
                                      MessageIcon::Warning);
            break;
        }
        item->setData(1, DesignPropertyGrid::ValueRole, path);
        break;
    }
    case PropertyEditor::Colour: {
        const QColor chosen =
            QColorDialog::getColor(colourOfColorRef(value.toUInt()), this, fieldLabel(field));
        if (chosen.isValid())
            item->setData(1, DesignPropertyGrid::ValueRole, colorRefOf(chosen));
        break;
    }
    default:
        break;
    }
}

void CVoucherDialog::updatePreview()
{
    m_preview->setDesign(shownDesign());
}

void CVoucherDialog::updateSelection()
{
    auto *grid = qobject_cast<DesignPropertyGrid *>(sender());
    const int graphic = m_graphicsGrid->currentGroup();
    const int text = m_textsGrid->currentGroup();
    m_removeGraphicButton->setEnabled(graphic >= 0);
    m_removeTextButton->setEnabled(text >= 0);
    // The grid the operator is in decides what is outlined.
    if (grid == m_textsGrid && text >= 0)
        m_preview->select(VoucherPreview::Selection::Text, text);
    else if (grid == m_graphicsGrid && graphic >= 0)
        m_preview->select(VoucherPreview::Selection::Graphic, graphic);
    else if (graphic >= 0)
        m_preview->select(VoucherPreview::Selection::Graphic, graphic);
    else
        m_preview->select(VoucherPreview::Selection::Text, text);
}
