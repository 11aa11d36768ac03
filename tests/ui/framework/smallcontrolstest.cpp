#include "accessiblesearch.h"
#include "nextmodal.h"
#include "testmain.h"

#include "ui/framework/ceditbox.h"
#include "ui/framework/ceditcombo.h"
#include "ui/framework/csymboledit.h"
#include "ui/framework/cuserdatabaselist.h"
#include "ui/framework/dropdownstrip.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QAbstractButton *buttonByText(QWidget *root, const QString &text)
{
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// The darkest grey level in a band of the widget's picture (255 when white).
int darkestIn(QWidget &widget, const QRect &band)
{
    const QImage image = widget.grab().toImage();
    int darkest = 255;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x)
            darkest = qMin(darkest, qGray(image.pixel(x, y)));
    }
    return darkest;
}

QColor pixelAt(QWidget &widget, QPoint point)
{
    return widget.grab().toImage().pixelColor(point);
}

} // namespace

// The edit with a grey cue text of the login window.
class CSymbolEditTest : public QObject
{
    Q_OBJECT

private slots:
    void cueShownOnlyWhileEmpty_data();
    void cueShownOnlyWhileEmpty();
    void cueFontIsItalicCalibri();
    void iconKeepsItsMarginAndShowsWhileEmpty();
};

void CSymbolEditTest::cueShownOnlyWhileEmpty_data()
{
    QTest::addColumn<QString>("cue");
    QTest::addColumn<QLineEdit::EchoMode>("echo");
    QTest::addRow("user name") << u"Usuário"_s << QLineEdit::Normal;
    QTest::addRow("password") << u"Senha"_s << QLineEdit::Password;
}

void CSymbolEditTest::cueShownOnlyWhileEmpty()
{
    QFETCH(QString, cue);
    QFETCH(QLineEdit::EchoMode, echo);
    QWidget window;
    auto *edit = new CSymbolEdit(&window);
    edit->setEchoMode(echo);
    edit->setCueText(cue);
    edit->setGeometry(10, 10, 220, 32);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    // A screen reader finds the field by its cue.
    QAccessibleInterface *field = findAccessible(&window, QAccessible::EditableText, cue);
    QVERIFY(field);
    QCOMPARE(field->object(), edit);

    // Right of where one typed character ends and inside the cue's first word.
    const QRect band(18, 8, 16, 16);
    const int cueGrey = darkestIn(*edit, band);
    QVERIFY2(cueGrey >= 110 && cueGrey <= 170, qPrintable(u"darkest cue pixel %1"_s.arg(cueGrey)));

    QTest::keyClicks(edit, u"a"_s);
    QCOMPARE(edit->text(), u"a"_s);
    QCOMPARE(darkestIn(*edit, band), 255);
    QCOMPARE(findAccessible(&window, QAccessible::EditableText, cue), field);

    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(darkestIn(*edit, band), cueGrey);
}

void CSymbolEditTest::cueFontIsItalicCalibri()
{
    CSymbolEdit edit;
    const QFontInfo info(edit.cueFont());
    // Carlito stands in for Calibri, with the same metrics.
    QCOMPARE(info.family(), u"Carlito"_s);
    QCOMPARE(info.pixelSize(), 16);
    QVERIFY(info.italic());
    QCOMPARE(info.weight(), int(QFont::Normal));
}

void CSymbolEditTest::iconKeepsItsMarginAndShowsWhileEmpty()
{
    QPixmap red(16, 16);
    red.fill(Qt::red);
    CSymbolEdit edit;
    edit.setCueText(u"Usuário"_s);
    edit.setIcon(red);
    QCOMPARE(edit.textMargins().right(), 22);
    QFont font = edit.font();
    font.setPixelSize(20);
    edit.setFont(font);
    QCOMPARE(edit.textMargins().right(), 22);

    edit.resize(220, 32);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    const auto redPixels = [&edit] {
        const QImage image = edit.grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = image.width() / 2; x < image.width(); ++x)
                count += image.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
        }
        return count;
    };
    QCOMPARE(redPixels(), 16 * 16);
    edit.setText(u"joao"_s);
    QCOMPARE(redPixels(), 0);
}

// The one-line input box.
class CEditBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
};

