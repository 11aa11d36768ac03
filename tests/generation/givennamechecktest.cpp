#include "testmain.h"

#include "generation/givennamecheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString ControlCharacters = u"O nome de usuário não pode conter caracteres de controle."_s;
const QString Empty = u"O nome de usuário não pode ficar em branco."_s;

// "ana", the character, "gil" (a character beyond the basic plane as its
// surrogate pair).
QString withCharacter(char32_t codePoint)
{
    const QString character =
        QChar::requiresSurrogates(codePoint)
            ? QString(QChar(QChar::highSurrogate(codePoint))) + QChar(QChar::lowSurrogate(codePoint))
            : QString(QChar(char16_t(codePoint)));
    return u"ana"_s + character + u"gil"_s;
}

} // namespace

class GivenNameCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void check_data();
    void check();
};

void GivenNameCheckTest::check_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("problem"); // empty: the name is fine

    QTest::addRow("plain") << u"joao"_s << 50 << QString();
    QTest::addRow("accents and a space") << u"João Gil"_s << 50 << QString();
    QTest::addRow("signs a spreadsheet reads") << u"=1+1"_s << 50 << QString();
    QTest::addRow("outside the basic plane") << u"ana😀"_s << 50 << QString();
    QTest::addRow("exactly the column") << QString(50, u'x') << 50 << QString();
    QTest::addRow("one over the column")
        << QString(51, u'x') << 50 << u"O nome de usuário pode ter no máximo 50 caracteres."_s;
    QTest::addRow("other limit") << u"abcdefghijk"_s << 10
                                 << u"O nome de usuário pode ter no máximo 10 caracteres."_s;
    // A character outside the basic plane takes two units of the column.
    QTest::addRow("pair over the column")
        << QString(49, u'x') + u"😀"_s << 50 << u"O nome de usuário pode ter no máximo 50 caracteres."_s;
    QTest::addRow("empty") << QString() << 50 << Empty;

    QTest::addRow("line feed") << u"a\nb"_s << 50 << ControlCharacters;
    QTest::addRow("carriage return") << u"a\rb"_s << 50 << ControlCharacters;
    QTest::addRow("tab") << u"\tana"_s << 50 << ControlCharacters;
    QTest::addRow("nul") << withCharacter(0x0000) << 50 << ControlCharacters;
    QTest::addRow("escape") << withCharacter(0x001B) << 50 << ControlCharacters;
    QTest::addRow("unit separator") << withCharacter(0x001F) << 50 << ControlCharacters;
    QTest::addRow("delete") << withCharacter(0x007F) << 50 << ControlCharacters;
    QTest::addRow("next line") << withCharacter(0x0085) << 50 << ControlCharacters;
    QTest::addRow("control sequence introducer") << withCharacter(0x009B) << 50 << ControlCharacters;
    QTest::addRow("soft hyphen") << withCharacter(0x00AD) << 50 << ControlCharacters;
    QTest::addRow("zero width space") << withCharacter(0x200B) << 50 << ControlCharacters;
    QTest::addRow("right-to-left override") << withCharacter(0x202E) << 50 << ControlCharacters;
    QTest::addRow("line separator") << withCharacter(0x2028) << 50 << ControlCharacters;
    QTest::addRow("paragraph separator") << withCharacter(0x2029) << 50 << ControlCharacters;
    QTest::addRow("byte order mark") << withCharacter(0xFEFF) << 50 << ControlCharacters;
    QTest::addRow("tag outside the basic plane") << withCharacter(0xE0041) << 50 << ControlCharacters;
    QTest::addRow("lone high surrogate") << u"ana"_s + QChar(0xD83D) << 50 << ControlCharacters;
    QTest::addRow("lone low surrogate") << QChar(0xDE00) + u"ana"_s << 50 << ControlCharacters;
    QTest::addRow("surrogates the wrong way round")
        << u"a"_s + QChar(0xDE00) + QChar(0xD83D) << 50 << ControlCharacters;
    // Both wrong: the control character is the one told.
    QTest::addRow("control and too long") << QString(60, u'x') + u"\n"_s << 50 << ControlCharacters;
}

void GivenNameCheckTest::check()
{
    QFETCH(QString, name);
    QFETCH(int, maxLength);
    QFETCH(QString, problem);

    const std::optional<QString> found = givenNameProblem(name, maxLength);
    QCOMPARE(found.value_or(QString()), problem);
    QCOMPARE(found.has_value(), !problem.isEmpty());
}

WIFITICKETER_TEST(GivenNameCheckTest)
#include "givennamechecktest.moc"
