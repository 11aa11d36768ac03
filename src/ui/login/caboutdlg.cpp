#include "caboutdlg.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(const QIcon &appIcon, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Sobre wifiTicketer"));
    auto *icon = new QLabel(this);
    icon->setPixmap(appIcon.pixmap(32, 32));
    auto *version = new QLabel(tr("wifiTicketer, versão 2.19"), this);
    auto *what = new QLabel(tr("Mikrotik hotspot gerador de voucher"), this);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto *ok = new QPushButton(tr("Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(what, 1, 1);
    layout->addWidget(line, 2, 0, 1, 2);
    layout->addWidget(ok, 3, 1, Qt::AlignRight);
}
