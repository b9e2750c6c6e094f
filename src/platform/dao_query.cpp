// The query texts the engine takes, turned into SQLite:
//   select * from T [where C] [order by F [ASC|DESC]] [;]
//   C: (C) | C and C | F = v | F <> v | F > v | F between v and v
// v: a number or a text in single quotes (an apostrophe inside doubled).
// Keywords in any letter case. Values are bound, never pasted into the SQL,
// and converted to the field's stored form (Currency scaled, Boolean -1/0).
// Anything else is refused with a syntax error.
#include <cmath>

#include "dao_internal.h"

namespace dao::detail {
namespace {

struct Token {
  enum Kind { Name, Number, String, Symbol, End };
  Kind kind = End;
  QString text;
};

class Parser {
 public:
  Parser(Connection& conn, const QString& text) : conn_(conn), text_(text) { tokenize(); }

  Query parse() {
    Query q;
    if (!keyword("select") || !symbol("*") || !keyword("from"))
      fail(3131, QStringLiteral("Syntax error in FROM clause. Only \"select * from <table>\" is supported"));
    if (peek().kind != Token::Name) fail(3131, QStringLiteral("Syntax error in FROM clause"));
    const QString wanted = next().text;
    for (const QString& name : readTableNames(conn_))
      if (name.compare(wanted, Qt::CaseInsensitive) == 0) q.table = name;
    if (q.table.isEmpty())
      platform::Raise(3078, QStringLiteral("The Microsoft Jet database engine cannot find the input table or query "
                                           "'%1'.").arg(wanted));
    columns_ = readColumns(conn_, q.table);
    q.columns = columns_;
    QStringList select{QStringLiteral("rowid")};
    for (const auto& c : columns_) select << quoteName(c.name);
    q.sql = QStringLiteral("SELECT %1 FROM %2").arg(select.join(QStringLiteral(", ")), quoteName(q.table));
    if (keyword("where")) q.sql += QStringLiteral(" WHERE ") + condition(q.binds);
    QString order = QStringLiteral(" ORDER BY ");
    if (keyword("order")) {
      if (!keyword("by") || peek().kind != Token::Name) fail(3138, QStringLiteral("Syntax error in ORDER BY clause"));
      const ColumnInfo& c = column(next().text);
      order += quoteName(c.name);
      // Text sorts in dictionary order; numbers and Booleans by value.
      if (c.type == dbText) order += QStringLiteral(" COLLATE ") + QLatin1String(kHebrewCollation);
      if (keyword("desc")) {
        order += QStringLiteral(" DESC");
      } else {
        keyword("asc");
        order += QStringLiteral(" ASC");
      }
      order += QStringLiteral(", ");
    }
    q.sql += order + QStringLiteral("rowid");  // ties, and no sort at all, in the order rows were added
    symbol(";");
    if (peek().kind != Token::End) fail(3075, QStringLiteral("Syntax error (missing operator) in query expression"));
    return q;
  }

 private:
  [[noreturn]] void fail(long number, const QString& what) {
    platform::Raise(number, QStringLiteral("%1 '%2'.").arg(what, text_));
  }

