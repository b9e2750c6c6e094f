#include "registry_form.h"

#include <QStringList>
#include <algorithm>

namespace platform::settingsform {
namespace {

const char kHex[] = "0123456789ABCDEF";

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool isHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// Names: letters, digits, '_', '-' and '.' as they are, '/' as '\', anything
// else as %XX or %UXXXX.
QByteArray escapedName(const QString& name) {
  QByteArray out;
  for (const QChar qc : name) {
    const char16_t c = qc.unicode();
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-' ||
        c == u'.') {
      out += char(c);
    } else if (c == u'/') {
      out += '\\';
    } else if (c <= 0xFF) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += "%U";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
    }
  }
  return out;
}

QString unescapedName(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    bool ok = false;
    if (c == u'%' && i + 5 < text.size() && text[i + 1] == u'U') {
      const uint code = text.mid(i + 2, 4).toUInt(&ok, 16);
      if (ok) {
        out += QChar(char16_t(code));
        i += 5;
        continue;
      }
    }
    if (c == u'%' && i + 2 < text.size()) {
      const uint code = text.mid(i + 1, 2).toUInt(&ok, 16);
      if (ok) {
        out += QChar(char16_t(code));
        i += 2;
        continue;
      }
    }
    out += c == u'\\' ? QChar(u'/') : c;
  }
  return out;
}

// A value as QSettings writes a string: '@' doubled at the start, a NUL
// wrapped in @String(), control characters escaped, quotes when a ';', ','
// or '=' is inside or a blank at either end.
QByteArray escapedValue(const QString& value) {
  QString text = value;
  if (text.contains(QChar(u'\0'))) text = QStringLiteral("@String(") + text + u')';
  else if (text.startsWith(u'@')) text.prepend(u'@');
  QByteArray out;
  QString plain;  // characters written as they are, as UTF-8
  bool needsQuotes = false, escapeNextIfHex = false;
  auto flush = [&] {
    out += plain.toUtf8();
    plain.clear();
  };
  for (const QChar qc : text) {
    const char16_t c = qc.unicode();
    if (c == u';' || c == u',' || c == u'=') needsQuotes = true;
    if (escapeNextIfHex && isHexDigit(c)) {
      flush();
      out += "\\x" + QByteArray::number(uint(c), 16);
      continue;
    }
    escapeNextIfHex = false;
    static const char16_t named[] = u"\a\b\f\n\r\t\v";
    static const char letters[] = "abfnrtv";
    const auto* n = std::find(std::begin(named), std::end(named) - 1, c);
    if (c == 0) {
      flush();
      out += "\\0";
      escapeNextIfHex = true;
    } else if (n != std::end(named) - 1) {
      flush();
      out += '\\';
      out += letters[n - std::begin(named)];
    } else if (c == u'"' || c == u'\\') {
      flush();
      out += '\\';
      out += char(c);
    } else if (c <= 0x1F) {
      flush();
      out += "\\x" + QByteArray::number(uint(c), 16);
      escapeNextIfHex = true;
    } else {
      plain += qc;
    }
  }
  flush();
  if (needsQuotes || out.startsWith(' ') || out.endsWith(' ')) out = '"' + out + '"';
  return out;
}

// The value of a line as QSettings reads one string: blanks around it
// dropped unless quoted, quotes and escapes resolved, ';' outside quotes
// starting a comment. A comma stays part of the value.
QString unescapedValue(const QString& text) {
  QString out;
  qsizetype keep = 0;  // out's length up to its last character that is no bare blank
  bool quoted = false;
  qsizetype i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'"') {
      quoted = !quoted;
      keep = out.size();
      continue;
    }
    if (c == u';' && !quoted) break;
    if (c == u'\\' && i + 1 < text.size()) {
      const QChar e = text[++i];
      static const QString letters = QStringLiteral("abfnrtv");
      const qsizetype named = letters.indexOf(e);
      if (named >= 0) {
        out += QChar(u"\a\b\f\n\r\t\v"[named]);
      } else if (e == u'x' || (e >= u'0' && e <= u'7')) {
        const bool hex = e == u'x';
        qsizetype j = hex ? i + 1 : i;
        uint code = 0;
        while (j < text.size() && (hex ? isHexDigit(text[j].unicode()) : (text[j] >= u'0' && text[j] <= u'7')))
          code = code * (hex ? 16 : 8) + uint(QString(text[j++]).toUInt(nullptr, 16));
        out += QChar(char16_t(code));
        i = j - 1;
      } else {
        out += e;
      }
      keep = out.size();
      continue;
    }
    out += c;
    if (quoted || !isBlank(c)) keep = out.size();
  }
  out.truncate(keep);
  if (out.startsWith(QStringLiteral("@@"))) return out.mid(1);
  for (const QString& wrap : {QStringLiteral("@String("), QStringLiteral("@ByteArray(")})
    if (out.startsWith(wrap) && out.endsWith(u')')) return out.mid(wrap.size(), out.size() - wrap.size() - 1);
  return out;
}

Section* sectionNamed(Settings& settings, const QString& name) {
  for (Section& s : settings)
    if (s.name == name) return &s;
  settings.append(Section{name, {}});
  return &settings.last();
}

}  // namespace

Settings Parse(const QByteArray& bytes) {
  Settings settings;
  QString text = QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  Section* current = nullptr;
  for (const QString& raw : text.split(u'\n')) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u';')) continue;
    if (line.startsWith(u'[')) {
      qsizetype close = line.indexOf(u']');
      if (close < 0) close = line.size();
      QString name = unescapedName(line.mid(1, close - 1).trimmed());
      if (name == QStringLiteral("General")) name.clear();  // QSettings' own name for no section
      if (line.mid(1, close - 1).trimmed() == QStringLiteral("%General")) name = QStringLiteral("General");
      current = sectionNamed(settings, name);
      continue;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0) continue;
    if (!current) current = sectionNamed(settings, QString());
    const QString key = unescapedName(line.left(eq).trimmed());
    const QString value = unescapedValue(line.mid(eq + 1));
    auto same = std::find_if(current->entries.begin(), current->entries.end(),
                             [&](const Entry& e) { return e.key == key; });
    if (same != current->entries.end()) same->value = value;  // the later line wins, as in QSettings
    else current->entries.append(Entry{key, value});
  }
  return settings;
}

QByteArray Serialise(const Settings& settings) {
  Settings sorted;
  for (const Section& s : settings)
    if (!s.entries.isEmpty()) sorted.append(s);
  std::sort(sorted.begin(), sorted.end(), [](const Section& a, const Section& b) { return a.name < b.name; });
  QByteArray out;
  for (Section& s : sorted) {
    if (!out.isEmpty()) out += '\n';
    out += '[';
    out += s.name.isEmpty() ? QByteArray("General") : s.name == QStringLiteral("General") ? QByteArray("%General")
                                                                                         : escapedName(s.name);
    out += "]\n";
    std::sort(s.entries.begin(), s.entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (const Entry& e : s.entries) out += escapedName(e.key) + '=' + escapedValue(e.value) + '\n';
  }
  return out;
}

}  // namespace platform::settingsform
