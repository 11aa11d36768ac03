#pragma once

#include <QDialog>
#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// A text's font as a design keeps it.
struct FontChoice
{
    QString face;
    qint32 halfPoints = 0; // 20 is 10 pt
    bool bold = false;
    bool italic = false;
};

// "Seleção de fonte": the faces the voucher's printer can use, their sizes,
// bold and italic.
class CFontSelectDialog : public QDialog
{
    Q_OBJECT

public:
    // Face names longer than this cannot be kept with a design's text.
    static constexpr int FaceLength = 31;
    // The largest size offered, in half points (1638 pt, as word processors allow).
    static constexpr qint32 MaxHalfPoints = 3276;

    // `printerName` may be empty (the print dialog chooses the printer).
    CFontSelectDialog(const QString &printerName, const FontChoice &font, QWidget *parent = nullptr);

    // What the operator chose (valid after OK).
    FontChoice font() const;

    void accept() override;

private:
    void fillFaces();
    void nameTyped(const QString &text);
    void faceSelectionChanged();
    void sizeSelectionChanged();
    // Selects the size entry that reads exactly as the size box.
    void matchSizeBox();
    void updateOk();
    // The size box in half points; nothing when it holds no usable size.
    std::optional<qint32> typedHalfPoints() const;

    // Kept for printers that hold faces of their own; the system's do not.
    QString m_printerName;
    FontChoice m_initial;
    QLineEdit *m_name = nullptr;
    QListWidget *m_faces = nullptr;
    QLineEdit *m_size = nullptr;
    QListWidget *m_sizes = nullptr;
    QCheckBox *m_bold = nullptr;
    QCheckBox *m_italic = nullptr;
    QPushButton *m_ok = nullptr;
    // Set while a box's typing moves a list, so the list does not rewrite the box.
    bool m_typingName = false;
    bool m_typingSize = false;
};

// Lets the operator choose; true when confirmed (`font` then holds the choice),
// false when cancelled (unchanged).
bool selectFont(const QString &printerName, QWidget *owner, FontChoice &font);
