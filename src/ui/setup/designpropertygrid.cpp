#include "designpropertygrid.h"

#include "design/barcodefit.h"
#include "design/barcodetypes.h"
#include "design/colorref.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <algorithm>

namespace {

using Role = DesignPropertyGrid::Role;

// A property row: shows its value as text (and a colour as a swatch).
class PropertyItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    QVariant data(int column, int role) const override
    {
        if (column == 1 && (role == Qt::DisplayRole || role == Qt::DecorationRole)) {
            const auto field = DesignField(QTreeWidgetItem::data(0, Role::FieldRole).toInt());
            const QVariant value = QTreeWidgetItem::data(1, Role::ValueRole);
            if (role == Qt::DisplayRole) {
                if (auto *grid = qobject_cast<DesignPropertyGrid *>(treeWidget()))
                    return grid->valueText(field, value);
                return {};
            }
            if (editorOf(field) == PropertyEditor::Colour)
                return swatch(value.toUInt());
            return {};
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    static QPixmap swatch(quint32 colorRef)
    {
        QPixmap pixmap(16, 12);
        pixmap.fill(colourOfColorRef(colorRef));
        QPainter painter(&pixmap);
        painter.setPen(Qt::black);
        painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
        return pixmap;
    }
};

QString groupCaption(int kind)
{
    switch (kind) {
    case DesignGraphic::Image:
        return DesignPropertyGrid::tr("Definição de imagem");
    case DesignGraphic::Line:
        return DesignPropertyGrid::tr("Definição de linha");
    case DesignGraphic::Box:
        return DesignPropertyGrid::tr("Definição de Box");
    case DesignGraphic::Barcode:
        return DesignPropertyGrid::tr("Definição de Código de Barras");
    default:
        return DesignPropertyGrid::tr("Definição de Texto");
    }
}

} // namespace

int optionIndex(DesignField field, int value)
{
    if (field == DesignField::BarcodeType) {
        for (int i = 0; i < int(BarcodeTypes.size()); ++i) {
            if (BarcodeTypes[i].symbology == value)
                return i;
        }
        return -1;
    }
    return value >= 0 && value < fieldOptions(field).size() ? value : -1;
}

int optionValue(DesignField field, int index)
{
    if (field == DesignField::BarcodeType)
        return index >= 0 && index < int(BarcodeTypes.size()) ? BarcodeTypes[index].symbology
                                                              : DefaultBarcodeSymbology;
    return index;
}

DesignPropertyGrid::DesignPropertyGrid(const QString &decimal, QWidget *parent)
    : QTreeWidget(parent), m_decimal(decimal)
{
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setFrameShape(QFrame::NoFrame);
    // The name column takes half the grid.
    header()->setSectionResizeMode(QHeaderView::Stretch);

    // Grid colours (COLORREF 0xE8FDFF, 0xBFF8FF, 0x9DF2FF as RGB), text black.
    setStyleSheet(QStringLiteral("QTreeWidget { background: #FFFDE8; color: black; }"));

    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (column == 1 && item->parent())
            Q_EMIT propertyChanged();
    });
    connect(this, &QTreeWidget::currentItemChanged, this, [this] {
        const int group = currentGroup();
        if (group != m_lastGroup) {
            m_lastGroup = group;
            Q_EMIT currentGroupChanged(group);
        }
    });
}

QString DesignPropertyGrid::valueText(DesignField field, const QVariant &value) const
{
    switch (editorOf(field)) {
    case PropertyEditor::Text:
    case PropertyEditor::ImageFile:
        return value.toString();
    case PropertyEditor::Millimetres:
        return millimetreText(value.toInt(), m_decimal);
    case PropertyEditor::Integer:
        return QString::number(value.toLongLong());
    case PropertyEditor::Colour:
        return colourText(value.toUInt());
    case PropertyEditor::Font:
        return fontText(value.value<FontChoice>(), m_decimal);
    case PropertyEditor::Options: {
        const int index = optionIndex(field, value.toInt());
        if (index >= 0)
            return fieldOptions(field).at(index);
        // A type this program does not list is shown as the one it falls
        // back to; the number itself stays until another type is chosen.
        if (field == DesignField::BarcodeType)
            return fieldOptions(field).at(optionIndex(field, DefaultBarcodeSymbology));
        return QString::number(value.toInt());
    }
    }
    return {};
}

QTreeWidgetItem *DesignPropertyGrid::addGroup(const QString &caption, int kind, const QVariant &element)
{
    auto *group = new QTreeWidgetItem(this, {caption});
    group->setData(0, KindRole, kind);
    group->setData(0, ElementRole, element);
    group->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    group->setFirstColumnSpanned(true);
    group->setBackground(0, QColor(0xFF, 0xF8, 0xBF));
    QFont font = group->font(0);
    font.setBold(true);
    group->setFont(0, font);
    return group;
}

