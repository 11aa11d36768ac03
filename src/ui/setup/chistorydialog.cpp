#include "chistorydialog.h"

#include "historylistmodel.h"
#include "historyreport.h"

#include "base/localedate.h"
#include "base/operatorinteraction.h"
#include "design/printjob.h"
#include "generation/duration.h"
#include "generation/voucherrecord.h"
#include "history/historycsv.h"
#include "session/appstate.h"
#include "session/sessionfacade.h"
#include "session/setupdata.h"
#include "ui/framework/cinfownd.h"
#include "ui/framework/filechooser.h"
#include "ui/framework/smallimagelist.h"
#include "ui/framework/uiresources.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The list's column widths at a width of 780 pixels.
constexpr int ColumnWidths[HistoryListModel::ColumnCount] = {100, 100, 100, 90,  130, 90,  90,
                                                             80,  100, 100, 100, 100, 100, 100};
// The report prints the first ten columns.
constexpr int ReportColumns = 10;

QIcon listIcon(const UiResources &resources, int index)
{
    const QPixmap pixmap = resources.listImage(index);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QDateEdit *dateEdit(const QDate &date, QWidget *parent)
{
    auto *edit = new QDateEdit(date, parent);
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

CHistoryDialog::CHistoryDialog(SessionFacade &session, OperatorInteraction &interaction,
                               UiResources &resources, PrinterChooser &printers, FileChooser &files,
                               QWidget *parent)
    : SetupPage(parent), m_session(session), m_interaction(interaction), m_resources(resources),
      m_printers(printers), m_files(files)
{
    const QDate today = QDateTime::fromSecsSinceEpoch(session.state().clock->now()).date();
    auto *fromLabel = new QLabel(tr("De"), this);
    m_from = dateEdit(today, this);
    fromLabel->setBuddy(m_from);
    auto *toLabel = new QLabel(tr("Até a data"), this);
    m_to = dateEdit(today, this);
    toLabel->setBuddy(m_to);
    auto *usersLabel = new QLabel(tr("Usuário"), this);
    m_users = new QComboBox(this);
    usersLabel->setBuddy(m_users);
    auto *routersLabel = new QLabel(tr("Router"), this);
    m_routers = new QComboBox(this);
    routersLabel->setBuddy(m_routers);
    m_searchButton = new QPushButton(tr("Iniciar Pesquisa"), this);
    m_printButton = new QPushButton(tr("Imprimir"), this);
    m_exportButton = new QPushButton(tr("Exportar CSV"), this);

    auto *resultsLabel = new QLabel(tr("Resultados"), this);
    m_model = new HistoryListModel({listIcon(resources, RemovedVoucherImage),
                                    listIcon(resources, HotSpotImage), listIcon(resources, UserManagerImage)},
                                   priceFormat(session.state()), this);
    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setAccessibleName(tr("Resultados"));
    resultsLabel->setBuddy(m_view);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    // The rows come in the database's order until the operator picks a column.
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setSortingEnabled(true);
    m_view->horizontalHeader()->setSectionsClickable(true);
    for (int column = 0; column < HistoryListModel::ColumnCount; ++column)
        m_view->setColumnWidth(column, ColumnWidths[column]);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);

    m_info = new CInfoWnd(this);
    m_info->setText(tr("Por favor complete todos os campos e clique no botão Iniciar Pesquisa."));
    // Vouchers of runs that were cut off, not yet settled with their router.
    m_pending = new QLabel(this);
    m_pending->setWordWrap(true);
    showPending();

    auto *filters = new QGridLayout;
    filters->addWidget(fromLabel, 0, 0);
    filters->addWidget(m_from, 0, 1);
    filters->addWidget(toLabel, 0, 2);
    filters->addWidget(m_to, 0, 3);
    filters->addWidget(m_searchButton, 0, 4);
    filters->addWidget(usersLabel, 1, 0);
    filters->addWidget(m_users, 1, 1);
    filters->addWidget(routersLabel, 1, 2);
    filters->addWidget(m_routers, 1, 3);
    filters->addWidget(m_printButton, 1, 4);
    filters->addWidget(m_exportButton, 2, 4);
    filters->setColumnStretch(1, 1);
    filters->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(resultsLabel);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_info);
    layout->addWidget(m_pending);

    setTabOrder(m_from, m_to);
    setTabOrder(m_to, m_users);
    setTabOrder(m_users, m_routers);
    setTabOrder(m_routers, m_searchButton);
    setTabOrder(m_searchButton, m_printButton);
    setTabOrder(m_printButton, m_exportButton);
    setTabOrder(m_exportButton, m_view);

    connect(m_searchButton, &QPushButton::clicked, this, &CHistoryDialog::search);
    connect(m_printButton, &QPushButton::clicked, this, &CHistoryDialog::printReport);
    connect(m_exportButton, &QPushButton::clicked, this, &CHistoryDialog::exportCsv);
    updateButtons();
}

