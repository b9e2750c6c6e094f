// Per-user settings in one file per application: <root>/Pelmora/<appName>.conf.
// Names match without regard to letter case, as the registry's do; a name
// keeps the spelling it was first stored with.
#include "registry.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <functional>

#include "filereplace.h"
#include "registry_form.h"
#include "wholefile.h"

namespace platform {
namespace {

using settingsform::Entry;
using settingsform::Section;
using settingsform::Settings;

QString g_root;

QString root() {
  return g_root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) : g_root;
}

QString settingsFile(const QString& appName) {
  QString name = appName;
  name.replace(u'/', u'_').replace(u'\\', u'_');
  return root() + QStringLiteral("/Pelmora/") + name + QStringLiteral(".conf");
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

Section* findSection(Settings& settings, const QString& section) {
  for (Section& s : settings)
    if (!s.name.isEmpty() && sameName(s.name, section)) return &s;
  return nullptr;
}

Entry* findKey(Settings& settings, const QString& section, const QString& key) {
  Section* s = findSection(settings, section);
  if (!s) return nullptr;
  for (Entry& e : s->entries)
    if (sameName(e.key, key)) return &e;
  return nullptr;
}

// False when the file is there but cannot be read.
bool read(const QString& appName, Settings* settings) {
  WholeFile file;
  if (!ReadWholeFile(settingsFile(appName), &file)) return false;
  *settings = settingsform::Parse(file.bytes);
  return true;
}

// Reads the settings, lets `edit` change them, and writes them back whole when
// it did; a file that cannot be read is left alone and the change fails.
bool change(const QString& appName, const std::function<bool(Settings&)>& edit) {
  Settings settings;
  if (!read(appName, &settings)) return false;
  if (!edit(settings)) return true;
  const QString file = settingsFile(appName);
  QDir().mkpath(QFileInfo(file).absolutePath());
  return WriteWholeFile(file, settingsform::Serialise(settings));
}

}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
  Settings settings;
  if (!read(appName, &settings)) return defaultValue;
  const Entry* e = findKey(settings, section, key);
  return e ? e->value : defaultValue;
}

bool SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
  return change(appName, [&](Settings& settings) {
    if (Entry* e = findKey(settings, section, key)) {
      e->value = value;
      return true;
    }
    Section* s = findSection(settings, section);
    if (!s) {
      settings.append(Section{section, {}});
      s = &settings.last();
    }
    s->entries.append(Entry{key, value});
    return true;
  });
}

bool DeleteSetting(const QString& appName, const QString& section, const QString& key) {
  return change(appName, [&](Settings& settings) {
    Section* s = findSection(settings, section);
    if (!s) return false;
    const auto before = s->entries.size();
    if (key.isEmpty()) s->entries.clear();
    else s->entries.removeIf([&](const Entry& e) { return sameName(e.key, key); });
    return s->entries.size() != before;
  });
}

bool SettingSectionExists(const QString& appName, const QString& section) {
  Settings settings;
  if (!read(appName, &settings)) return false;
  const Section* s = findSection(settings, section);
  return s && !s->entries.isEmpty();
}

void SetSettingsRoot(const QString& folder) { g_root = folder; }

QString SettingsFileName(const QString& appName) { return settingsFile(appName); }

void RemoveSettingsLeftovers(const QString& appName) {
  const QFileInfo file(settingsFile(appName));
  RemoveLeftoverReplacements(file.absolutePath(), {file.fileName()});
  // The writer of earlier versions named its copy "<name>.XXXXXX", unhidden.
  RemoveTemporaryFiles(file.absolutePath(), {file.fileName() + QLatin1Char('.')});
}

}  // namespace platform
