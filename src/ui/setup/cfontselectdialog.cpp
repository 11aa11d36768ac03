#include "cfontselectdialog.h"

#include "setuplook.h"

#include "ui/framework/okcancelbuttons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The sizes offered for faces that scale to any size, in points.
constexpr int ScalableSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Roughly the dialog's 311 × 180 dialog units.
constexpr int DialogWidth = 470;
constexpr int DialogHeight = 300;

// The first row of a list sorted ignoring case that is not less than `text`
// ignoring case; -1 when every row is.
int firstRowNotLess(const QListWidget *list, const QString &text)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().compare(text, Qt::CaseInsensitive) >= 0)
            return row;
    }
    return -1;
}

int selectedRow(const QListWidget *list)
{
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

// Sizes are shown as "%g" does (10.5, 10), with a point whatever the locale,
// and read with a point or a comma.
QString sizeText(qint32 halfPoints)
{
    return QString::asprintf("%g", halfPoints / 2.0);
}

} // namespace

CFontSelectDialog::CFontSelectDialog(const QString &printerName, const FontChoice &font, QWidget *parent)
    : QDialog(parent), m_printerName(printerName), m_initial(font), m_name(new QLineEdit(this)),
      m_faces(new QListWidget(this)), m_size(new QLineEdit(this)), m_sizes(new QListWidget(this)),
      m_bold(new QCheckBox(tr("Negrito"), this)), m_italic(new QCheckBox(tr("Itálico"), this))
{
    setWindowTitle(tr("Seleção de fonte"));

    m_name->setMaxLength(FaceLength);
    auto *nameLabel = new QLabel(tr("Nome da fonte"), this);
    nameLabel->setBuddy(m_name);
    auto *sizeLabel = new QLabel(tr("Tamanho"), this);
    sizeLabel->setBuddy(m_size);
    // The lists have no caption of their own: the one above them names them.
    m_faces->setAccessibleName(nameLabel->text());
    m_sizes->setAccessibleName(sizeLabel->text());
    for (QListWidget *list : {m_faces, m_sizes}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setUniformItemSizes(true);
    }

    auto *style = new QGroupBox(tr("Estilo"), this);
    auto *styleLayout = new QVBoxLayout(style);
    styleLayout->addWidget(m_bold);
    styleLayout->addWidget(m_italic);
    styleLayout->addStretch();

    const auto [buttons, ok, cancel] = addOkCancelButtons(this);
    m_ok = ok;
    buttons->setOrientation(Qt::Vertical);

    auto *layout = new QGridLayout(this);
    layout->addWidget(nameLabel, 0, 0);
    layout->addWidget(m_name, 1, 0);
    layout->addWidget(m_faces, 2, 0);
    layout->addWidget(sizeLabel, 0, 1);
    layout->addWidget(m_size, 1, 1);
    layout->addWidget(m_sizes, 2, 1);
    auto *side = new QVBoxLayout;
    side->addWidget(style);
    side->addWidget(buttons);
    layout->addLayout(side, 1, 2, 2, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);
    useSetupFieldBackground(this);
    resize(DialogWidth, DialogHeight);

    fillFaces();

    connect(m_name, &QLineEdit::textEdited, this, &CFontSelectDialog::nameTyped);
    connect(m_faces->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFontSelectDialog::faceSelectionChanged);
    connect(m_size, &QLineEdit::textEdited, this, &CFontSelectDialog::matchSizeBox);
    connect(m_sizes->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFontSelectDialog::sizeSelectionChanged);

    m_size->setText(sizeText(font.halfPoints));
    m_bold->setChecked(font.bold);
    m_italic->setChecked(font.italic);
    m_name->setText(font.face);
    // The stored face is looked up as if typed, which fills the sizes.
    nameTyped(m_name->text());
    updateOk();

    const QList<QWidget *> order = {m_name, m_faces, m_size, m_sizes, m_bold, m_italic, ok, cancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    m_name->setFocus();
}

void CFontSelectDialog::fillFaces()
{
    // The printers of this system (CUPS queues) hold no fonts of their own: a
    // document prints with the fonts installed here, so every printer offers
    // the same faces and m_printerName does not narrow the list. Fonts the
    // operator switched off are already left out by fontconfig.
    QStringList faces;
    for (const QString &family : QFontDatabase::families()) {
        // Vertical variants, fonts kept for the system's own use, and names a
        // design could not keep whole.
        if (family.startsWith(u'@') || QFontDatabase::isPrivateFamily(family) || family.size() > FaceLength)
            continue;
        faces.append(family);
    }
    std::sort(faces.begin(), faces.end(), [](const QString &a, const QString &b) {
        const int caseless = a.compare(b, Qt::CaseInsensitive);
        return caseless != 0 ? caseless < 0 : a < b;
    });
    // Names that differ only in case are the same face to the font matcher.
    faces.erase(std::unique(faces.begin(), faces.end(),
                            [](const QString &a, const QString &b) {
                                return a.compare(b, Qt::CaseInsensitive) == 0;
                            }),
                faces.end());

    const QIcon scalableIcon = style()->standardIcon(QStyle::SP_FileDialogContentsView);
    const QIcon fixedIcon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const QString &face : faces) {
        const bool scalable = QFontDatabase::isSmoothlyScalable(face);
        auto *item = new QListWidgetItem(scalable ? scalableIcon : fixedIcon, face, m_faces);
        item->setData(Qt::UserRole, scalable);
    }
}