CHistoryDialog::~CHistoryDialog() = default;

void CHistoryDialog::initialize(const SetupData &data)
{
    const QString all = tr("(Todos)");
    m_users->clear();
    m_users->addItem(all);
    for (const AppUser &user : data.users)
        m_users->addItem(user.Name);
    m_routers->clear();
    m_routers->addItem(all);
    for (const RouterConfig &router : data.routers)
        m_routers->addItem(router.Name);
    m_designs = data.designs;
}

bool CHistoryDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view || watched == m_view->viewport()) {
        if (event->type() == QEvent::ContextMenu) {
            auto *menuEvent = static_cast<QContextMenuEvent *>(event);
            const QList<int> rows = selectedRows();
            QPoint at = menuEvent->globalPos();
            if (menuEvent->reason() != QContextMenuEvent::Mouse && !rows.isEmpty())
                at = m_view->viewport()->mapToGlobal(
                    m_view->visualRect(m_model->index(rows.first(), 0)).center());
            showContextMenu(at);
            return true;
        }
        // Shift+F10 opens the menu too, as on other desktops; the menu key
        // arrives as a context menu event.
        if (watched == m_view && event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
                QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(), QPoint());
                return eventFilter(m_view, &menuEvent);
            }
        }
    }
    return SetupPage::eventFilter(watched, event);
}

QList<int> CHistoryDialog::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_view->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CHistoryDialog::updateButtons()
{
    const bool listed = m_model->rowCount() > 0;
    m_printButton->setEnabled(listed);
    m_exportButton->setEnabled(listed);
}

void CHistoryDialog::showTotals()
{
    HistorySearchResult result;
    result.rows = m_model->rows();
    for (const HistoryRow &row : result.rows)
        (isRemovedRow(row) ? result.suppressed : result.total) += row.Price;
    m_info->setText(historyTotalsLine(result, m_lastFilter, priceFormat(m_session.state())));
}

void CHistoryDialog::showPending()
{
    const std::optional<QList<PendingVoucher>> pending = m_session.pendingVouchers();
    const QString line =
        pending ? pendingVouchersLine(*pending)
                : tr("Erro: não foi possível ler os vouchers pendentes (%1).").arg(m_session.pendingFile());
    m_pending->setText(line);
    m_pending->setVisible(!line.isEmpty());
}

void CHistoryDialog::search()
{
    showPending();
    m_model->clear();
    m_info->setText(tr("Por favor complete todos os campos e clique no botão Iniciar Pesquisa."));
    updateButtons();

    HistoryFilter filter;
    filter.from = m_from->date();
    filter.to = m_to->date();
    // The names go to the database as bound values, never as part of the
    // statement: any character may be in them.
    if (m_users->currentIndex() > 0)
        filter.generator = m_users->currentText();
    if (m_routers->currentIndex() > 0)
        filter.router = m_routers->currentText();
    const std::optional<HistorySearchResult> result = m_session.searchHistory(filter);
    if (!result) {
        m_interaction.showMessage(tr("Erro: Não foi possível acessar o banco de dados de histórico."),
                                  MessageIcon::Warning);
        return;
    }
    m_lastFilter = filter;
    m_model->setRows(result->rows);
    showTotals();
    updateButtons();
}

void CHistoryDialog::showContextMenu(const QPoint &globalPos)
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    QMenu menu(this);
    QMenu *printMenu = menu.addMenu(tr("Imprimir Voucher(s)"));
    QList<QAction *> designActions;
    for (const std::shared_ptr<VoucherDesign> &design : std::as_const(m_designs)) {
        QString name = design->Name;
        designActions.append(printMenu->addAction(name.replace(u'&', u"&&"_s)));
    }
    QAction *removeAction = nullptr;
    if (!isRemovedRow(m_model->row(rows.first())))
        removeAction = menu.addAction(tr("Excluir do roteador"));

    // A screen reader's press triggers an entry without closing the menu: the
    // menu closes on any trigger, and the entry triggered is the one chosen.
    QAction *chosen = nullptr;
    for (QMenu *source : {&menu, printMenu})
        connect(source, &QMenu::triggered, &menu, [&](QAction *action) {
            chosen = action;
            menu.close();
        });
    menu.exec(globalPos);
    if (!chosen)
        return;
    if (chosen == removeAction) {
        removeFromRouter();
        return;
    }
    const qsizetype design = designActions.indexOf(chosen);
    if (design >= 0)
        reprint(*m_designs[design]);
}

