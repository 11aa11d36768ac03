#pragma once

#include <QDialog>

class QIcon;

// The about box of the login window.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    CAboutDlg(const QIcon &appIcon, QWidget *parent = nullptr);
};
