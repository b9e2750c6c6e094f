#pragma once
// The database engine of the program (the DAO operations it uses), over SQLite.
// One file is the whole database (rollback journal, never WAL), so it can be
// copied at any time it is not being written.
//
// The engine itself refuses what Jet refuses, raising VbError with a number and
// a description and storing nothing: a Text longer than its size, a Required
// field left Null, "" in a field that does not allow it, a Byte outside 0..255,
// an Integer outside 16 bits, a Currency outside its range.
//
// Values: Null is an invalid QVariant; Text is QString, Byte/Integer/Long int,
// Boolean bool, Currency vb::Currency.
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

#include "vb.h"
#include "vberror.h"

namespace dao {

// The file is held by another program beyond the engine's wait: for reading
// (or opening) and for writing. Nothing is wrong with the file itself.
constexpr long kLockedForReading = 3045;
constexpr long kLockedForWriting = 3218;
inline bool IsLockedError(long number) { return number == kLockedForReading || number == kLockedForWriting; }

enum DataType : int {
  dbBoolean = 1, dbByte = 2, dbInteger = 3, dbLong = 4, dbCurrency = 5, dbText = 10
};
constexpr int dbVersion30 = 32;
inline const QString dbLangGeneral = QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0");

class Database;
class Recordset;
class TableDef;

// A reference to an engine object, as VB holds them: using one that is Nothing
// raises error 91 instead of crashing.
template <class T>
class Handle {
 public:
  Handle() = default;
  Handle(std::shared_ptr<T> p) : p_(std::move(p)) {}  // NOLINT: implicit, like a VB Set
  T* operator->() const {
    if (!p_) platform::Raise(91, QStringLiteral("Object variable or With block variable not set"));
    return p_.get();
  }
  T& operator*() const { return *operator->(); }
  bool IsNothing() const { return !p_; }
  void SetNothing() { p_.reset(); }
  const std::shared_ptr<T>& get() const { return p_; }

 private:
  std::shared_ptr<T> p_;
};

// A field: the structure of a table's column, and, in a recordset, the value of
// that column in the current record.
class Field {
 public:
  Field(QString name, DataType type, int size);
  QString Name() const { return name_; }
  DataType Type() const { return type_; }
  int Size() const { return size_; }  // characters for Text
  bool Required() const { return required_; }
  bool AllowZeroLength() const { return allowZeroLength_; }
  void SetRequired(bool v);        // only before the field is appended
  void SetAllowZeroLength(bool v); // Text only, before the field is appended

  // Recordset fields only: the current record's value (Null = invalid QVariant).
  QVariant Value() const;
  // Between AddNew/Edit and Update; converts to the field's type (a value that
  // does not convert raises 3421). Range, size and Null rules are checked by Update.
  void SetValue(const QVariant& value);

 private:
  friend class Recordset;
  friend class TableDef;
  friend class TableDefs;
  friend class Database;
  QString name_;
  DataType type_;
  int size_;
  bool required_ = false;
  bool allowZeroLength_ = false;
  bool appended_ = false;
  Recordset* owner_ = nullptr;
  int column_ = -1;
};

class Fields {
 public:
  Fields() = default;
  Fields(const Fields&) = delete;
  Fields& operator=(const Fields&) = delete;
  int Count() const { return items_.size(); }
  Field& Item(int index) const;             // raises 3265 when out of range
  Field& Item(const QString& name) const;   // case-insensitive; raises 3265
  Field& operator[](int index) const { return Item(index); }
  Field& operator()(const QString& name) const { return Item(name); }
  // On a table definition: adds the field (to a stored table at once: 3191 if a
  // field of that name, in any letter case, exists). Not on a recordset.
  void Append(const std::shared_ptr<Field>& field);

 private:
  friend class TableDef;
  friend class TableDefs;
  friend class Recordset;
  friend class Database;
  QVector<std::shared_ptr<Field>> items_;
  TableDef* table_ = nullptr;
  Recordset* recordset_ = nullptr;  // the fields of a recordset take no Append
};

class TableDef {
 public:
  explicit TableDef(QString name);
  TableDef(const TableDef&) = delete;
  TableDef& operator=(const TableDef&) = delete;
  QString Name() const { return name_; }
  dao::Fields& Fields() { return fields_; }
  std::shared_ptr<Field> CreateField(const QString& name, DataType type, int size = 0);