void CHistoryDialog::reprint(const VoucherDesign &design)
{
    // The vouchers get profiles and a batch of their own: the session's
    // profiles and its last run stay as they are.
    const PriceFormat format = priceFormat(m_session.state());
    ProfileList profiles;
    BatchList batch;
    for (int index : selectedRows()) {
        const HistoryRow &row = m_model->row(index);
        std::shared_ptr<VoucherProfile> profile =
            makeVoucherProfile(shownProfile(row), row.Price, row.Validity, format);
        profiles.append(profile);
        VoucherRecord &record = newVoucherRecord(batch, profile);
        record.Created = row.Created.toSecsSinceEpoch();
        record.Expires = record.Created + parseDuration(row.Validity);
        record.UserName = shownUserName(row);
        record.Password = row.Password;
        record.Serial = row.Serial.value_or(0);
        record.Generator = row.Generator;
        record.HotSpotUser = isHotSpotRow(row);
        record.FirstName = row.FirstName;
        record.LastName = row.LastName;
        record.Phone = row.Phone;
        record.Location = row.Location;
        record.Comment = row.Comment;
        record.Email = row.Email;
    }
    QList<const VoucherRecord *> records;
    for (const VoucherRecord &record : batch)
        records.append(&record);
    printVouchers(design, records, false, m_printers, m_interaction);
}

void CHistoryDialog::removeFromRouter()
{
    if (m_interaction.askYesNo(tr("Deseja excluir este usuário?"), MessageIcon::Question) != Answer::Yes)
        return;
    const QList<RouterConfig> routers = m_session.state().routers;
    for (int index : selectedRows()) {
        const HistoryRow row = m_model->row(index);
        if (isRemovedRow(row))
            continue;
        const QString name = shownUserName(row);
        // A row that names its router is removed there and nowhere else; only
        // rows that name none (older histories) go to the first router.
        const RouterConfig *router = nullptr;
        if (row.Router.isEmpty()) {
            if (!routers.isEmpty())
                router = &routers.first();
        } else {
            for (const RouterConfig &candidate : routers) {
                if (candidate.Name == row.Router) {
                    router = &candidate;
                    break;
                }
            }
        }
        if (!router) {
            m_interaction.showMessage(
                row.Router.isEmpty()
                    ? tr("O usuário %1 não foi excluído: não há roteador configurado.").arg(name)
                    : tr("O usuário %1 não foi excluído: o roteador \"%2\" não está mais configurado.")
                          .arg(name, row.Router),
                MessageIcon::Warning);
            continue;
        }
        if (!m_session.removeRouterUser(*router, name, isHotSpotRow(row)))
            continue;
        m_model->markRemoved(index);
        if (!m_session.markVoucherRemoved(name, row.Serial))
            m_interaction.showMessage(
                tr("O usuário %1 foi excluído do roteador, mas o histórico não pôde ser atualizado.")
                    .arg(name),
                MessageIcon::Warning);
    }
    showTotals();
}

void CHistoryDialog::printReport()
{
    if (m_model->rowCount() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<QString> chosen = m_printers.choosePrinter(printer);
    if (!chosen)
        return;
    // Given a name it does not know, the printer quietly stays on another one.
    printer.setPrinterName(*chosen);
    if (!lookupPrinter(*chosen) || printer.printerName() != *chosen || !printer.isValid()) {
        m_interaction.showMessage(
            tr("Não foi possível imprimir o relatório: a impressora \"%1\" não foi encontrada.").arg(*chosen),
            MessageIcon::Error);
        return;
    }
    printer.setDocName(u"wifiTicketer"_s);

    HistoryReport report;
    report.head = m_info->text();
    report.stamp = formatLocalTime(m_session.state().clock->now(), "%x %H:%M");
    const QStringList captions = historyColumnCaptions();
    for (int column = 0; column < ReportColumns; ++column) {
        report.captions.append(captions[column]);
        report.widths.append(m_view->columnWidth(column));
    }
    for (int row = 0; row < m_model->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < ReportColumns; ++column)
            texts.append(m_model->text(row, column));
        if (isRemovedRow(m_model->row(row)))
            texts[0] += u" (-)"_s;
        report.rows.append(texts);
    }

    WaitCursor wait(m_interaction);
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_interaction.showMessage(
            tr("Não foi possível imprimir o relatório: a impressora \"%1\" não está respondendo.")
                .arg(*chosen),
            MessageIcon::Error);
        return;
    }
    const QRect printable(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    drawHistoryReport(painter, printable, printer.resolution(), report,
                      [&printer] { return printer.newPage(); });
    painter.end();
}

void CHistoryDialog::exportCsv()
{
    if (m_model->rowCount() == 0)
        return;
    const QString path = m_files.chooseSaveFile(this, tr("Exportar CSV"), tr("CSV (*.csv)"), u"csv"_s);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray bytes = historyCsv(m_model->rows(), m_session.state().separators);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_interaction.showMessage(tr("Não foi possível gravar o arquivo %1.\n%2")
                                      .arg(QDir::toNativeSeparators(path), file.errorString()),
                                  MessageIcon::Error);
    }
}