void CEditBoxTest::answers_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("finish"); // a button's text, or "Return" / "Escape"
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("value");

    QTest::addRow("typing replaces the selected value")
        << u"Novo"_s << 0 << u"Promo"_s << u"&Ok"_s << true << u"Promo"_s;
    QTest::addRow("Enter confirms") << u"Novo"_s << 0 << u"Promo"_s << u"Return"_s << true << u"Promo"_s;
    QTest::addRow("cancel keeps the caller's value")
        << u"Novo"_s << 0 << u"Promo"_s << u"&Cancelar"_s << false << u"Novo"_s;
    QTest::addRow("Escape keeps the caller's value")
        << u"Novo"_s << 0 << u"Promo"_s << u"Escape"_s << false << u"Novo"_s;
    QTest::addRow("empty start") << QString() << 0 << u"ana"_s << u"&Ok"_s << true << u"ana"_s;
    QTest::addRow("limited length") << QString() << 5 << u"abcdefgh"_s << u"&Ok"_s << true << u"abcde"_s;
}

void CEditBoxTest::answers()
{
    QFETCH(QString, initial);
    QFETCH(int, maxLength);
    QFETCH(QString, typed);
    QFETCH(QString, finish);
    QFETCH(bool, accepted);
    QFETCH(QString, value);

    QWidget parent;
    bool handled = false;
    onNextModal([&](QWidget *dialog) {
        auto *box = qobject_cast<CEditBox *>(dialog);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), u"wifiTicketer"_s);
        QCOMPARE(box->parentWidget(), &parent);
        // The edit is found by its prompt.
        QAccessibleInterface *field =
            findAccessible(box, QAccessible::EditableText, u"Digite o nome do voucher"_s);
        QVERIFY(field);
        auto *edit = qobject_cast<QLineEdit *>(field->object());
        QVERIFY(edit);
        QCOMPARE(edit->selectedText(), initial);
        QTest::keyClicks(edit, typed);
        if (finish == u"Return")
            QTest::keyClick(edit, Qt::Key_Return);
        else if (finish == u"Escape")
            QTest::keyClick(edit, Qt::Key_Escape);
        else
            QTest::mouseClick(buttonByText(box, finish), Qt::LeftButton);
        handled = true;
    });
    QString edited = initial;
    QCOMPARE(CEditBox::editText(&parent, u"Digite o nome do voucher"_s, edited, maxLength), accepted);
    QVERIFY(handled);
    QCOMPARE(edited, value);
}

// The user-name field with its suggestion list.
class CEditComboTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void suggestionsFollowEveryKeystroke();
    void filterResult_data();
    void filterResult();
    void typingGoesOnWhileTheListIsOpen();
    void exactMatchIsPaintedGreen();
    void stripOpensAndClosesTheList();
    void stripIsAnAccessibleButton();
    void stripShowsTheSymbolOfItsState_data();
    void stripShowsTheSymbolOfItsState();
    void clickingARowTakesItsName();
    void listRowsAreAccessible();
    void listShowsAtMostEightRows_data();
    void listShowsAtMostEightRows();
    void keyboardChoosesARow();
    void pointerMarksARow();
    void setTextClosesTheList();
    void listClosesWhenFocusOrWindowMoves();

private:
    QWidget *m_window = nullptr;
    CEditCombo *m_combo = nullptr;
    QLineEdit *m_other = nullptr;
};

// The username list of these tests, in its stored order.
const QStringList Names = {u"ana"_s, u"Anabela"_s, u"bruno"_s, u"ANTONIO"_s, u"Beatriz"_s};

void CEditComboTest::init()
{
    m_window = new QWidget;
    auto *layout = new QVBoxLayout(m_window);
    m_combo = new CEditCombo(m_window);
    m_other = new QLineEdit(m_window);
    layout->addWidget(m_combo);
    layout->addWidget(m_other);
    layout->addStretch();
    m_window->resize(300, 200);
    m_combo->setNames(Names);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_combo->setFocus();
}

void CEditComboTest::cleanup()
{
    // Leave the pointer where the next test's strip is not.
    QTest::mouseMove(m_window, QPoint(2, m_window->height() - 2));
    delete m_window;
}

