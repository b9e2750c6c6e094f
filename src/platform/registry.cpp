// Per-user settings in one QSettings file per application:
// <root>/Pelmora/<appName>.conf. Names match without regard to letter case, as
// the registry's do.
//
// QSettings replaces its file even when the disk filled up while it wrote it
// (its flush error goes unseen), so a change is written by QSettings to a copy
// beside the file, read back whole, synced, and only then renamed over it.
#include "registry.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstdio>
#include <functional>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QString g_root;

QString root() {
  return g_root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) : g_root;
}

QString settingsFile(const QString& appName) {
  QString name = appName;
  name.replace(u'/', u'_').replace(u'\\', u'_');
  return root() + QStringLiteral("/Pelmora/") + name + QStringLiteral(".conf");
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

using Values = QMap<QString, QString>;

// QSettings keeps the files it read in a cache that it checks by size and
// modification time: a replacement of the same size, made within the same
// millisecond, is given a later time so that it is read again.
void markAsNew(const QByteArray& replacement, const QByteArray& file) {
  struct stat now {}, old {};
  if (::stat(replacement.constData(), &now) != 0 || ::stat(file.constData(), &old) != 0) return;
  const auto ms = [](const timespec& t) { return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000; };
  if (now.st_size != old.st_size || ms(now.st_mtim) > ms(old.st_mtim)) return;
  timespec times[2] = {{0, UTIME_OMIT}, old.st_mtim};
  times[1].tv_sec += 1;
  ::utimensat(AT_FDCWD, replacement.constData(), times, 0);
}

Values valuesOf(QSettings& s) {
  Values values;
  for (const QString& key : s.allKeys()) values.insert(key, s.value(key).toString());
  return values;
}

// The changes of one command to one application's settings, kept in a copy of
// the file until they are put in place whole.
struct Change {
  explicit Change(const QString& appName) : file(settingsFile(appName)) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings current(file, QSettings::IniFormat);
    temp = std::make_unique<QTemporaryFile>(file + QStringLiteral(".XXXXXX"));
    if (!temp->open()) return;
    temp->close();
    copy = std::make_unique<QSettings>(temp->fileName(), QSettings::IniFormat);
    const Values values = valuesOf(current);
    for (auto it = values.begin(); it != values.end(); ++it) copy->setValue(it.key(), it.value());
  }

  bool commit() {
    if (!copy) return false;
    if (!changed) return true;
    const Values expected = valuesOf(*copy);
    copy->sync();
    if (copy->status() != QSettings::NoError) return false;
    {
      QSettings written(temp->fileName(), QSettings::IniFormat);
      if (written.status() != QSettings::NoError || valuesOf(written) != expected) return false;
    }
    QFile onDisk(temp->fileName());
    if (!onDisk.open(QIODevice::ReadWrite) || ::fsync(onDisk.handle()) != 0) return false;
    onDisk.close();
    const QByteArray from = QFile::encodeName(temp->fileName()), to = QFile::encodeName(file);
    markAsNew(from, to);
    if (std::rename(from.constData(), to.constData()) != 0) return false;
    temp->setAutoRemove(false);
    return true;
  }

  QString file;
  std::unique_ptr<QTemporaryFile> temp;
  std::unique_ptr<QSettings> copy;
  bool changed = false;
};

Change* g_change = nullptr;  // the open batch's change

// Runs `edit` on the open batch's copy, or on a change of its own put in place at once.
bool change(const QString& appName, const std::function<void(Change&)>& edit) {
  if (g_change && g_change->file == settingsFile(appName)) {
    if (g_change->copy) edit(*g_change);
    return g_change->copy != nullptr;
  }
  Change one(appName);
  if (!one.copy) return false;
  edit(one);
  return one.commit();
}

}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
  QSettings s(settingsFile(appName), QSettings::IniFormat);
  QSettings& from = g_change && g_change->copy && g_change->file == s.fileName() ? *g_change->copy : s;
  const QString path = findKey(from, section, key);
  return path.isEmpty() ? defaultValue : from.value(path).toString();
}

bool SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
  return change(appName, [&](Change& c) {
    QString path = findKey(*c.copy, section, key);
    if (path.isEmpty()) {
      const QString group = findSection(*c.copy, section);
      path = (group.isEmpty() ? section : group) + u'/' + key;
    }
    c.copy->setValue(path, value);
    c.changed = true;
  });
}

bool DeleteSetting(const QString& appName, const QString& section, const QString& key) {
  return change(appName, [&](Change& c) {
    const QString path = key.isEmpty() ? findSection(*c.copy, section) : findKey(*c.copy, section, key);
    if (path.isEmpty()) return;
    c.copy->remove(path);
    c.changed = true;
  });
}

bool SettingSectionExists(const QString& appName, const QString& section) {
  QSettings s(settingsFile(appName), QSettings::IniFormat);
  return !findSection(s, section).isEmpty();
}

void SetSettingsRoot(const QString& folder) { g_root = folder; }

QString SettingsFileName(const QString& appName) { return settingsFile(appName); }

SettingBatch::SettingBatch(const QString& appName) {
  if (g_change) return;  // joins the batch already open
  g_change = new Change(appName);
  owner_ = true;
}

SettingBatch::~SettingBatch() {
  if (!owner_) return;
  delete g_change;
  g_change = nullptr;
}

bool SettingBatch::commit() {
  if (!owner_) return true;  // the outer batch writes
  const bool ok = g_change->commit();
  delete g_change;
  g_change = nullptr;
  owner_ = false;
  return ok;
}

}  // namespace platform
