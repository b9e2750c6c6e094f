// Private-profile files. The file is read whole into lines, changed and
// written whole again (wholefile.h).
#include "ini.h"

#include <QStringDecoder>
#include <QStringList>
#include <QVector>

#include "wholefile.h"

namespace platform {
namespace {

constexpr qsizetype kMaxValue = 255;
QString g_lastError;  // why the last write failed
const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

struct Line {
  QString text;
  QByteArray raw;  // the bytes read, kept so untouched lines are written back as they were
  bool changed = false;
};

struct IniFile {
  QVector<Line> lines;
  bool exists = false;
  bool utf8 = false;  // read as UTF-8 (a byte-order mark, or valid UTF-8 beyond ASCII)
};

// The section name of a header line, or nothing when the line is not one.
std::optional<QString> sectionOf(const QString& line) {
  const QString t = trimBlanks(line);
  if (!t.startsWith(u'[')) return std::nullopt;
  qsizetype close = t.indexOf(u']');
  if (close < 0) close = t.size();
  return trimBlanks(t.mid(1, close - 1));
}

// The key of a "key=value" line; comments and lines without "=" have none.
std::optional<QString> keyOf(const QString& line) {
  const QString t = trimBlanks(line);
  if (t.startsWith(u';') || t.startsWith(u'[')) return std::nullopt;
  const qsizetype eq = t.indexOf(u'=');
  if (eq < 0) return std::nullopt;
  return trimBlanks(t.left(eq));
}

QString valueOf(const QString& line) {
  return trimBlanks(line.mid(line.indexOf(u'=') + 1));
}

// The first 255 characters, never half of a surrogate pair.
QString limited(QString s) {
  if (s.size() > kMaxValue) {
    s.truncate(kMaxValue);
    if (s.back().isHighSurrogate()) s.chop(1);
  }
  return s;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// UTF-8 without a byte-order mark, as a Linux editor saves it: valid UTF-8
// that holds more than ASCII. Windows-1255 Hebrew is never valid UTF-8.
bool looksLikeUtf8(const QByteArray& bytes) {
  bool ascii = true;
  for (char c : bytes)
    if (uchar(c) >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return false;
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder(bytes);
  return !decoder.hasError();
}

// False when the file exists but cannot be read (wholefile.h).
bool load(const QString& fileName, IniFile* file) {
  WholeFile whole;
  if (!ReadWholeFile(fileName, &whole, &g_lastError)) return false;
  if (!whole.exists) return true;
  QByteArray bytes = whole.bytes;
  file->exists = true;
  if (bytes.startsWith(kUtf8Bom)) {
    file->utf8 = true;
    bytes.remove(0, kUtf8Bom.size());
  } else {
    file->utf8 = looksLikeUtf8(bytes);
  }
  const QList<QByteArray> parts = bytes.split('\n');
  for (qsizetype i = 0; i < parts.size(); ++i) {
    QByteArray raw = parts[i];
    if (i == parts.size() - 1 && raw.isEmpty()) break;  // after the last line end
    if (raw.endsWith('\r')) raw.chop(1);
    Line line;
    line.text = file->utf8 ? QString::fromUtf8(raw) : cp1255::decode(raw);
    line.raw = raw;
    file->lines.append(line);
  }
  return true;
}

// Windows-1255 when every line fits it, else UTF-8 with a byte-order mark.
// Empty when neither keeps every line: a byte that Windows-1255 leaves
// undefined would become a replacement character in UTF-8.
std::optional<QByteArray> serialise(const IniFile& file) {
  QByteArray out;
  bool fits = true;
  for (const Line& line : file.lines) {
    if (!line.changed && !file.utf8) {
      out += line.raw;
    } else if (auto bytes = cp1255::encode(line.text)) {
      out += *bytes;
    } else {
      fits = false;
      break;
    }
    out += "\r\n";
  }
  if (fits) return out;
  out = kUtf8Bom;
  for (const Line& line : file.lines) {
    if (!line.changed && !file.utf8 && line.text.contains(QChar::ReplacementCharacter)) return std::nullopt;
    out += line.text.toUtf8() + "\r\n";
  }
  return out;
}

bool save(const QString& fileName, const IniFile& file) {
  const auto bytes = serialise(file);
  if (!bytes) {
    g_lastError = QStringLiteral("The file holds text that cannot be kept");
    return false;
  }
  return WriteWholeFile(fileName, *bytes, &g_lastError);
}

// Index of the first header line of the section, or -1.
qsizetype findSection(const IniFile& file, const QString& section) {
  for (qsizetype i = 0; i < file.lines.size(); ++i) {
    const auto name = sectionOf(file.lines[i].text);
    if (name && sameName(*name, section)) return i;
  }
  return -1;
}

// The line after the section's last line (the next header or the end).
qsizetype sectionEnd(const IniFile& file, qsizetype header) {
  qsizetype i = header + 1;
  while (i < file.lines.size() && !sectionOf(file.lines[i].text)) ++i;
  return i;
}

// A name that reads back as written: not empty, on one line, not a comment.
bool validName(const QString& name) {
  return !name.isEmpty() && !name.contains(u'\r') && !name.contains(u'\n') && !name.startsWith(u';') &&
         !name.startsWith(u'[');
}

Line makeLine(const QString& text) {
  Line line;
  line.text = text;
  line.changed = true;
  return line;
}

}  // namespace

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue,
                                const QString& fileName) {
  // As Windows does, the default loses its trailing blanks.
  QString fallback = defaultValue;
  while (!fallback.isEmpty() && isBlank(fallback.back())) fallback.chop(1);
  fallback = limited(fallback);

  const QString sec = trimBlanks(section), k = trimBlanks(key);
  if (sec.isEmpty() || k.isEmpty()) return fallback;
  IniFile file;
  if (!load(fileName, &file)) return fallback;
  const qsizetype header = findSection(file, sec);
  if (header < 0) return fallback;
  const qsizetype end = sectionEnd(file, header);
  for (qsizetype i = header + 1; i < end; ++i) {
    const auto name = keyOf(file.lines[i].text);
    if (name && sameName(*name, k)) return limited(valueOf(file.lines[i].text));
  }
  return fallback;
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName) {
  const QString sec = trimBlanks(section), k = trimBlanks(key);
  if (!validName(sec) || sec.contains(u']') || !validName(k) || k.contains(u'=')) return false;
  // A line break in a value would start new lines of its own (even sections).
  QString v = value;
  v.replace(u'\r', u' ').replace(u'\n', u' ');

  IniFile file;
  if (!load(fileName, &file)) return false;
  const qsizetype header = findSection(file, sec);
  if (header < 0) {
    file.lines.append(makeLine(u'[' + sec + u']'));
    file.lines.append(makeLine(k + u'=' + v));
    return save(fileName, file);
  }
  const qsizetype end = sectionEnd(file, header);
  qsizetype lastKey = header;
  for (qsizetype i = header + 1; i < end; ++i) {
    const auto name = keyOf(file.lines[i].text);
    if (!name) continue;
    if (sameName(*name, k)) {
      // Replaced where it stands; the key keeps the spelling it has in the file.
      file.lines[i] = makeLine(*name + u'=' + v);
      return save(fileName, file);
    }
    lastKey = i;
  }
  file.lines.insert(lastKey + 1, makeLine(k + u'=' + v));
  return save(fileName, file);
}

bool DeletePrivateProfileSection(const QString& section, const QString& fileName) {
  const QString sec = trimBlanks(section);
  IniFile file;
  if (!load(fileName, &file)) return false;
  if (!file.exists || sec.isEmpty()) return true;
  bool found = false;
  // Every header of that name goes, so no stray copy of the section survives;
  // comment and blank lines stay where they are.
  for (qsizetype header = findSection(file, sec); header >= 0; header = findSection(file, sec)) {
    const qsizetype end = sectionEnd(file, header);
    for (qsizetype i = end - 1; i > header; --i)
      if (keyOf(file.lines[i].text)) file.lines.remove(i);
    file.lines.remove(header);
    found = true;
  }
  return found ? save(fileName, file) : true;
}

QString LastProfileWriteError() { return g_lastError; }

}  // namespace platform