void CEditComboTest::suggestionsFollowEveryKeystroke()
{
    struct Step
    {
        QString text;
        QStringList matches;
        bool exact;
        bool listVisible;
    };
    QList<Step> steps;
    connect(m_combo, &CEditCombo::textChanged, this, [&](const QString &text) {
        steps.append({text, m_combo->list()->matches(), m_combo->isExactMatch(), m_combo->isListVisible()});
    });
    QTest::keyClicks(m_combo->lineEdit(), u"anabela"_s);
    QTest::keyClick(m_combo->lineEdit(), Qt::Key_Backspace);

    const QList<Step> expected = {
        {u"a"_s, {u"ana"_s, u"Anabela"_s, u"ANTONIO"_s}, false, true},
        {u"an"_s, {u"ana"_s, u"Anabela"_s, u"ANTONIO"_s}, false, true},
        {u"ana"_s, {u"ana"_s, u"Anabela"_s}, true, true},
        {u"anab"_s, {u"Anabela"_s}, false, true},
        {u"anabe"_s, {u"Anabela"_s}, false, true},
        {u"anabel"_s, {u"Anabela"_s}, false, true},
        {u"anabela"_s, {u"Anabela"_s}, true, false},
        {u"anabel"_s, {u"Anabela"_s}, false, true},
    };
    QCOMPARE(steps.size(), expected.size());
    for (qsizetype i = 0; i < steps.size(); ++i) {
        QCOMPARE(steps[i].text, expected[i].text);
        QCOMPARE(steps[i].matches, expected[i].matches);
        QCOMPARE(steps[i].exact, expected[i].exact);
        QCOMPARE(steps[i].listVisible, expected[i].listVisible);
    }
}

void CEditComboTest::filterResult_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("matches");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<bool>("listVisible");

    QTest::addRow("upper case finds lower case")
        << u"AN"_s << QStringList{u"ana"_s, u"Anabela"_s, u"ANTONIO"_s} << false << true;
    QTest::addRow("exact but not alone") << u"ANA"_s << QStringList{u"ana"_s, u"Anabela"_s} << true << true;
    QTest::addRow("exact and alone") << u"antonio"_s << QStringList{u"ANTONIO"_s} << true << false;
    QTest::addRow("one prefix") << u"br"_s << QStringList{u"bruno"_s} << false << true;
    QTest::addRow("no name begins so") << u"x"_s << QStringList{} << false << false;
    QTest::addRow("only a beginning counts") << u"nab"_s << QStringList{} << false << false;
}

void CEditComboTest::filterResult()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, matches);
    QFETCH(bool, exact);
    QFETCH(bool, listVisible);

    QTest::keyClicks(m_combo->lineEdit(), typed);
    QCOMPARE(m_combo->text(), typed);
    QCOMPARE(m_combo->list()->matches(), matches);
    QCOMPARE(m_combo->isExactMatch(), exact);
    QCOMPARE(m_combo->isListVisible(), listVisible);
}

void CEditComboTest::typingGoesOnWhileTheListIsOpen()
{
    QTest::keyClicks(m_combo->lineEdit(), u"a"_s);
    QVERIFY(m_combo->isListVisible());
    // Once the window system has had its say, the list must still be open
    // and the keyboard still in the edit.
    QTest::qWait(100);
    QVERIFY(m_combo->isListVisible());
    QCOMPARE(QApplication::activeWindow(), m_window);
    QCOMPARE(QApplication::focusWidget(), m_combo->lineEdit());
    QTest::keyClicks(QApplication::focusWidget(), u"nab"_s);
    QCOMPARE(m_combo->text(), u"anab"_s);
    QVERIFY(m_combo->isListVisible());
}

void CEditComboTest::exactMatchIsPaintedGreen()
{
    const QColor green(209, 252, 211);
    const QRect edit = m_combo->lineEdit()->geometry();
    // In the edit right of the text, and in the control left of the edit.
    const QPoint inEdit(edit.right() - 3, edit.center().y());
    const QPoint beside(edit.left() - 1, edit.center().y());
    const QColor normal = m_combo->palette().color(QPalette::Base);
    QVERIFY(normal != green);
    QCOMPARE(pixelAt(*m_combo, inEdit), normal);

    QTest::keyClicks(m_combo->lineEdit(), u"BRUNO"_s);
    QVERIFY(m_combo->isExactMatch());
    QCOMPARE(pixelAt(*m_combo, inEdit), green);
    QCOMPARE(pixelAt(*m_combo, beside), green);

    QTest::keyClicks(m_combo->lineEdit(), u"x"_s);
    QVERIFY(!m_combo->isExactMatch());
    QCOMPARE(pixelAt(*m_combo, inEdit), normal);
    QCOMPARE(pixelAt(*m_combo, beside), normal);
}

