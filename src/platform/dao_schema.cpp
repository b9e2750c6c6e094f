// Structure: fields, table definitions and how they are kept in the file.
//
// Each column's Jet type and flags live in its declared SQLite type, so the
// structure reads back from the file exactly:
//   Boolean "BOOLEAN", Byte "BYTE", Integer "SMALLINT", Long "LONG",
//   Currency "CURRENCY", Text "TEXT(size)";
//   a Text that allows "" adds the word ZLEN, a Required field the word
//   REQUIRED: "TEXT ZLEN(40)", "TEXT REQUIRED(20)", "CURRENCY REQUIRED".
// Required is not a NOT NULL constraint because SQLite cannot add a NOT NULL
// column to a stored table, which Jet can; the engine checks it before every
// write anyway, with Jet's error. Values: Boolean -1/0, Currency the amount in
// ten-thousandths (exact), Text as text, the others as integers.
#include <QRegularExpression>

#include "dao_internal.h"

namespace dao {
namespace detail {

QString quoteName(const QString& name) {
  QString quoted = name;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

int fixedSize(DataType type) {
  switch (type) {
    case dbBoolean:
    case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong: return 4;
    case dbCurrency: return 8;
    case dbText: break;
  }
  return 0;
}

QString declaredType(const Field& field) {
  QString base;
  switch (field.Type()) {
    case dbBoolean: base = QStringLiteral("BOOLEAN"); break;
    case dbByte: base = QStringLiteral("BYTE"); break;
    case dbInteger: base = QStringLiteral("SMALLINT"); break;
    case dbLong: base = QStringLiteral("LONG"); break;
    case dbCurrency: base = QStringLiteral("CURRENCY"); break;
    case dbText: base = QStringLiteral("TEXT"); break;
  }
  if (field.Type() == dbText && field.AllowZeroLength()) base += QStringLiteral(" ZLEN");
  if (field.Required()) base += QStringLiteral(" REQUIRED");
  if (field.Type() == dbText) base += QStringLiteral("(%1)").arg(field.Size());
  return base;
}

ColumnInfo decodeColumn(const QString& name, const QString& declared, bool notNull) {
  static const QRegularExpression sizeRe(QStringLiteral("\\(\\s*(\\d+)"));
  ColumnInfo c;
  c.name = name;
  const QString upper = declared.toUpper();
  const QString words = upper.left(upper.indexOf(QLatin1Char('(')));
  const QStringList parts = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const QString base = parts.value(0);
  if (base == QLatin1String("BOOLEAN") || base == QLatin1String("BIT")) c.type = dbBoolean;
  else if (base == QLatin1String("BYTE") || base == QLatin1String("TINYINT")) c.type = dbByte;
  else if (base == QLatin1String("SMALLINT") || base == QLatin1String("SHORT")) c.type = dbInteger;
  else if (base == QLatin1String("LONG") || base.contains(QLatin1String("INT"))) c.type = dbLong;
  else if (base == QLatin1String("CURRENCY") || base == QLatin1String("MONEY")) c.type = dbCurrency;
  else c.type = dbText;  // TEXT, and whatever a foreign file declares
  c.required = notNull || parts.contains(QLatin1String("REQUIRED"));
  if (c.type == dbText) {
    c.allowZeroLength = parts.contains(QLatin1String("ZLEN"));
    const auto m = sizeRe.match(upper);
    c.size = m.hasMatch() ? m.captured(1).toInt() : 255;
    if (c.size <= 0 || c.size > 255) c.size = 255;
  } else {
    c.size = fixedSize(c.type);
  }
  return c;
}

QStringList readTableNames(Connection& conn) {
  Statement st(conn,
               QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
                              "ESCAPE '\\' ORDER BY rowid"),
               Doing::Reading);
  QStringList names;
  while (st.step())
    names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
  return names;
}

QVector<ColumnInfo> readColumns(Connection& conn, const QString& table) {
  Statement st(conn, QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(table)), Doing::Reading);
  QVector<ColumnInfo> columns;
  while (st.step()) {
    auto text = [&](int i) { return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), i))); };
    columns.append(decodeColumn(text(1), text(2), sqlite3_column_int(st.get(), 3) != 0));
  }
  return columns;
}

void checkName(const QString& name) {
  static const QRegularExpression bad(QStringLiteral("[.!\\[\\]`\\x00-\\x1f]"));
  if (name.isEmpty() || name.size() > 64 || name.startsWith(QLatin1Char(' ')) || name.contains(bad))
    platform::Raise(3125, QStringLiteral("'%1' isn't a valid name. Make sure that it does not include invalid "
                                         "characters or punctuation and that it is not too long.")
                              .arg(name));
}

}  // namespace detail

