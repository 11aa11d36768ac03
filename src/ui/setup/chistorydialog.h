#pragma once

#include "setuppage.h"

#include "design/voucherdesign.h"
#include "history/historystore.h"

#include <QList>
#include <QPoint>

class CInfoWnd;
class FileChooser;
class HistoryListModel;
class OperatorInteraction;
class PrinterChooser;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class SessionFacade;
struct UiResources;

// The setup's "Histórico de Voucher" page: finds the vouchers of a date range,
// operator and router in the history, totals them, prints a report, reprints
// vouchers with any design, removes users from their router, and exports the
// list for spreadsheets. It changes nothing the setup saves.
class CHistoryDialog : public SetupPage
{
    Q_OBJECT

public:
    CHistoryDialog(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
                   PrinterChooser &printers, FileChooser &files, QWidget *parent = nullptr);
    ~CHistoryDialog() override;

    // The operators and routers of the filters, and the designs of reprints.
    void initialize(const SetupData &data) override;
    bool validate() override { return true; }
    void save(SetupData &) override {}
    bool isModified() const override { return false; }

    QTableView *resultsView() const { return m_view; }
    const HistoryListModel *resultsModel() const { return m_model; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search();
    void printReport();
    void exportCsv();
    // The menu of the selected rows at that place on the screen.
    void showContextMenu(const QPoint &globalPos);
    void reprint(const VoucherDesign &design);
    void removeFromRouter();
    // The selected rows, top to bottom.
    QList<int> selectedRows() const;
    void showTotals();
    void showPending();
    void updateButtons();

    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    UiResources &m_resources;
    PrinterChooser &m_printers;
    FileChooser &m_files;
    DesignList m_designs;

    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QComboBox *m_users = nullptr;
    QComboBox *m_routers = nullptr;
    QPushButton *m_searchButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_exportButton = nullptr;
    QTableView *m_view = nullptr;
    HistoryListModel *m_model = nullptr;
    CInfoWnd *m_info = nullptr;
    QLabel *m_pending = nullptr; // vouchers waiting for their router, when there are any
    HistoryFilter m_lastFilter;  // of the rows shown
};