void DesignPropertyGrid::addProperty(QTreeWidgetItem *group, DesignField field, const QVariant &value)
{
    auto *item = new PropertyItem(group);
    item->setText(0, fieldLabel(field));
    item->setData(0, FieldRole, int(field));
    item->setData(1, ValueRole, value);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
}

void DesignPropertyGrid::addGraphicGroup(const DesignGraphic &graphic)
{
    QTreeWidgetItem *group = addGroup(groupCaption(graphic.Kind), graphic.Kind, QVariant::fromValue(graphic));
    const BarcodeAttributes attributes = barcodeAttributes(graphic.Attributes);
    switch (graphic.Kind) {
    case DesignGraphic::Image:
        addProperty(group, DesignField::ImageSource, graphic.Source);
        break;
    case DesignGraphic::Barcode:
        addProperty(group, DesignField::BarcodeContent, graphic.Source);
        addProperty(group, DesignField::BarcodeType, int(graphic.Symbology));
        break;
    default:
        break;
    }
    addProperty(group, DesignField::X, graphic.X);
    addProperty(group, DesignField::Y, graphic.Y);
    addProperty(group, DesignField::Width, graphic.Width);
    addProperty(group, DesignField::Height, graphic.Height);
    if (graphic.Kind == DesignGraphic::Line || graphic.Kind == DesignGraphic::Box) {
        addProperty(group, DesignField::LineWidth, qint64(graphic.Attributes));
        addProperty(group, DesignField::LineColour, graphic.Colour);
    } else if (graphic.Kind == DesignGraphic::Barcode) {
        addProperty(group, DesignField::LineColour, graphic.Colour);
        addProperty(group, DesignField::Background, attributes.background);
        addProperty(group, DesignField::BarcodeRotation, attributes.rotationIndex);
        addProperty(group, DesignField::IncludeText, attributes.showText ? 1 : 0);
        addProperty(group, DesignField::BorderWidth, qint64(graphic.BorderWidth));
    }
    group->setExpanded(true);
}

void DesignPropertyGrid::addTextGroup(const DesignText &text)
{
    QTreeWidgetItem *group = addGroup(groupCaption(TextGroup), TextGroup, QVariant::fromValue(text));
    addProperty(group, DesignField::Text, text.Text);
    addProperty(group, DesignField::X, text.X);
    addProperty(group, DesignField::Y, text.Y);
    addProperty(group, DesignField::Align, int(text.Align));
    addProperty(group, DesignField::Font,
                QVariant::fromValue(FontChoice{text.FontFace, text.FontSize, text.Bold, text.Italic}));
    addProperty(group, DesignField::TextColour, text.Colour);
    addProperty(group, DesignField::TextRotation, int(text.Rotation));
    group->setExpanded(true);
}

void DesignPropertyGrid::setGraphics(const QList<DesignGraphic> &graphics)
{
    const QSignalBlocker blocker(this);
    setUpdatesEnabled(false);
    clear();
    for (const DesignGraphic &graphic : graphics)
        addGraphicGroup(graphic);
    setUpdatesEnabled(true);
    m_lastGroup = -1;
}

void DesignPropertyGrid::setTexts(const QList<DesignText> &texts)
{
    const QSignalBlocker blocker(this);
    setUpdatesEnabled(false);
    clear();
    for (const DesignText &text : texts)
        addTextGroup(text);
    setUpdatesEnabled(true);
    m_lastGroup = -1;
}

