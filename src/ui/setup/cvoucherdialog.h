#pragma once

#include "setuppage.h"

#include "cfontselectdialog.h"
#include "design/voucherdesign.h"
#include "generation/voucherrecord.h"

#include <functional>
#include <optional>

class DesignPropertyGrid;
class FileChooser;
class OperatorInteraction;
class PrinterChooser;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPersistentModelIndex;
class QPushButton;
class SessionFacade;
class VoucherPreview;
struct UiResources;

// The setup's "Configuração de Voucher" page: the designs, their sheet, copies
// and printer, their graphics and texts in two property grids, a live preview
// drawn like the print, new/rename/copy/delete, import and export, and a test
// print.
class CVoucherDialog : public SetupPage
{
    Q_OBJECT

public:
    // The font dialog: true when the operator confirmed `font`.
    using FontChooser = std::function<bool(const QString &printerName, QWidget *owner, FontChoice &font)>;

    CVoucherDialog(SessionFacade &session, OperatorInteraction &interaction, UiResources &resources,
                   PrinterChooser &printers, FileChooser &files, QWidget *parent = nullptr);

    // Deep copies of the designs; save() hands the page's designs back.
    void initialize(const SetupData &data) override;
    // Every design the operator added or changed needs a width and a height.
    bool validate() override;
    void save(SetupData &data) override;
    bool isModified() const override;

    // For tests: the page's designs (the current one as last stored), the
    // current one, the grids and the preview, and the font dialog.
    const DesignList &designs() const { return m_designs; }
    VoucherDesign *currentDesign() const { return m_current; }
    DesignPropertyGrid *graphicsGrid() const { return m_graphicsGrid; }
    DesignPropertyGrid *textsGrid() const { return m_textsGrid; }
    VoucherPreview *preview() const { return m_preview; }
    // The voucher whose values the preview shows.
    const VoucherRecord &sampleVoucher() const { return m_sample; }
    void setFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }
    // The current design as the controls now show it.
    VoucherDesign shownDesign() const;

private:
    void fillPrinters();
    void fillDesignCombo(const VoucherDesign *select);
    void showDesign(VoucherDesign *design);
    void storeCurrentDesign();
    void switchDesign();
    std::optional<QString> askName(const QString &value, const VoucherDesign *renamed);
    void addDesign();
    void copyDesign();
    void renameDesign();
    void deleteDesign();
    void importDesign();
    void exportDesign();
    void testPrint();
    void addGraphic(quint16 kind);
    void addText();
    void browse(const QPersistentModelIndex &index);
    QString selectedPrinter() const;
    void updatePreview();
    void updateSelection();
    void markModified();
    bool hasSize(const VoucherDesign &design) const;

    SessionFacade &m_session;
    OperatorInteraction &m_interaction;
    PrinterChooser &m_printers;
    FileChooser &m_files;
    FontChooser m_chooseFont;
    QString m_decimal;

    DesignList m_designs;
    VoucherDesign *m_current = nullptr;
    // The designs as the page opened them, and their values then; a design
    // not among them is new.
    DesignList m_opened;
    QList<VoucherDesign> m_openedValues;
    // A design's printer that is not installed now: shown as the print
    // dialog's entry, kept unless the operator picks a printer.
    QString m_absentPrinter;
    bool m_modified = false;
    bool m_showing = false;
    VoucherRecord m_sample;

    QComboBox *m_designCombo;
    QComboBox *m_printerCombo;
    QLineEdit *m_copies;
    QCheckBox *m_fillPage;
    QLineEdit *m_width;
    QLineEdit *m_height;
    QLineEdit *m_margin;
    DesignPropertyGrid *m_graphicsGrid;
    DesignPropertyGrid *m_textsGrid;
    QPushButton *m_addGraphicButton;
    QPushButton *m_removeGraphicButton;
    QPushButton *m_removeTextButton;
    QPushButton *m_shareButton;
    QMenu *m_addGraphicMenu;
    QMenu *m_shareMenu;
    VoucherPreview *m_preview;
};
