// Per-user settings in one QSettings file per application:
// <root>/Pelmora/<appName>.conf. Names match without regard to letter case, as
// the registry's do.
#include "registry.h"

#include <QSettings>
#include <QStandardPaths>
#include <memory>

namespace platform {
namespace {

QString g_root;

QString root() {
  return g_root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) : g_root;
}

std::unique_ptr<QSettings> open(const QString& appName) {
  QString name = appName;
  name.replace(u'/', u'_').replace(u'\\', u'_');
  auto s = std::make_unique<QSettings>(root() + QStringLiteral("/Pelmora/") + name + QStringLiteral(".conf"),
                                       QSettings::IniFormat);
  return s;
}

QString match(const QStringList& names, const QString& wanted) {
  for (const QString& n : names)
    if (n.compare(wanted, Qt::CaseInsensitive) == 0) return n;
  return QString();
}

// The stored spelling of the section, or empty when it does not exist.
QString findSection(QSettings& s, const QString& section) { return match(s.childGroups(), section); }

QString findKey(QSettings& s, const QString& section, const QString& key) {
  const QString group = findSection(s, section);
  if (group.isEmpty()) return QString();
  s.beginGroup(group);
  const QString k = match(s.childKeys(), key);
  s.endGroup();
  return k.isEmpty() ? QString() : group + u'/' + k;
}

}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
  auto s = open(appName);
  const QString path = findKey(*s, section, key);
  return path.isEmpty() ? defaultValue : s->value(path).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
  auto s = open(appName);
  QString path = findKey(*s, section, key);
  if (path.isEmpty()) {
    const QString group = findSection(*s, section);
    path = (group.isEmpty() ? section : group) + u'/' + key;
  }
  s->setValue(path, value);
  s->sync();  // on disk now, whatever happens to the program later
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key) {
  auto s = open(appName);
  const QString path = key.isEmpty() ? findSection(*s, section) : findKey(*s, section, key);
  if (path.isEmpty()) return;
  s->remove(path);
  s->sync();
}

bool SettingSectionExists(const QString& appName, const QString& section) {
  auto s = open(appName);
  return !findSection(*s, section).isEmpty();
}

void SetSettingsRoot(const QString& folder) { g_root = folder; }

}  // namespace platform
