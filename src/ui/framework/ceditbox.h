#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// A one-line input dialog: a prompt above an edit holding the value. The whole
// value is selected when the dialog opens, so typing replaces it.
class CEditBox : public QDialog
{
    Q_OBJECT

public:
    CEditBox(const QString &prompt, const QString &value, QWidget *parent = nullptr);

    QString value() const;
    // 0 for no limit.
    void setMaxLength(int length);

    // Runs the dialog; on OK `value` takes the typed text and true is returned,
    // on Cancel `value` stays as it was.
    static bool editText(QWidget *parent, const QString &prompt, QString &value, int maxLength = 0);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_prompt;
    QLineEdit *m_edit;
};
