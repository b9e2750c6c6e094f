#pragma once
// Whole files for tests: read back byte for byte, written in one go.
#include <QByteArray>
#include <QString>

namespace testsupport {

// Every byte of the file; empty when it cannot be read.
QByteArray readFile(const QString& path);
// Replaces the file with these bytes; the running test fails when it cannot.
void writeFile(const QString& path, const QByteArray& bytes);

}  // namespace testsupport