void CEditComboTest::stripOpensAndClosesTheList()
{
    // Even a text that is exactly the only match opens the list from the strip.
    m_combo->setText(u"Beatriz"_s);
    QVERIFY(!m_combo->isListVisible());
    QTest::mouseClick(m_combo->strip(), Qt::LeftButton);
    QVERIFY(m_combo->isListVisible());
    QCOMPARE(m_combo->list()->matches(), QStringList{u"Beatriz"_s});
    QVERIFY(m_combo->strip()->isOpen());
    QVERIFY(m_combo->lineEdit()->hasFocus());

    QTest::mouseClick(m_combo->strip(), Qt::LeftButton);
    QVERIFY(!m_combo->isListVisible());
    QVERIFY(!m_combo->strip()->isOpen());

    // An empty text offers the whole list.
    m_combo->clearText();
    QTest::mouseClick(m_combo->strip(), Qt::LeftButton);
    QCOMPARE(m_combo->list()->matches(), Names);
}

void CEditComboTest::stripIsAnAccessibleButton()
{
    QVERIFY(pressAccessible(findAccessible(m_window, QAccessible::Button, u"Abrir lista"_s)));
    QTRY_VERIFY(m_combo->isListVisible());
    QVERIFY(!findAccessible(m_window, QAccessible::Button, u"Abrir lista"_s));
    QVERIFY(pressAccessible(findAccessible(m_window, QAccessible::Button, u"Fechar lista"_s)));
    QTRY_VERIFY(!m_combo->isListVisible());
}

void CEditComboTest::stripShowsTheSymbolOfItsState_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("hot");
    QTest::addColumn<int>("image");
    QTest::addRow("closed") << false << false << 10;
    QTest::addRow("closed, under the mouse") << false << true << 11;
    QTest::addRow("open") << true << false << 8;
    QTest::addRow("open, under the mouse") << true << true << 9;
}

void CEditComboTest::stripShowsTheSymbolOfItsState()
{
    QFETCH(bool, open);
    QFETCH(bool, hot);
    QFETCH(int, image);

    const QImage imageList(u":/ui/imagelist.png"_s);
    if (imageList.isNull())
        QSKIP("the image list is not among the resources");
    DropDownStrip *strip = m_combo->strip();
    if (open)
        QTest::mouseClick(strip, Qt::LeftButton);
    // Onto the strip, then away to a corner of the window the list does not cover.
    QTest::mouseMove(strip);
    if (!hot)
        QTest::mouseMove(m_window, QPoint(2, m_window->height() - 2));
    QTRY_COMPARE(strip->underMouse(), hot);
    QCOMPARE(m_combo->isListVisible(), open);

    // The 18-pixel symbol, centred in the strip over the field's background.
    QImage expected(18, 18, QImage::Format_ARGB32_Premultiplied);
    expected.fill(m_combo->palette().color(QPalette::Base));
    QPainter painter(&expected);
    painter.drawImage(0, 0, imageList.copy(image * 18, 0, 18, 18));
    painter.end();
    const QRect symbol(strip->geometry().topLeft() +
                           QPoint((strip->width() - 18) / 2, (strip->height() - 18) / 2),
                       QSize(18, 18));
    const QImage shown = m_combo->grab(symbol).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(shown, expected);
}

void CEditComboTest::clickingARowTakesItsName()
{
    QSignalSpy chosen(m_combo, &CEditCombo::nameChosen);
    QTest::keyClicks(m_combo->lineEdit(), u"AN"_s);
    QVERIFY(m_combo->isListVisible());
    CUserDatabaseList *list = m_combo->list();
    const QModelIndex anabela = list->model()->index(1, 0);
    QCOMPARE(anabela.data().toString(), u"Anabela"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(anabela).center());

    QCOMPARE(m_combo->text(), u"Anabela"_s);
    QVERIFY(m_combo->isExactMatch());
    QVERIFY(!m_combo->isListVisible());
    QCOMPARE(m_combo->lineEdit()->cursorPosition(), 7);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toString(), u"Anabela"_s);
}

void CEditComboTest::listRowsAreAccessible()
{
    QTest::keyClicks(m_combo->lineEdit(), u"b"_s);
    QVERIFY(m_combo->isListVisible());
    QVERIFY(findAccessible(m_combo->list(), QAccessible::ListItem, u"bruno"_s));
    QVERIFY(findAccessible(m_combo->list(), QAccessible::ListItem, u"Beatriz"_s));
    QVERIFY(!findAccessible(m_combo->list(), QAccessible::ListItem, u"ana"_s));
}

