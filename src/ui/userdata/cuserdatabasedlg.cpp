#include "cuserdatabasedlg.h"

#include "base/operatorinteraction.h"
#include "generation/givennamecheck.h"
#include "ui/framework/ceditbox.h"
#include "ui/framework/smallimagelist.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace {


// Every row shows the same small picture before its name.
class RowIconDelegate : public QStyledItemDelegate
{
public:
    RowIconDelegate(const QPixmap &icon, QObject *parent) : QStyledItemDelegate(parent), m_icon(icon) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_icon.isNull())
            return;
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = QIcon(m_icon);
        option->decorationSize = m_icon.deviceIndependentSize().toSize();
    }

private:
    QPixmap m_icon;
};

} // namespace

CUserDatabaseDlg::CUserDatabaseDlg(const QStringList &names, OperatorInteraction &interaction,
                                   QWidget *parent)
    : QDialog(parent), m_interaction(interaction), m_model(new QStringListModel(names, this)),
      m_view(new QListView(this))
{
    setWindowTitle(tr("Username database"));

    m_view->setModel(m_model);
    m_view->setItemDelegate(new RowIconDelegate(smallImage(UserImage), m_view));
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);

    auto *add = new QPushButton(tr("Adicionar"), this);
    m_edit = new QPushButton(tr("Editar"), this);
    m_delete = new QPushButton(tr("Apagar"), this);
    auto *rowButtons = new QVBoxLayout;
    rowButtons->addWidget(add);
    rowButtons->addWidget(m_edit);
    rowButtons->addWidget(m_delete);
    rowButtons->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_view);
    top->addLayout(rowButtons);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(tr("Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancelar"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    connect(add, &QPushButton::clicked, this, &CUserDatabaseDlg::addName);
    connect(m_edit, &QPushButton::clicked, this, &CUserDatabaseDlg::editName);
    connect(m_delete, &QPushButton::clicked, this, &CUserDatabaseDlg::deleteName);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CUserDatabaseDlg::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CUserDatabaseDlg::updateButtons);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CUserDatabaseDlg::updateButtons);
    updateButtons();
}

QStringList CUserDatabaseDlg::names() const
{
    return m_model->stringList();
}

void CUserDatabaseDlg::updateButtons()
{
    const bool selected = m_view->selectionModel()->hasSelection();
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
}

std::optional<QString> CUserDatabaseDlg::askName(const QString &initial)
{
    QString name = initial;
    if (!CEditBox::editText(this, tr("Nome do Usuário"), name, NameLength) || name.isEmpty())
        return std::nullopt;
    // A name the router or a printed voucher would show differently never
    // enters the list.
    if (const std::optional<QString> problem = givenNameProblem(name, NameLength)) {
        m_interaction.showMessage(*problem, MessageIcon::Error);
        return std::nullopt;
    }
    return name;
}

void CUserDatabaseDlg::addName()
{
    const std::optional<QString> name = askName(QString());
    if (!name)
        return;
    QStringList rows = m_model->stringList();
    // Duplicates are told apart with case: "ana" beside "Ana" is a new row.
    qsizetype row = rows.indexOf(*name);
    if (row < 0) {
        rows.append(*name);
        row = rows.size() - 1;
        m_model->setStringList(rows);
    }
    sortKeeping(int(row));
}

void CUserDatabaseDlg::editName()
{
    const QModelIndexList selected = m_view->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    int row = selected.first().row();
    QStringList rows = m_model->stringList();
    const std::optional<QString> name = askName(rows.at(row));
    if (!name)
        return;
    rows[row] = *name;
    // The edited row takes the place of every other row of the same text.
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        if (i != row && rows.at(i) == *name) {
            rows.removeAt(i);
            if (i < row)
                --row;
        }
    }
    m_model->setStringList(rows);
    sortKeeping(row);
}

void CUserDatabaseDlg::deleteName()
{
    const QModelIndexList selected = m_view->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    if (m_interaction.askYesNo(tr("Você quer apagar o usuário selecionado?"), MessageIcon::Warning) !=
        Answer::Yes)
        return;
    m_model->removeRow(selected.first().row());
    // The view would select the next row; a second "Apagar" must not delete
    // a name the operator did not pick.
    m_view->selectionModel()->clear();
}

void CUserDatabaseDlg::sortKeeping(int row)
{
    const QStringList rows = m_model->stringList();
    QList<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    // Stable, so names equal but for case stay in the order they came.
    std::stable_sort(order.begin(), order.end(), [&rows](int a, int b) {
        return rows.at(a).compare(rows.at(b), Qt::CaseInsensitive) < 0;
    });
    QStringList sorted;
    for (int i : std::as_const(order))
        sorted.append(rows.at(i));
    m_model->setStringList(sorted);
    const QModelIndex current = m_model->index(int(order.indexOf(row)));
    m_view->setCurrentIndex(current);
    m_view->scrollTo(current);
}

bool editUserDatabase(QWidget *parent, QStringList &names, OperatorInteraction &interaction)
{
    CUserDatabaseDlg dialog(names, interaction, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    names = dialog.names();
    return true;
}
