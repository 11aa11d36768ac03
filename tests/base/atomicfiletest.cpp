#include "filebytes.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/atomicfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The process's umask while the object lives.
class Umask
{
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }
    Umask(const Umask &) = delete;
    Umask &operator=(const Umask &) = delete;

private:
    mode_t m_old;
};

const QString LinkRefusal =
    u"O arquivo %1 é um link simbólico e não foi alterado: o programa não grava através de "
    "links. Coloque o próprio arquivo no lugar do link."_s;

} // namespace

class AtomicFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modes_data();
    void modes();
    void symbolicLinkRefused_data();
    void symbolicLinkRefused();
    void onlyPlainFilesReplaced();
};

// Owner-only files end up 0600 whatever the umask and whatever mode the file
// they replace had; others keep the old file's mode, or get the umask's.
void AtomicFileTest::modes_data()
{
    QTest::addColumn<bool>("ownerOnly");
    QTest::addColumn<int>("oldMode"); // -1: no file before
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");

    QTest::addRow("owner-only, new") << true << -1 << 022 << 0600;
    QTest::addRow("owner-only, new, umask without owner write") << true << -1 << 0277 << 0600;
    QTest::addRow("owner-only over 0644") << true << 0644 << 022 << 0600;
    QTest::addRow("owner-only over 0666") << true << 0666 << 0 << 0600;
    QTest::addRow("owner-only over 0400") << true << 0400 << 022 << 0600;
    QTest::addRow("default, new, umask 022") << false << -1 << 022 << 0644;
    QTest::addRow("default, new, umask 027") << false << -1 << 027 << 0640;
    QTest::addRow("default over 0640") << false << 0640 << 0 << 0640;
    QTest::addRow("default over 0604") << false << 0604 << 077 << 0604;
}

void AtomicFileTest::modes()
{
    QFETCH(bool, ownerOnly);
    QFETCH(int, oldMode);
    QFETCH(int, mask);
    QFETCH(int, mode);

    TestFolder folder;
    const QString path = folder.path() + u"/list.bin"_s;
    if (oldMode >= 0) {
        QVERIFY(writeFile(path, "old bytes, longer than the new ones"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(oldMode)) == 0);
    }
    {
        const Umask restricted{mode_t(mask)};
        QVERIFY(writeFileAtomically(path, "new", ownerOnly ? FileAccess::OwnerOnly : FileAccess::Default));
    }
    QCOMPARE(readFile(path), "new"_ba);
    QCOMPARE(permissionBits(path), mode);
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{u"list.bin"_s});
}

// A link where the file should be is neither written through nor replaced,
// and the operator's message names it.
void AtomicFileTest::symbolicLinkRefused_data()
{
    QTest::addColumn<bool>("ownerOnly");
    QTest::addColumn<bool>("targetExists");

    QTest::addRow("owner-only, link to a file elsewhere") << true << true;
    QTest::addRow("default, link to a file elsewhere") << false << true;
    QTest::addRow("owner-only, link to nothing") << true << false;
    QTest::addRow("default, link to nothing") << false << false;
}

void AtomicFileTest::symbolicLinkRefused()
{
    QFETCH(bool, ownerOnly);
    QFETCH(bool, targetExists);

    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.path() + u"/elsewhere"_s));
    QVERIFY(QDir().mkpath(folder.dataFolder()));
    const QString target = folder.path() + u"/elsewhere/target.bin"_s;
    const QString link = folder.dataFolder() + u"/Routers.bin"_s;
    if (targetExists) {
        QVERIFY(writeFile(target, "the target's bytes"));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0644) == 0);
    }
    QVERIFY(QFile::link(target, link));

    QVERIFY(!writeFileAtomically(link, "new", ownerOnly ? FileAccess::OwnerOnly : FileAccess::Default));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    if (targetExists) {
        QCOMPARE(readFile(target), "the target's bytes"_ba);
        QCOMPARE(permissionBits(target), 0644);
    } else {
        QVERIFY(!QFileInfo::exists(target));
    }
    QCOMPARE(QDir(folder.dataFolder())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{u"Routers.bin"_s});
    QCOMPARE(QDir(folder.path() + u"/elsewhere"_s).entryList(QDir::Files | QDir::Hidden),
             targetExists ? QStringList{u"target.bin"_s} : QStringList());

    QCOMPARE(writeFailureText(u"Falhou."_s, link), u"Falhou.\n"_s + LinkRefusal.arg(link));
}

void AtomicFileTest::onlyPlainFilesReplaced()
{
    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.path() + u"/folder/inside"_s));
    const QString fifo = folder.path() + u"/fifo"_s;
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);

    // Neither blocks nor is replaced.
    QVERIFY(!writeFileAtomically(fifo, "x", FileAccess::OwnerOnly));
    QVERIFY(!writeFileAtomically(folder.path() + u"/folder"_s, "x"));
    QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo::exists(fifo));
    QVERIFY(QFileInfo::exists(folder.path() + u"/folder/inside"_s));
    // A folder that is missing: nothing can be written into it.
    QVERIFY(!writeFileAtomically(folder.path() + u"/missing/file"_s, "x"));
    // A failure that is no link is told with the caller's text alone.
    QCOMPARE(writeFailureText(u"Falhou."_s, fifo), u"Falhou."_s);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{u"fifo"_s});
}

WIFITICKETER_TEST(AtomicFileTest)
#include "atomicfiletest.moc"
