#include "testfolder.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

TestFolder::TestFolder() = default;

StoragePaths TestFolder::storagePaths() const
{
    return {settingsFile(), dataFolder()};
}

QString TestFolder::settingsFile() const
{
    return m_dir.filePath(u"settings.reg"_s);
}

QString TestFolder::dataFolder() const
{
    return m_dir.filePath(u"data"_s);
}

void TestFolder::writeDataFile(const QString &name, const QByteArray &bytes) const
{
    QDir().mkpath(dataFolder());
    writeFile(dataFolder() + u'/' + name, bytes);
}

QByteArray TestFolder::readDataFile(const QString &name) const
{
    return readFile(dataFolder() + u'/' + name);
}

void TestFolder::writeSettings(const QByteArray &bytes) const
{
    writeFile(settingsFile(), bytes);
}

void TestFolder::copyFixture(const QString &name, const QString &asName) const
{
    writeDataFile(asName, fixture(name));
}

QByteArray fixture(const QString &name)
{
    return readFile(QStringLiteral(WIFITICKETER_TEST_DATA_DIR) + u'/' + name);
}

int permissionBits(const QString &path)
{
    struct stat info
    {
    };
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}