 private:
  friend class Database;
  friend class Fields;
  friend class TableDefs;
  void appendField(const std::shared_ptr<Field>& field);
  QString name_;
  dao::Fields fields_;
  Database* db_ = nullptr;  // set once the table is stored
  bool stored_ = false;     // stays true when its database object is gone
};

class TableDefs {
 public:
  int Count() const;
  TableDef& Item(int index) const;
  TableDef& Item(const QString& name) const;
  TableDef& operator[](int index) const { return Item(index); }
  TableDef& operator()(const QString& name) const { return Item(name); }
  // Creates the table in the file; 3010 when it exists, 3264 with no fields.
  void Append(const std::shared_ptr<TableDef>& table);

 private:
  friend class Database;
  Database* db_ = nullptr;
};

class Database : public std::enable_shared_from_this<Database> {
 public:
  ~Database();
  QString Name() const { return path_; }
  dao::TableDefs& TableDefs();
  std::shared_ptr<TableDef> CreateTableDef(const QString& name);
  // "select * from T [where ...] [order by F ASC|DESC][;]"; an order by a Text
  // field sorts in Hebrew dictionary order.
  std::shared_ptr<Recordset> OpenRecordset(const QString& sql);
  void Close();
  bool IsOpen() const;
  // Reads every page of the file: 3049 when any part of it is damaged.
  void CheckIntegrity();

  // A transaction (dao_transaction.cpp): the writes after BeginTrans are kept
  // together by CommitTrans, or all dropped by Rollback; closing the database
  // drops them too. Recordsets keep the rows as they read and wrote them, so
  // after a Rollback they are opened anew. One at a time: a second BeginTrans
  // raises 3003; CommitTrans or Rollback without one raises 3034.
  void BeginTrans();
  void CommitTrans();
  void Rollback();

  struct Impl;
  Impl* impl() const { return impl_.get(); }

 private:
  friend class DBEngine;
  Database();
  static std::shared_ptr<Database> open(const QString& path, bool readOnly);
  void loadTableDefs();
  QString path_;
  std::unique_ptr<Impl> impl_;
  dao::TableDefs tableDefs_;
  QVector<std::shared_ptr<TableDef>> tables_;
  friend class dao::TableDefs;
  friend class TableDef;
};

class Recordset {
 public:
  ~Recordset();
  bool Eof() const;  // VB's EOF (a C macro name)
  bool Bof() const;
  void MoveFirst();
  void MoveNext();
  void MoveLast();
  long RecordCount() const;       // rows visited so far; all rows after one full pass
  long AbsolutePosition() const;  // 0-based, -1 without a current record
  void SetAbsolutePosition(long position);
  dao::Fields& Fields();
  Field& Fields(const QString& name) { return Fields().Item(name); }
  void AddNew();
  void Edit();
  void Update();  // validates and writes; on refusal nothing is stored
  void CancelUpdate();
  void Delete();
  void Close();

  struct Impl;

 private:
  friend class Database;
  friend class Field;
  Recordset();
  std::unique_ptr<Impl> impl_;
  dao::Fields fields_;
};

class DBEngine {
 public:
  static DBEngine& instance();
  // 3204 when the file exists; the new database is open.
  std::shared_ptr<Database> CreateDatabase(const QString& path, const QString& locale, int options = 0);
  // Opens an existing file shared and writable: 3024 when missing, 3343 when it
  // is not a database (the file is left untouched), 3051 when it cannot be opened.
  std::shared_ptr<Database> OpenDatabase(const QString& path);
  // The same, read-only: nothing is ever written to the file, not even a
  // journal. For looking at a file before it is used.
  std::shared_ptr<Database> OpenDatabaseReadOnly(const QString& path);
  // The file's whole database taken in one read (dao_snapshot.cpp), changes
  // still in a write-ahead log included, as the bytes of one plain file that
  // needs nothing beside it. Nothing is written to the file. Raises as
  // OpenDatabaseReadOnly does.
  QByteArray Snapshot(const QString& path);
  // A read-only database over such bytes, to look at a copy before it lands
  // anywhere; `name` stands for it in error texts.
  std::shared_ptr<Database> OpenSnapshot(const QByteArray& image, const QString& name);
};

}  // namespace dao
