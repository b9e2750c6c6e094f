#pragma once
// What the dao*.cpp files share: the SQLite connection, statements, the column
// encoding, value conversion and validation, and the query translation.
#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include "dao.h"

namespace dao::detail {

// Jet's error texts that more than one file raises.
[[noreturn]] void raiseClosed();                    // 3420
[[noreturn]] void raiseNoCurrentRecord();           // 3021
[[noreturn]] void raiseInvalidOperation();          // 3219
[[noreturn]] void raiseNotFoundInCollection();      // 3265

// Called before every row write; raises the fault a test set (dao_faults.h).
void beforeRowWrite();
// Called when a wait for a busy file begins; runs what a test set (dao_faults.h).
void busyWaitBegins();

// Which operation failed decides how an SQLite error reads.
enum class Doing { Opening, Reading, Writing };
[[noreturn]] void raiseSqlite(sqlite3* db, int rc, Doing doing, const QString& path);

// One SQLite connection. Recordsets share it so they can tell that their
// database was closed; closing it leaves no journal behind (rollback mode).
struct Connection {
  sqlite3* db = nullptr;
  QString path;
  bool isOpen() const { return db != nullptr; }
  void close();
  ~Connection() { close(); }
};
std::shared_ptr<Connection> openConnection(const QString& path, bool create, bool readOnly = false);
// Raises 3024 for a missing file or a folder, 3343 for an empty file.
void checkFileToOpen(const QString& path);
// Extended result codes on; raises unless the connection reads a database.
void probeDatabase(Connection& conn);

// A prepared statement, finalized when it goes out of scope, so no statement
// ever outlives the call that made it.
class Statement {
 public:
  Statement(Connection& conn, const QString& sql, Doing doing);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }
  bool step();  // true while a row is available; raises on error
  void run();   // steps to the end

 private:
  Connection& conn_;
  sqlite3_stmt* stmt_ = nullptr;
  Doing doing_;
};
void exec(Connection& conn, const QString& sql, Doing doing);

// Structure of one column as the engine keeps it.
struct ColumnInfo {
  QString name;
  DataType type = dbText;
  int size = 0;
  bool required = false;
  bool allowZeroLength = false;
};
QString quoteName(const QString& name);
QString declaredType(const Field& field);
ColumnInfo decodeColumn(const QString& name, const QString& declared, bool notNull);
int fixedSize(DataType type);
QStringList readTableNames(Connection& conn);  // user tables, as stored
QVector<ColumnInfo> readColumns(Connection& conn, const QString& table);
// Raises 3125 for a name Jet would not take.
void checkName(const QString& name);

// A value in the engine's stored form: Text as text, every other type as a
// 64-bit integer (Boolean -1/0, Currency in ten-thousandths). Overflow marks a
// number too large even for that; Update refuses it.
struct Cell {
  enum Kind : quint8 { Null, Int, Text, Overflow };
  Kind kind = Null;
  qint64 i = 0;
  QString s;
  static Cell null() { return {}; }
  static Cell integer(qint64 v) { return {Int, v, {}}; }
  static Cell text(QString v) { return {Text, 0, std::move(v)}; }
  static Cell overflow() { return {Overflow, 0, {}}; }
};

// A value of a recordset's row, kept small so that many rows load fast: a
// Text is n bytes of UTF-8 at offset i of the recordset's text buffer.
struct Stored {
  Cell::Kind kind = Cell::Null;  // Null, Int or Text
  quint32 n = 0;
  qint64 i = 0;
};
Stored readStored(sqlite3_stmt* stmt, int index, const ColumnInfo& column, QByteArray& texts);
Cell fromStored(const Stored& value, const QByteArray& texts);
Stored toStored(const Cell& cell, QByteArray& texts);
Cell toCell(const ColumnInfo& column, const QVariant& value);  // raises 3421
QVariant fromCell(const ColumnInfo& column, const Cell& cell);
// Raises the error Jet raises for this value in this column, if any.
void validate(const QString& table, const ColumnInfo& column, const Cell& cell);
void bindCell(sqlite3_stmt* stmt, int index, const Cell& cell);
// Binds a value exactly as it was read: a Text as its stored bytes, whatever
// their encoding, so that it compares equal to what the file holds.
void bindStored(sqlite3_stmt* stmt, int index, const Stored& value, const QByteArray& texts);
bool sameCell(const Cell& a, const Cell& b);

// Numbers in text: blanks around, an optional sign, digits with "." as the
// point and an optional exponent.
bool parseNumber(QStringView text, double& value);
enum class Parsed { Ok, NotNumber, Overflow };
// Exact amount in ten-thousandths, halves to even.
Parsed parseCurrency(QStringView text, qint64& raw);
QString currencyText(qint64 raw);

// The accepted query texts turned into one SQLite SELECT with bound values.
struct Query {
  QString table;  // as stored
  QVector<ColumnInfo> columns;
  QString sql;    // selects rowid, then every column in order
  QVector<QVariant> binds;  // text, qlonglong or double
};
Query translateQuery(Connection& conn, const QString& text);

// The collating order of " order by " on Text: Hebrew dictionary order.
inline constexpr const char* kHebrewCollation = "HEBREW";
int hebrewCompare(const char* a, int lengthA, const char* b, int lengthB);  // UTF-8
void registerHebrewCollation(sqlite3* db);

}  // namespace dao::detail

struct dao::Database::Impl {
  std::shared_ptr<detail::Connection> conn;
  bool inTransaction = false;  // between BeginTrans and CommitTrans or Rollback
};

struct dao::Recordset::Impl {
  enum class Mode { None, Add, Edit };
  std::shared_ptr<detail::Connection> conn;
  bool closed = false;
  QString table;
  QVector<detail::ColumnInfo> columns;
  // Rows one after the other: row r's values are values[r * columns.size() ...].
  QVector<qint64> rowids;
  QVector<detail::Stored> values;
  QByteArray texts;             // UTF-8 of the Text values
  int cur = 0;                  // rowids.size() is past the end
  bool currentDeleted = false;  // the current row was deleted; cur holds the next one
  long visited = 0;             // RecordCount
  Mode mode = Mode::None;
  QVector<detail::Cell> buffer;
  QVector<bool> dirty;

  int rowCount() const { return int(rowids.size()); }
  detail::Cell cell(int row, int column) const {
    return detail::fromStored(values[row * columns.size() + column], texts);
  }
};