  void tokenize() {
    const QString& s = text_;
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
      const QChar c = s[i];
      if (c.isSpace()) {
        ++i;
      } else if (c.isLetter() || c == QLatin1Char('_')) {
        const int start = i;
        while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('_'))) ++i;
        tokens_.append({Token::Name, s.mid(start, i - start)});
      } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
        const int start = i;
        while (i < n && (s[i].isDigit() || s[i] == QLatin1Char('.'))) ++i;
        tokens_.append({Token::Number, s.mid(start, i - start)});
      } else if (c == QLatin1Char('\'')) {
        QString value;
        ++i;
        for (;;) {
          if (i >= n) fail(3075, QStringLiteral("Syntax error in string in query expression"));
          if (s[i] == QLatin1Char('\'')) {
            if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
              value += QLatin1Char('\'');
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          value += s[i++];
        }
        tokens_.append({Token::String, value});
      } else if (c == QLatin1Char('<') && i + 1 < n && s[i + 1] == QLatin1Char('>')) {
        tokens_.append({Token::Symbol, QStringLiteral("<>")});
        i += 2;
      } else if (QStringLiteral("=>()*;-+").contains(c)) {
        tokens_.append({Token::Symbol, QString(c)});
        ++i;
      } else {
        fail(3075, QStringLiteral("Syntax error (missing operator) in query expression"));
      }
    }
  }

  const Token& peek() const {
    static const Token end;
    return pos_ < tokens_.size() ? tokens_[pos_] : end;
  }
  Token next() {
    Token t = peek();
    if (pos_ < tokens_.size()) ++pos_;
    return t;
  }
  bool keyword(const char* word) {
    if (peek().kind == Token::Name && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool symbol(const char* s) {
    if (peek().kind == Token::Symbol && peek().text == QLatin1String(s)) {
      ++pos_;
      return true;
    }
    return false;
  }

  const ColumnInfo& column(const QString& name) {
    for (const auto& c : columns_)
      if (c.name.compare(name, Qt::CaseInsensitive) == 0) return c;
    // What Jet says of a name it does not know: it takes it for a parameter.
    platform::Raise(3061, QStringLiteral("Too few parameters. Expected 1."));
  }

  // conditions joined by "and"
  QString condition(QVector<QVariant>& binds) {
    QString sql = term(binds);
    while (keyword("and")) sql += QStringLiteral(" AND ") + term(binds);
    return sql;
  }

  QString term(QVector<QVariant>& binds) {
    if (symbol("(")) {
      const QString inner = condition(binds);
      if (!symbol(")")) fail(3075, QStringLiteral("Syntax error (missing operator) in query expression"));
      return QLatin1Char('(') + inner + QLatin1Char(')');
    }
    if (peek().kind != Token::Name) fail(3075, QStringLiteral("Syntax error (missing operator) in query expression"));
    const ColumnInfo& c = column(next().text);
    const QString field = quoteName(c.name);
    if (keyword("between")) {
      binds.append(value(c));
      if (!keyword("and")) fail(3075, QStringLiteral("Syntax error (missing operator) in query expression"));
      binds.append(value(c));
      return field + QStringLiteral(" BETWEEN ? AND ?");
    }
    QString op;
    if (symbol("=")) op = QStringLiteral(" = ?");
    else if (symbol("<>")) op = QStringLiteral(" <> ?");
    else if (symbol(">")) op = QStringLiteral(" > ?");
    else fail(3075, QStringLiteral("Syntax error (missing operator) in query expression"));
    binds.append(value(c));
    return field + op;
  }

  // A literal in the stored form of the field it is compared with.
  QVariant value(const ColumnInfo& c) {
    bool negative = false;
    if (symbol("-")) negative = true;
    else symbol("+");
    const Token t = next();
    if (t.kind == Token::String && !negative) {
      if (c.type == dbText) return t.text;
      double d = 0;
      if (!parseNumber(t.text, d)) mismatch();
      return numeric(c, t.text);
    }
    if (t.kind == Token::Number) {
      if (c.type == dbText) mismatch();
      return numeric(c, (negative ? QStringLiteral("-") : QString()) + t.text);
    }
    fail(3075, QStringLiteral("Syntax error (missing operator) in query expression"));
  }

  [[noreturn]] static void mismatch() {
    platform::Raise(3464, QStringLiteral("Data type mismatch in criteria expression."));
  }

  QVariant numeric(const ColumnInfo& c, const QString& number) {
    if (c.type == dbCurrency) {
      qint64 raw = 0;
      if (parseCurrency(number, raw) != Parsed::Ok) mismatch();
      return qlonglong(raw);
    }
    double d = 0;
    if (!parseNumber(number, d)) fail(3075, QStringLiteral("Syntax error in number in query expression"));
    if (std::abs(d) < 9e18 && d == std::trunc(d)) return qlonglong(d);
    return d;  // a fraction, compared by value
  }

  Connection& conn_;
  QString text_;
  QVector<Token> tokens_;
  int pos_ = 0;
  QVector<ColumnInfo> columns_;
};

}  // namespace

Query translateQuery(Connection& conn, const QString& text) { return Parser(conn, text).parse(); }

}  // namespace dao::detail
