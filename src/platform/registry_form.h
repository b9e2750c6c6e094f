#pragma once
// The text form of a per-user settings file: the INI form QSettings writes
// (UTF-8, LF, sections and keys in sorted order, names %-escaped, values
// quoted and backslash-escaped where needed), read back as QSettings reads it
// except that a comma never splits a value into a list.
#include <QByteArray>
#include <QString>
#include <QVector>

namespace platform::settingsform {

struct Entry {
  QString key;
  QString value;
};
struct Section {
  QString name;  // empty for keys before any section header
  QVector<Entry> entries;
};
using Settings = QVector<Section>;

Settings Parse(const QByteArray& bytes);
QByteArray Serialise(const Settings& settings);

}  // namespace platform::settingsform
