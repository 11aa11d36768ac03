#pragma once

class QDialog;
class QDialogButtonBox;
class QPushButton;

// The program's dialogs end with "&Ok" (the default button, so Enter
// confirms) and "&Cancelar" (also Escape), wired to the dialog's accept() and
// reject().
struct OkCancelButtons
{
    QDialogButtonBox *box;
    QPushButton *ok;
    QPushButton *cancel;
};

OkCancelButtons addOkCancelButtons(QDialog *dialog);
