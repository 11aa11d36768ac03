#include "nextmodal.h"
#include "testmain.h"

#include "ui/framework/messageboxinteraction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MessageIcon)
Q_DECLARE_METATYPE(Answer)

namespace {

// What the operator saw in a message box.
struct SeenBox
{
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget *parent = nullptr;
    QString checkBox;
    std::optional<Qt::CursorShape> cursor; // the override cursor while it was open
};

// Answers the next message box by clicking the button with that text, or
// pressing Escape, after noting what it showed.
void answerNextBox(SeenBox &seen, const QString &press, bool tick = false)
{
    onNextModal([&seen, press, tick](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        seen.shown = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.parent = box->parentWidget();
        for (QAbstractButton *button : box->buttons())
            seen.buttons.append(button->text());
        if (box->checkBox()) {
            seen.checkBox = box->checkBox()->text();
            if (tick)
                QTest::mouseClick(box->checkBox(), Qt::LeftButton, {},
                                  QPoint(4, box->checkBox()->height() / 2));
        }
        if (QApplication::overrideCursor())
            seen.cursor = QApplication::overrideCursor()->shape();
        if (press == u"Escape") {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == press) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        QFAIL(qPrintable(u"no button \"%1\""_s.arg(press)));
    });
}

} // namespace

class MessageBoxInteractionTest : public QObject
{
    Q_OBJECT

private slots:
    void message_data();
    void message();
    void yesNo_data();
    void yesNo();
    void yesNoCancel_data();
    void yesNoCancel();
    void suppressibleNotice_data();
    void suppressibleNotice();
    void waitCursorNests();
    void boxDuringWaitShowsTheNormalCursor();

private:
    QWidget m_parent;
};

void MessageBoxInteractionTest::message_data()
{
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<QMessageBox::Icon>("boxIcon");
    QTest::addRow("error") << MessageIcon::Error << QMessageBox::Critical;
    QTest::addRow("warning") << MessageIcon::Warning << QMessageBox::Warning;
    QTest::addRow("information") << MessageIcon::Information << QMessageBox::Information;
    QTest::addRow("question") << MessageIcon::Question << QMessageBox::Question;
}

void MessageBoxInteractionTest::message()
{
    QFETCH(MessageIcon, icon);
    QFETCH(QMessageBox::Icon, boxIcon);
    MessageBoxInteraction interaction(&m_parent);
    SeenBox seen;
    answerNextBox(seen, u"OK"_s);
    interaction.showMessage(u"Impressora não encontrada."_s, icon);
    QVERIFY(seen.shown);
    QCOMPARE(seen.title, u"wifiTicketer"_s);
    QCOMPARE(seen.text, u"Impressora não encontrada."_s);
    QCOMPARE(seen.icon, boxIcon);
    QCOMPARE(seen.buttons, QStringList{u"OK"_s});
    QCOMPARE(seen.parent, &m_parent);
}

void MessageBoxInteractionTest::yesNo_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<Answer>("answer");
    QTest::addRow("Sim") << u"&Sim"_s << Answer::Yes;
    QTest::addRow("Não") << u"&Não"_s << Answer::No;
    QTest::addRow("Escape") << u"Escape"_s << Answer::No;
}

void MessageBoxInteractionTest::yesNo()
{
    QFETCH(QString, press);
    QFETCH(Answer, answer);
    MessageBoxInteraction interaction(&m_parent);
    SeenBox seen;
    answerNextBox(seen, press);
    QCOMPARE(interaction.askYesNo(u"Você quer apagar o usuário selecionado?"_s, MessageIcon::Warning),
             answer);
    QVERIFY(seen.shown);
    QCOMPARE(seen.title, u"wifiTicketer"_s);
    QCOMPARE(seen.text, u"Você quer apagar o usuário selecionado?"_s);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons.size(), 2);
    QVERIFY(seen.buttons.contains(u"&Sim"_s));
    QVERIFY(seen.buttons.contains(u"&Não"_s));
}

void MessageBoxInteractionTest::yesNoCancel_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<Answer>("answer");
    QTest::addRow("Sim") << u"&Sim"_s << Answer::Yes;
    QTest::addRow("Não") << u"&Não"_s << Answer::No;
    QTest::addRow("Cancelar") << u"Cancelar"_s << Answer::Cancel;
    QTest::addRow("Escape") << u"Escape"_s << Answer::Cancel;
}

void MessageBoxInteractionTest::yesNoCancel()
{
    QFETCH(QString, press);
    QFETCH(Answer, answer);
    MessageBoxInteraction interaction(&m_parent);
    SeenBox seen;
    answerNextBox(seen, press);
    QCOMPARE(interaction.askYesNoCancel(u"Salvar as alterações?"_s, MessageIcon::Question), answer);
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons.size(), 3);
    QVERIFY(seen.buttons.contains(u"Cancelar"_s));
}

void MessageBoxInteractionTest::suppressibleNotice_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("shownTitle");
    QTest::addRow("ticked") << u"Atenção"_s << true << u"Atenção"_s;
    QTest::addRow("not ticked") << u"Atenção"_s << false << u"Atenção"_s;
    QTest::addRow("no title") << QString() << true << u"wifiTicketer"_s;
}

void MessageBoxInteractionTest::suppressibleNotice()
{
    QFETCH(QString, title);
    QFETCH(bool, tick);
    QFETCH(QString, shownTitle);
    const QString text = u"Vouchers criados como usuários HotSpot são ativados quando criados.\n"
                         u"O tempo de validação desses vouchers inicia agora."_s;
    MessageBoxInteraction interaction(&m_parent);
    SeenBox seen;
    answerNextBox(seen, u"OK"_s, tick);
    QCOMPARE(interaction.showSuppressibleNotice(text, title, MessageIcon::Warning), tick);
    QCOMPARE(seen.title, shownTitle);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QStringList{u"OK"_s});
    QCOMPARE(seen.checkBox, u"Não mostrar esta mensagem novamente"_s);
}

void MessageBoxInteractionTest::waitCursorNests()
{
    MessageBoxInteraction interaction(&m_parent);
    QVERIFY(!QApplication::overrideCursor());
    interaction.beginWait();
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    interaction.beginWait();
    interaction.endWait();
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    interaction.endWait();
    QVERIFY(!QApplication::overrideCursor());
}

void MessageBoxInteractionTest::boxDuringWaitShowsTheNormalCursor()
{
    MessageBoxInteraction interaction(&m_parent);
    {
        WaitCursor wait(interaction);
        SeenBox seen;
        answerNextBox(seen, u"&Sim"_s);
        QCOMPARE(interaction.askYesNo(u"Substituir o usuário existente?"_s, MessageIcon::Question),
                 Answer::Yes);
        QCOMPARE(seen.cursor, std::optional(Qt::ArrowCursor));
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QVERIFY(!QApplication::overrideCursor());

    // Without a wait there is nothing to undo.
    SeenBox seen;
    answerNextBox(seen, u"OK"_s);
    interaction.showMessage(u"Pronto."_s, MessageIcon::Information);
    QVERIFY(seen.shown);
    QCOMPARE(seen.cursor, std::nullopt);
    QVERIFY(!QApplication::overrideCursor());
}

WIFITICKETER_TEST(MessageBoxInteractionTest)

#include "messageboxinteractiontest.moc"