Field::Field(QString name, DataType type, int size)
    : name_(std::move(name)), type_(type), size_(type == dbText ? size : detail::fixedSize(type)) {}

void Field::SetRequired(bool v) {
  if (appended_ || owner_) detail::raiseInvalidOperation();
  required_ = v;
}

void Field::SetAllowZeroLength(bool v) {
  if (appended_ || owner_ || type_ != dbText) detail::raiseInvalidOperation();
  allowZeroLength_ = v;
}

Field& Fields::Item(int index) const {
  if (index < 0 || index >= items_.size()) detail::raiseNotFoundInCollection();
  return *items_[index];
}

Field& Fields::Item(const QString& name) const {
  // Callers name fields as stored, so the exact match is tried first (cheap).
  for (const auto& f : items_)
    if (f->Name() == name) return *f;
  for (const auto& f : items_)
    if (f->Name().compare(name, Qt::CaseInsensitive) == 0) return *f;
  detail::raiseNotFoundInCollection();
}

void Fields::Append(const std::shared_ptr<Field>& field) {
  if (recordset_ || !table_) detail::raiseInvalidOperation();
  table_->appendField(field);
}

TableDef::TableDef(QString name) : name_(std::move(name)) { fields_.table_ = this; }

std::shared_ptr<Field> TableDef::CreateField(const QString& name, DataType type, int size) {
  return std::make_shared<Field>(name, type, size);
}

void TableDef::appendField(const std::shared_ptr<Field>& field) {
  if (!field) platform::Raise(91, QStringLiteral("Object variable or With block variable not set"));
  if (field->appended_ || field->owner_)
    platform::Raise(3367, QStringLiteral("Cannot append. An object with that name already exists in the collection."));
  detail::checkName(field->name_);
  if (field->type_ == dbText && field->size_ <= 0) field->size_ = 255;
  if (field->type_ == dbText && field->size_ > 255) platform::Raise(3001, QStringLiteral("Invalid argument."));
  // Jet compares field names without regard to letter case.
  for (const auto& f : fields_.items_)
    if (f->name_.compare(field->name_, Qt::CaseInsensitive) == 0)
      platform::Raise(3191, QStringLiteral("Cannot define field more than once."));
  if (stored_) {
    if (!db_ || !db_->IsOpen()) detail::raiseClosed();
    // Added at the end; the existing rows hold Null in it.
    detail::exec(*db_->impl()->conn,
                 QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                     .arg(detail::quoteName(name_), detail::quoteName(field->name_), detail::declaredType(*field)),
                 detail::Doing::Writing);
  }
  field->appended_ = true;
  fields_.items_.append(field);
}

int TableDefs::Count() const {
  if (!db_->IsOpen()) detail::raiseClosed();
  return db_->tables_.size();
}

TableDef& TableDefs::Item(int index) const {
  if (!db_->IsOpen()) detail::raiseClosed();
  if (index < 0 || index >= db_->tables_.size()) detail::raiseNotFoundInCollection();
  return *db_->tables_[index];
}

TableDef& TableDefs::Item(const QString& name) const {
  if (!db_->IsOpen()) detail::raiseClosed();
  for (const auto& t : db_->tables_)
    if (t->Name().compare(name, Qt::CaseInsensitive) == 0) return *t;
  detail::raiseNotFoundInCollection();
}

void TableDefs::Append(const std::shared_ptr<TableDef>& table) {
  if (!db_->IsOpen()) detail::raiseClosed();
  if (!table) platform::Raise(91, QStringLiteral("Object variable or With block variable not set"));
  detail::checkName(table->name_);
  auto& conn = *db_->impl()->conn;
  for (const QString& existing : detail::readTableNames(conn))
    if (existing.compare(table->name_, Qt::CaseInsensitive) == 0)
      platform::Raise(3010, QStringLiteral("Table '%1' already exists.").arg(table->name_));
  if (table->stored_)
    platform::Raise(3367, QStringLiteral("Cannot append. An object with that name already exists in the collection."));
  if (table->fields_.items_.isEmpty())
    platform::Raise(3264, QStringLiteral("No field defined--cannot append TableDef or Index."));
  QStringList columns;
  for (const auto& f : table->fields_.items_)
    columns << detail::quoteName(f->name_) + QLatin1Char(' ') + detail::declaredType(*f);
  detail::exec(conn,
               QStringLiteral("CREATE TABLE %1 (%2)").arg(detail::quoteName(table->name_), columns.join(QStringLiteral(", "))),
               detail::Doing::Writing);
  table->db_ = db_;
  table->stored_ = true;
  db_->tables_.append(table);
}

}  // namespace dao
