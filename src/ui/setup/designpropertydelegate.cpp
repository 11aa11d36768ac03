#include "designpropertydelegate.h"

#include "designproperties.h"
#include "designpropertygrid.h"

#include "design/colorref.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

using Role = DesignPropertyGrid::Role;

DesignField fieldOf(const QModelIndex &index)
{
    return DesignField(index.siblingAtColumn(0).data(Role::FieldRole).toInt());
}

QIcon swatch(quint32 colorRef)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(colourOfColorRef(colorRef));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

// A line beside a "..." button: the font's description (read only) or the
// image file's path.
QWidget *lineWithButton(QWidget *parent, const QString &name, bool readOnly, QToolButton **button)
{
    auto *editor = new QWidget(parent);
    editor->setAutoFillBackground(true);
    auto *line = new QLineEdit(editor);
    line->setObjectName(u"line"_s);
    line->setReadOnly(readOnly);
    line->setAccessibleName(name);
    line->setFrame(false);
    *button = new QToolButton(editor);
    (*button)->setText(u"..."_s);
    (*button)->setAccessibleName(name);
    auto *layout = new QHBoxLayout(editor);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(line, 1);
    layout->addWidget(*button);
    // A read-only line has nothing to type: the keyboard goes to the button.
    editor->setFocusProxy(readOnly ? static_cast<QWidget *>(*button) : line);
    return editor;
}

} // namespace

DesignPropertyDelegate::DesignPropertyDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void DesignPropertyDelegate::requestBrowse(QWidget *editor, const QModelIndex &index) const
{
    auto *self = const_cast<DesignPropertyDelegate *>(this);
    const QPersistentModelIndex target(index);
    Q_EMIT self->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    // After the editor has gone.
    QTimer::singleShot(0, self, [self, target] {
        if (target.isValid())
            Q_EMIT self->browseRequested(target);
    });
}

QWidget *DesignPropertyDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                              const QModelIndex &index) const
{
    const DesignField field = fieldOf(index);
    const QString name = fieldLabel(field);
    auto *self = const_cast<DesignPropertyDelegate *>(this);
    switch (editorOf(field)) {
    case PropertyEditor::Text:
    case PropertyEditor::Millimetres:
    case PropertyEditor::Integer: {
        auto *edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setAccessibleName(name);
        if (editorOf(field) == PropertyEditor::Text) {
            edit->setMaxLength(fieldMaxLength(field));
        } else if (editorOf(field) == PropertyEditor::Millimetres) {
            // Either decimal separator is read.
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(u"-?[0-9]*([.,][0-9]*)?"_s), edit));
        } else {
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]{0,3}"_s), edit));
        }
        return edit;
    }
    case PropertyEditor::Options: {
        auto *combo = new QComboBox(parent);
        combo->setAccessibleName(name);
        combo->addItems(fieldOptions(field));
        connect(combo, &QComboBox::activated, self, [self, combo] {
            Q_EMIT self->commitData(combo);
            Q_EMIT self->closeEditor(combo);
        });
        return combo;
    }
    case PropertyEditor::Colour: {
        auto *combo = new QComboBox(parent);
        combo->setAccessibleName(name);
        for (const PaletteColour &colour : paletteColours())
            combo->addItem(swatch(colour.colorRef), colourText(colour.colorRef), colour.colorRef);
        const QPersistentModelIndex target(index);
        connect(combo, &QComboBox::activated, self, [self, combo, target](int row) {
            if (!combo->itemData(row).isValid()) {
                self->requestBrowse(combo, target);
                return;
            }
            Q_EMIT self->commitData(combo);
            Q_EMIT self->closeEditor(combo);
        });
        return combo;
    }
    case PropertyEditor::Font:
    case PropertyEditor::ImageFile: {
        QToolButton *button = nullptr;
        QWidget *editor = lineWithButton(parent, name, editorOf(field) == PropertyEditor::Font, &button);
        if (auto *line = editor->findChild<QLineEdit *>(u"line"_s); line && field == DesignField::ImageSource)
            line->setMaxLength(fieldMaxLength(field));
        const QPersistentModelIndex target(index);
        connect(button, &QToolButton::clicked, self, [self, editor, target] {
            if (editorOf(fieldOf(target)) == PropertyEditor::ImageFile)
                Q_EMIT self->commitData(editor);
            self->requestBrowse(editor, target);
        });
        return editor;
    }
    }
    return nullptr;
}

void DesignPropertyDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const DesignField field = fieldOf(index);
    const QVariant value = index.data(Role::ValueRole);
    switch (editorOf(field)) {
    case PropertyEditor::Text:
    case PropertyEditor::Millimetres:
    case PropertyEditor::Integer:
        static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
        break;
    case PropertyEditor::Options:
        static_cast<QComboBox *>(editor)->setCurrentIndex(optionIndex(field, value.toInt()));
        break;
    case PropertyEditor::Colour: {
        auto *combo = static_cast<QComboBox *>(editor);
        const quint32 colour = value.toUInt();
        int row = combo->findData(colour & 0xFFFFFF);
        if (row < 0 || (colour >> 24) != 0) {
            // A colour of its own stays on offer as it is.
            combo->addItem(swatch(colour), colourText(colour), colour);
            row = combo->count() - 1;
        }
        combo->addItem(DesignPropertyDelegate::tr("Mais"));
        combo->setCurrentIndex(row);
        break;
    }
    case PropertyEditor::Font:
    case PropertyEditor::ImageFile:
        if (auto *line = editor->findChild<QLineEdit *>(u"line"_s))
            line->setText(index.data(Qt::DisplayRole).toString());
        break;
    }
}

void DesignPropertyDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                          const QModelIndex &index) const
{
    const DesignField field = fieldOf(index);
    QVariant value;
    switch (editorOf(field)) {
    case PropertyEditor::Text:
        value = static_cast<QLineEdit *>(editor)->text();
        break;
    case PropertyEditor::Millimetres:
        value = parseMillimetres(static_cast<QLineEdit *>(editor)->text());
        break;
    case PropertyEditor::Integer:
        value = qint64(parsePropertyInteger(static_cast<QLineEdit *>(editor)->text()));
        break;
    case PropertyEditor::Options: {
        const int row = static_cast<QComboBox *>(editor)->currentIndex();
        if (row < 0)
            return;
        value = optionValue(field, row);
        break;
    }
    case PropertyEditor::Colour: {
        const QVariant colour = static_cast<QComboBox *>(editor)->currentData();
        if (!colour.isValid())
            return;
        value = colour.toUInt();
        break;
    }
    case PropertyEditor::Font:
        // Only the font dialog changes a font.
        return;
    case PropertyEditor::ImageFile: {
        const auto *line = editor->findChild<QLineEdit *>(u"line"_s);
        if (!line)
            return;
        value = line->text();
        break;
    }
    }
    model->setData(index, value, Role::ValueRole);
}

void DesignPropertyDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                                  const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}
