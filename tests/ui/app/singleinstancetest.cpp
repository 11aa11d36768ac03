#include "testfolder.h"
#include "testmain.h"

#include "ui/app/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartHandsOver();
    void staleSocketIsRemoved();
    void otherSettingsNeverMeet();
};

void SingleInstanceTest::secondStartHandsOver()
{
    TestFolder folder;
    SingleInstance first(folder.settingsFile());
    QVERIFY(first.start());
    QSignalSpy asked(&first, &SingleInstance::activationRequested);

    SingleInstance second(folder.settingsFile());
    QVERIFY(!second.start());
    QTRY_COMPARE(asked.size(), 1);
}

void SingleInstanceTest::staleSocketIsRemoved()
{
    // A copy that crashed leaves its socket file; nobody answers on it.
    TestFolder folder;
    const QString name = SingleInstance::serverName(folder.settingsFile());
    const QString path = QDir::temp().filePath(name);
    QFile stale(path);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();

    SingleInstance instance(folder.settingsFile());
    QVERIFY(instance.start());
    QSignalSpy asked(&instance, &SingleInstance::activationRequested);
    SingleInstance later(folder.settingsFile());
    QVERIFY(!later.start());
    QTRY_COMPARE(asked.size(), 1);
}

void SingleInstanceTest::otherSettingsNeverMeet()
{
    TestFolder one;
    TestFolder other;
    QVERIFY(SingleInstance::serverName(one.settingsFile()) !=
            SingleInstance::serverName(other.settingsFile()));
    SingleInstance a(one.settingsFile());
    SingleInstance b(other.settingsFile());
    QVERIFY(a.start());
    QVERIFY(b.start());
}

WIFITICKETER_TEST(SingleInstanceTest)
#include "singleinstancetest.moc"
