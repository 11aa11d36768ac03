#include "ceditbox.h"

#include "okcancelbuttons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int MinimumWidth = 370; // 246 dialog units of the system's dialog font

} // namespace

CEditBox::CEditBox(const QString &prompt, const QString &value, QWidget *parent)
    : QDialog(parent), m_prompt(new QLabel(prompt, this)), m_edit(new QLineEdit(value, this))
{
    setWindowTitle(u"wifiTicketer"_s);
    m_prompt->setBuddy(m_edit);

    QDialogButtonBox *buttons = addOkCancelButtons(this).box;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
    setMinimumWidth(MinimumWidth);
    m_edit->setFocus();
}

QString CEditBox::value() const
{
    return m_edit->text();
}

void CEditBox::setMaxLength(int length)
{
    m_edit->setMaxLength(length > 0 ? length : 32767);
}

void CEditBox::showEvent(QShowEvent *event)
{
    m_edit->selectAll();
    QDialog::showEvent(event);
}

bool CEditBox::editText(QWidget *parent, const QString &prompt, QString &value, int maxLength)
{
    CEditBox box(prompt, value, parent);
    box.setMaxLength(maxLength);
    if (box.exec() != QDialog::Accepted)
        return false;
    value = box.value();
    return true;
}
