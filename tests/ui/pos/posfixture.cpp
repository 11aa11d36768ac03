#include "posfixture.h"

#include <QAccessible>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QPoint centre(const SkinItem &item)
{
    return QPoint((item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

} // namespace

PosFixture::PosFixture() : touchScreen(QTest::createTouchDevice())
{
    h.state.settings.UseCurrency = u"R$ %c"_s;
    h.state.separators = NumberSeparators{};
}

bool PosFixture::open(const std::function<void(AppSettings &)> &adjust)
{
    if (!h.start())
        return false;
    if (adjust)
        adjust(h.state.settings);
    window = std::make_unique<CPosModeWindow>(session, h.interaction, h.prompt, chooser, resources);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
}

SkinItem &PosFixture::profileButton(int index) const
{
    return *window->profileButtons().at(size_t(index));
}

void PosFixture::touch(CDesignWnd &target, const SkinItem &item) const
{
    QTest::touchEvent(&target, touchScreen).press(0, centre(item));
    QTest::touchEvent(&target, touchScreen).release(0, centre(item));
}

void PosFixture::click(CDesignWnd &target, const SkinItem &item) const
{
    QTest::mouseClick(&target, Qt::LeftButton, {}, centre(item));
}

SkinItem &PosFixture::key(const QString &caption) const
{
    CKeyPad *keypad = window->keypad();
    Q_ASSERT(keypad);
    for (const std::unique_ptr<SkinItem> &item : keypad->items()) {
        if (item->id == CKeyPad::KeyItem && item->spokenName() == caption)
            return *item;
    }
    qFatal("no key %s", qPrintable(caption));
}

void PosFixture::clickKey(const QString &caption) const
{
    CKeyPad *keypad = window->keypad();
    click(*keypad, key(caption));
    // The key's command is queued.
    QCoreApplication::processEvents();
}

QString PosFixture::display() const
{
    return window->keypad() ? window->keypad()->displayText() : QString();
}

bool PosFixture::waitForSales(int sales)
{
    return QTest::qWaitFor([&] { return finished.size() >= sales && !window->isSelling(); }, 20000);
}

namespace {

// The texts a screen reader reads in the window, with their places in it.
QList<QPair<QString, QRect>> windowTexts(QWidget *window)
{
    QList<QPair<QString, QRect>> texts;
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window);
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        if (child->role() == QAccessible::StaticText)
            texts.append({child->text(QAccessible::Name),
                          child->rect().translated(-window->mapToGlobal(QPoint(0, 0)))});
    }
    return texts;
}

} // namespace

QStringList PosFixture::historyRows() const
{
    // The sales list's rows are the texts along its left edge.
    QStringList rows;
    for (const auto &[name, place] : windowTexts(window.get())) {
        if (place.left() == 18 && place.top() >= 170)
            rows << name;
    }
    return rows;
}

QString PosFixture::total() const
{
    for (const auto &[name, place] : windowTexts(window.get())) {
        if (place.left() == 145)
            return name;
    }
    return {};
}
