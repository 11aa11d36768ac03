#pragma once

#include "base/formatprice.h"
#include "router/routerinfo.h"

#include <QDialog>
#include <optional>

class OperatorInteraction;
class QComboBox;
class QLineEdit;
struct HotSpotProfile;

// "Perfil do HotSpot": edits one hotspot voucher profile, offering the
// router's hotspot user profiles and servers by name.
class CHotSpotProfileDialog : public QDialog
{
    Q_OBJECT

public:
    // `profile` is changed only by OK; prices are shown with the locale's
    // decimal separator.
    CHotSpotProfileDialog(HotSpotProfile &profile, const HotSpotNames &names,
                          const NumberSeparators &separators, OperatorInteraction &interaction,
                          QWidget *parent = nullptr);

    void accept() override;

private:
    // The price box in hundredths; nothing when it holds no price.
    std::optional<qint32> typedPrice() const;
    // Tells the operator what is wrong and puts the focus on the box to mend.
    void refuse(const QString &message, QLineEdit *edit);

    HotSpotProfile &m_profile;
    NumberSeparators m_separators;
    OperatorInteraction &m_interaction;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_price = nullptr;
    QComboBox *m_server = nullptr;
    QComboBox *m_routerProfile = nullptr;
    QLineEdit *m_validity = nullptr;
    QLineEdit *m_limitUptime = nullptr;
    QLineEdit *m_limitBytesIn = nullptr;
    QLineEdit *m_limitBytesOut = nullptr;
    QLineEdit *m_limitBytesTotal = nullptr;
};
