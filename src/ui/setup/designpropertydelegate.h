#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

// The editors of the design page's property grids: a line for texts and
// numbers, a list for options, a palette with "Mais" for colours, and a button
// for the font and the image file. Dialogs are not opened from inside an
// editor (it closes when the dialog takes the focus): the editor closes and
// browseRequested asks the page to open it.
class DesignPropertyDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit DesignPropertyDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

Q_SIGNALS:
    // The font dialog, the file dialog or the colour dialog ("Mais") for the
    // property; comes after its editor has closed.
    void browseRequested(const QPersistentModelIndex &index);

private:
    void requestBrowse(QWidget *editor, const QModelIndex &index) const;
};