void CFontSelectDialog::nameTyped(const QString &text)
{
    m_typingName = true;
    const int row = firstRowNotLess(m_faces, text);
    QItemSelectionModel *selection = m_faces->selectionModel();
    if (row < 0) {
        selection->clearSelection();
    } else {
        const QModelIndex index = m_faces->model()->index(row, 0);
        const bool equal = m_faces->item(row)->text().compare(text, Qt::CaseInsensitive) == 0;
        if (equal)
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        else {
            selection->clearSelection();
            selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
        m_faces->scrollToItem(m_faces->item(row));
    }
    m_typingName = false;
}

void CFontSelectDialog::faceSelectionChanged()
{
    const int row = selectedRow(m_faces);
    if (row >= 0 && !m_typingName)
        m_name->setText(m_faces->item(row)->text());

    m_sizes->clear();
    if (row >= 0) {
        const QListWidgetItem *face = m_faces->item(row);
        if (face->data(Qt::UserRole).toBool()) {
            for (int points : ScalableSizes)
                m_sizes->addItem(QString::number(points));
        } else {
            QList<int> sizes = QFontDatabase::pointSizes(face->text());
            std::sort(sizes.begin(), sizes.end());
            sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
            for (int points : sizes)
                m_sizes->addItem(QString::number(points));
        }
    }
    matchSizeBox();
}

void CFontSelectDialog::matchSizeBox()
{
    m_typingSize = true;
    const QList<QListWidgetItem *> equal = m_sizes->findItems(m_size->text(), Qt::MatchExactly);
    if (equal.isEmpty()) {
        m_sizes->selectionModel()->clearSelection();
    } else {
        m_sizes->setCurrentItem(equal.first(), QItemSelectionModel::ClearAndSelect);
        m_sizes->scrollToItem(equal.first());
    }
    m_typingSize = false;
    updateOk();
}

void CFontSelectDialog::sizeSelectionChanged()
{
    const int row = selectedRow(m_sizes);
    if (row >= 0 && !m_typingSize)
        m_size->setText(m_sizes->item(row)->text());
    updateOk();
}

std::optional<qint32> CFontSelectDialog::typedHalfPoints() const
{
    QString text = m_size->text().trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double points = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(points))
        return std::nullopt;
    // Only the whole half points count: 0.3 pt is no size at all.
    const double halfPoints = std::trunc(points * 2);
    if (halfPoints < 1 || halfPoints > MaxHalfPoints)
        return std::nullopt;
    return static_cast<qint32>(halfPoints);
}

void CFontSelectDialog::updateOk()
{
    m_ok->setEnabled(selectedRow(m_faces) >= 0 && typedHalfPoints().has_value());
}

FontChoice CFontSelectDialog::font() const
{
    FontChoice chosen;
    chosen.face = m_name->text().left(FaceLength);
    chosen.halfPoints = typedHalfPoints().value_or(m_initial.halfPoints);
    chosen.bold = m_bold->isChecked();
    chosen.italic = m_italic->isChecked();
    return chosen;
}

void CFontSelectDialog::accept()
{
    // Enter reaches here only through the enabled "Ok"; anything else is refused.
    if (!m_ok->isEnabled())
        return;
    QDialog::accept();
}

bool selectFont(const QString &printerName, QWidget *owner, FontChoice &font)
{
    CFontSelectDialog dialog(printerName, font, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    font = dialog.font();
    return true;
}
