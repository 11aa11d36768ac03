#include "filebytes.h"
#include "filesizelimit.h"
#include "testfolder.h"
#include "testmain.h"

#include "base/appendfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class AppendFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appendsOwnerOnly_data();
    void appendsOwnerOnly();
    void refusesWhatIsNoPlainFile_data();
    void refusesWhatIsNoPlainFile();
    void failedAppendLeavesNoPart();
};

void AppendFileTest::appendsOwnerOnly_data()
{
    QTest::addColumn<int>("oldMode"); // -1: no file before
    QTest::addColumn<QByteArray>("before");

    QTest::addRow("new file") << -1 << QByteArray();
    QTest::addRow("file of 0644") << 0644 << "line 1\n"_ba;
    QTest::addRow("file of 0600") << 0600 << "line 1\n"_ba;
    QTest::addRow("empty file of 0666") << 0666 << QByteArray();
}

// Lines go at the end, and the file is readable by its owner only, even
// under a umask that would let others read it.
void AppendFileTest::appendsOwnerOnly()
{
    QFETCH(int, oldMode);
    QFETCH(QByteArray, before);

    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.path()));
    const QString path = folder.path() + u"/journal.jsonl"_s;
    if (oldMode >= 0) {
        QVERIFY(writeFile(path, before));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(oldMode)) == 0);
    }
    const mode_t oldMask = ::umask(0);
    AppendFile file;
    const bool opened = file.open(path);
    ::umask(oldMask);
    QVERIFY(opened);
    QCOMPARE(permissionBits(path), 0600);
    QVERIFY(file.append("line 2\n"));
    QVERIFY(file.append(QByteArray()));
    QVERIFY(file.append("line 3\n"));
    QVERIFY(file.sync());
    QCOMPARE(readFile(path), before + "line 2\nline 3\n");

    // Opened again, it goes on at the end.
    file.close();
    QVERIFY(!file.isOpen());
    QVERIFY(!file.append("lost\n"));
    QVERIFY(file.open(path));
    QVERIFY(file.append("line 4\n"));
    QCOMPARE(readFile(path), before + "line 2\nline 3\nline 4\n");
}

void AppendFileTest::refusesWhatIsNoPlainFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("link to a file elsewhere") << u"link"_s;
    QTest::addRow("link to nothing") << u"dangling link"_s;
    QTest::addRow("FIFO") << u"fifo"_s;
    QTest::addRow("folder") << u"folder"_s;
}

void AppendFileTest::refusesWhatIsNoPlainFile()
{
    QFETCH(QString, kind);

    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.path() + u"/elsewhere"_s));
    const QString target = folder.path() + u"/elsewhere/journal.jsonl"_s;
    const QString path = folder.path() + u"/journal.jsonl"_s;
    if (kind == u"link") {
        QVERIFY(writeFile(target, "theirs\n"));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0644) == 0);
    }
    if (kind.endsWith(u"link"))
        QVERIFY(QFile::link(target, path));
    else if (kind == u"fifo")
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
        QVERIFY(QDir().mkpath(path));

    AppendFile file;
    // A FIFO without a reader would block an open for writing.
    QVERIFY(!file.open(path));
    QVERIFY(!file.isOpen());
    QVERIFY(!file.append("mine\n"));
    if (kind == u"link") {
        QCOMPARE(readFile(target), "theirs\n"_ba);
        QCOMPARE(permissionBits(target), 0644);
    } else {
        QVERIFY(!QFileInfo::exists(target));
    }
}

// A full disk: the line that does not fit is not left half written.
void AppendFileTest::failedAppendLeavesNoPart()
{
    TestFolder folder;
    QVERIFY(QDir().mkpath(folder.path()));
    const QString path = folder.path() + u"/journal.jsonl"_s;
    AppendFile file;
    QVERIFY(file.open(path));
    QVERIFY(file.append("0123456789\n"));
    {
        const FileSizeLimit limit(16);
        QVERIFY(limit.isSet());
        QVERIFY(!file.append("abcdefghij\n"));
        QCOMPARE(readFile(path), "0123456789\n"_ba);
        QVERIFY(file.append("abcd\n"));
    }
    QCOMPARE(readFile(path), "0123456789\nabcd\n"_ba);
}

WIFITICKETER_TEST(AppendFileTest)
#include "appendfiletest.moc"
