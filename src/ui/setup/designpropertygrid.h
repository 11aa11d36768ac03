#pragma once

#include "designproperties.h"

#include "design/voucherdesign.h"

#include <QTreeWidget>

// One of the design page's two property grids: a group per graphic (or per
// text) with a row per property, the value in the second column. A group
// keeps its element as it was shown and reads back only what the rows show,
// so fields and bits the page does not edit survive a store unchanged.
class DesignPropertyGrid : public QTreeWidget
{
    Q_OBJECT

public:
    enum Role
    {
        KindRole = Qt::UserRole, // group: the graphic's kind, or TextGroup
        ElementRole,             // group: the element as shown (DesignGraphic or DesignText)
        FieldRole,               // property: its DesignField
        ValueRole                // property: its stored value (see the value functions)
    };
    static constexpr int TextGroup = -1;

    // `decimal` is the separator numbers are shown with.
    explicit DesignPropertyGrid(const QString &decimal, QWidget *parent = nullptr);

    QString decimal() const { return m_decimal; }

    // The groups of these elements, in order, replacing all others.
    void setGraphics(const QList<DesignGraphic> &graphics);
    void setTexts(const QList<DesignText> &texts);
    // The elements as the groups now hold them, in grid order.
    QList<DesignGraphic> graphics() const;
    QList<DesignText> texts() const;

    // Adds a group at the end, scrolled into view and made current.
    void appendGraphic(const DesignGraphic &graphic);
    void appendText(const DesignText &text);

    // The group of the current item (a group or one of its rows), or -1.
    int currentGroup() const;
    void removeCurrentGroup();

    // The value row of a group's property; null when the group has none.
    QTreeWidgetItem *propertyItem(int group, DesignField field) const;

    // The text a property value shows.
    QString valueText(DesignField field, const QVariant &value) const;

Q_SIGNALS:
    // A property's value was changed by the operator.
    void propertyChanged();
    // Another group (or none, -1) holds the current item.
    void currentGroupChanged(int group);

protected:
    // Editing a row edits its value, whichever column was clicked.
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

private:
    QTreeWidgetItem *addGroup(const QString &caption, int kind, const QVariant &element);
    void addProperty(QTreeWidgetItem *group, DesignField field, const QVariant &value);
    void addGraphicGroup(const DesignGraphic &graphic);
    void addTextGroup(const DesignText &text);
    void makeCurrentGroup(QTreeWidgetItem *group);

    QString m_decimal;
    int m_lastGroup = -1;
};

// The stored value of an option property and the index of its option text;
// -1 when the value is none of the options.
int optionIndex(DesignField field, int value);
int optionValue(DesignField field, int index);

Q_DECLARE_METATYPE(DesignGraphic)
Q_DECLARE_METATYPE(DesignText)
