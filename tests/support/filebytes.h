#pragma once

#include <QByteArray>
#include <QString>

// Whole files as bytes, for tests, fuzz targets and benchmarks that put files
// in place or look at what the program wrote.

// The file's bytes; empty when it cannot be opened, and then *ok (when given)
// is false.
QByteArray readFile(const QString &path, bool *ok = nullptr);

// Replaces the file's content with the bytes; false when the file cannot be
// opened or not every byte was written.
bool writeFile(const QString &path, const QByteArray &bytes);