QList<DesignGraphic> DesignPropertyGrid::graphics() const
{
    QList<DesignGraphic> graphics;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem *group = topLevelItem(i);
        DesignGraphic graphic = group->data(0, ElementRole).value<DesignGraphic>();
        quint32 background = graphic.Attributes & 0xFFFFFF;
        quint32 flags = graphic.Attributes >> 24;
        for (int row = 0; row < group->childCount(); ++row) {
            const QTreeWidgetItem *item = group->child(row);
            const QVariant value = item->data(1, ValueRole);
            switch (DesignField(item->data(0, FieldRole).toInt())) {
            case DesignField::ImageSource:
            case DesignField::BarcodeContent:
                graphic.Source = value.toString().left(fieldMaxLength(DesignField::ImageSource));
                break;
            case DesignField::BarcodeType:
                graphic.Symbology = quint8(value.toInt());
                break;
            case DesignField::X:
                graphic.X = value.toInt();
                break;
            case DesignField::Y:
                graphic.Y = value.toInt();
                break;
            case DesignField::Width:
                graphic.Width = value.toInt();
                break;
            case DesignField::Height:
                graphic.Height = value.toInt();
                break;
            case DesignField::LineWidth:
                graphic.Attributes = quint32(value.toLongLong());
                break;
            case DesignField::LineColour:
                graphic.Colour = value.toUInt();
                break;
            case DesignField::Background:
                background = value.toUInt() & 0xFFFFFF;
                break;
            case DesignField::BarcodeRotation:
                flags = (flags & ~0x6u) | (quint32(value.toInt()) & 3) << 1;
                break;
            case DesignField::IncludeText:
                flags = (flags & ~0x1u) | (quint32(value.toInt()) & 1);
                break;
            case DesignField::BorderWidth:
                graphic.BorderWidth = quint8(std::clamp<qint64>(value.toLongLong(), 0, 255));
                break;
            default:
                break;
            }
        }
        if (graphic.Kind == DesignGraphic::Barcode)
            // Bits 24 to 31: bit 0 the text below the code, bits 1 and 2 the
            // rotation; the others stay as they were.
            graphic.Attributes = flags << 24 | background;
        graphics.append(graphic);
    }
    return graphics;
}

QList<DesignText> DesignPropertyGrid::texts() const
{
    QList<DesignText> texts;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem *group = topLevelItem(i);
        DesignText text = group->data(0, ElementRole).value<DesignText>();
        for (int row = 0; row < group->childCount(); ++row) {
            const QTreeWidgetItem *item = group->child(row);
            const QVariant value = item->data(1, ValueRole);
            switch (DesignField(item->data(0, FieldRole).toInt())) {
            case DesignField::Text:
                text.Text = value.toString().left(fieldMaxLength(DesignField::Text));
                break;
            case DesignField::X:
                text.X = value.toInt();
                break;
            case DesignField::Y:
                text.Y = value.toInt();
                break;
            case DesignField::Align:
                text.Align = quint8(value.toInt());
                break;
            case DesignField::Font: {
                const FontChoice font = value.value<FontChoice>();
                text.FontFace = font.face;
                text.FontSize = font.halfPoints;
                text.Bold = font.bold;
                text.Italic = font.italic;
                break;
            }
            case DesignField::TextColour:
                text.Colour = value.toUInt();
                break;
            case DesignField::TextRotation:
                text.Rotation = quint8(value.toInt());
                break;
            default:
                break;
            }
        }
        texts.append(text);
    }
    return texts;
}

void DesignPropertyGrid::makeCurrentGroup(QTreeWidgetItem *group)
{
    scrollToItem(group->childCount() > 0 ? group->child(group->childCount() - 1) : group);
    scrollToItem(group);
    setCurrentItem(group, 0);
}

void DesignPropertyGrid::appendGraphic(const DesignGraphic &graphic)
{
    {
        const QSignalBlocker blocker(this);
        addGraphicGroup(graphic);
    }
    makeCurrentGroup(topLevelItem(topLevelItemCount() - 1));
}

void DesignPropertyGrid::appendText(const DesignText &text)
{
    {
        const QSignalBlocker blocker(this);
        addTextGroup(text);
    }
    makeCurrentGroup(topLevelItem(topLevelItemCount() - 1));
}

int DesignPropertyGrid::currentGroup() const
{
    // A screen reader may select a row without making it the current one.
    const QList<QTreeWidgetItem *> selected = selectedItems();
    const QTreeWidgetItem *item = selected.isEmpty() ? currentItem() : selected.first();
    if (!item)
        return -1;
    while (item->parent())
        item = item->parent();
    return indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item));
}

void DesignPropertyGrid::removeCurrentGroup()
{
    const int group = currentGroup();
    if (group < 0)
        return;
    {
        const QSignalBlocker blocker(this);
        delete takeTopLevelItem(group);
        // Nothing stays selected: a second "Remover" must not take a group the
        // operator did not pick.
        setCurrentItem(nullptr);
        clearSelection();
    }
    m_lastGroup = -1;
    Q_EMIT currentGroupChanged(-1);
}

QTreeWidgetItem *DesignPropertyGrid::propertyItem(int group, DesignField field) const
{
    const QTreeWidgetItem *top = topLevelItem(group);
    if (!top)
        return nullptr;
    for (int row = 0; row < top->childCount(); ++row) {
        if (top->child(row)->data(0, FieldRole).toInt() == int(field))
            return top->child(row);
    }
    return nullptr;
}

bool DesignPropertyGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (index.isValid() && index.column() == 0 && index.parent().isValid())
        return QTreeWidget::edit(index.siblingAtColumn(1), trigger, event);
    return QTreeWidget::edit(index, trigger, event);
}
