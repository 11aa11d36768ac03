#pragma once

#include "session/appstate.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh settings file location and data folder in a temporary directory, with
// helpers to put fixtures in place.
class TestFolder
{
public:
    TestFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // settings.reg and data/ inside the temporary directory; neither exists yet.
    StoragePaths storagePaths() const;
    QString settingsFile() const;
    QString dataFolder() const;

    // Writes bytes to a file of the data folder (created when missing).
    void writeDataFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readDataFile(const QString &name) const;
    void writeSettings(const QByteArray &bytes) const;
    // Copies a fixture of tests/data into the data folder.
    void copyFixture(const QString &fixture, const QString &asName) const;

private:
    QTemporaryDir m_dir;
};

// The bytes of a fixture of tests/data.
QByteArray fixture(const QString &name);

// The permission bits of a file (0600 for owner read and write), -1 when missing.
int permissionBits(const QString &path);