void CEditComboTest::listShowsAtMostEightRows_data()
{
    QTest::addColumn<int>("names");
    QTest::addColumn<int>("viewHeight");
    QTest::addColumn<int>("scrollMaximum");
    QTest::addColumn<int>("afterPageStep");
    QTest::addColumn<int>("afterLineStep");

    QTest::addRow("3 names") << 3 << 72 << 0 << 0 << 0;
    QTest::addRow("8 names") << 8 << 192 << 0 << 0 << 0;
    QTest::addRow("9 names") << 9 << 192 << 1 << 1 << 1;
    QTest::addRow("20 names") << 20 << 192 << 12 << 4 << 5;
}

void CEditComboTest::listShowsAtMostEightRows()
{
    QFETCH(int, names);
    QFETCH(int, viewHeight);
    QFETCH(int, scrollMaximum);
    QFETCH(int, afterPageStep);
    QFETCH(int, afterLineStep);

    QStringList many;
    for (int i = 1; i <= names; ++i)
        many.append(u"user%1"_s.arg(i, 2, 10, QChar(u'0')));
    m_combo->setNames(many);
    QTest::keyClicks(m_combo->lineEdit(), u"u"_s);
    CUserDatabaseList *list = m_combo->list();
    QVERIFY(list->isVisible());

    // Right under the control and as wide as it.
    QCOMPARE(list->geometry().topLeft(), m_combo->mapToGlobal(QPoint(0, m_combo->height())));
    QCOMPARE(list->width(), m_combo->width());
    QCOMPARE(list->visualRect(list->model()->index(0, 0)).height(), 24);
    QCOMPARE(list->viewport()->height(), viewHeight);
    QScrollBar *scroll = list->verticalScrollBar();
    QCOMPARE(scroll->maximum(), scrollMaximum);
    scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(scroll->value(), afterPageStep);
    scroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(scroll->value(), afterLineStep);
}

void CEditComboTest::keyboardChoosesARow()
{
    QLineEdit *edit = m_combo->lineEdit();
    QTest::keyClick(edit, Qt::Key_F4);
    QVERIFY(m_combo->isListVisible());
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(m_combo->text(), u"bruno"_s);
    QVERIFY(m_combo->isExactMatch());
    QVERIFY(!m_combo->isListVisible());

    // Escape closes an open list and leaves the text.
    QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(m_combo->isListVisible());
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!m_combo->isListVisible());
    QCOMPARE(m_combo->text(), u"bruno"_s);
}

void CEditComboTest::pointerMarksARow()
{
    QTest::keyClicks(m_combo->lineEdit(), u"an"_s);
    CUserDatabaseList *list = m_combo->list();
    QVERIFY(list->isVisible());
    QCOMPARE(list->markedName(), QString());
    // Straight to the list: the offscreen platform gives the pointer to the
    // first window under it, which is not always the topmost.
    const auto moveTo = [list](int row) {
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
    };
    moveTo(2);
    QCOMPARE(list->markedName(), u"ANTONIO"_s);
    moveTo(1);
    QCOMPARE(list->markedName(), u"Anabela"_s);
    // Enter takes the row the pointer marked.
    QTest::keyClick(m_combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_combo->text(), u"Anabela"_s);
    QVERIFY(!list->isVisible());
}

void CEditComboTest::setTextClosesTheList()
{
    QTest::keyClicks(m_combo->lineEdit(), u"a"_s);
    QVERIFY(m_combo->isListVisible());
    m_combo->setText(u"ANABELA"_s);
    QVERIFY(!m_combo->isListVisible());
    QVERIFY(m_combo->isExactMatch());
    m_combo->clearText();
    QVERIFY(!m_combo->isListVisible());
    QVERIFY(!m_combo->isExactMatch());
    QCOMPARE(m_combo->text(), QString());
}

void CEditComboTest::listClosesWhenFocusOrWindowMoves()
{
    QTest::keyClicks(m_combo->lineEdit(), u"a"_s);
    QVERIFY(m_combo->isListVisible());
    m_other->setFocus();
    QTRY_VERIFY(!m_combo->isListVisible());

    m_combo->setFocus();
    QTest::keyClicks(m_combo->lineEdit(), u"n"_s);
    QVERIFY(m_combo->isListVisible());
    m_window->move(m_window->pos() + QPoint(40, 30));
    QTRY_VERIFY(!m_combo->isListVisible());
}

WIFITICKETER_TEST(CSymbolEditTest)
WIFITICKETER_TEST(CEditBoxTest)
WIFITICKETER_TEST(CEditComboTest)

#include "smallcontrolstest.moc"
