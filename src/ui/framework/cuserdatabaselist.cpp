#include "cuserdatabaselist.h"

#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>

namespace {

constexpr int PageRows = 4; // rows moved by one page step of the scroll bar

// Rows of a fixed height, whatever the font.
class FixedRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), CUserDatabaseList::RowHeight);
    }
};

} // namespace

CUserDatabaseList::CUserDatabaseList(QWidget *owner) : QListView(owner), m_model(new QStringListModel(this))
{
    // A window of its own, so it can reach below its dialog; of the tool-tip
    // kind, which no platform activates, so the edit keeps the keyboard.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    setModel(m_model);
    setItemDelegate(new FixedRowDelegate(this));
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    connect(this, &QAbstractItemView::entered, this,
            [this](const QModelIndex &index) { setCurrentIndex(index); });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { emit nameChosen(index.data().toString()); });
}

void CUserDatabaseList::setNames(const QStringList &names)
{
    m_names = names;
}

bool CUserDatabaseList::setFilter(const QString &text)
{
    QStringList shown;
    bool exact = false;
    for (const QString &name : std::as_const(m_names)) {
        if (name.startsWith(text, Qt::CaseInsensitive)) {
            shown.append(name);
            exact = exact || name.compare(text, Qt::CaseInsensitive) == 0;
        }
    }
    m_model->setStringList(shown);
    scrollToTop();
    return exact;
}

QStringList CUserDatabaseList::matches() const
{
    return m_model->stringList();
}

void CUserDatabaseList::popUpBelow(const QWidget *anchor)
{
    const int rows = qMin(m_model->rowCount(), VisibleRows);
    const int frame = 2 * frameWidth();
    setGeometry(QRect(anchor->mapToGlobal(QPoint(0, anchor->height())),
                      QSize(anchor->width(), rows * RowHeight + frame)));
    clearSelection();
    setCurrentIndex(QModelIndex());
    scrollToTop();
    show();
}

void CUserDatabaseList::moveMark(int step)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    const int row = currentIndex().isValid() ? qBound(0, currentIndex().row() + step, count - 1)
                                             : (step > 0 ? 0 : count - 1);
    setCurrentIndex(m_model->index(row));
    scrollTo(currentIndex());
}

QString CUserDatabaseList::markedName() const
{
    return selectionModel()->isSelected(currentIndex()) ? currentIndex().data().toString() : QString();
}

void CUserDatabaseList::updateGeometries()
{
    QListView::updateGeometries();
    // One row per line step, four per page step.
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(PageRows);
}
