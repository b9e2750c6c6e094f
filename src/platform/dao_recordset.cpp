// Recordsets: the selected rows (with their rowids) are read into memory when
// the recordset opens and all moving happens there; every change is written
// at once as one SQLite statement (autocommit, so each write is atomic).
#include "dao_internal.h"

namespace dao {

using detail::Cell;
using Mode = Recordset::Impl::Mode;

std::shared_ptr<Recordset> Database::OpenRecordset(const QString& sql) {
  if (!IsOpen()) detail::raiseClosed();
  auto& conn = *impl_->conn;
  const detail::Query q = detail::translateQuery(conn, sql);
  std::shared_ptr<Recordset> rs(new Recordset());
  auto& d = *rs->impl_;
  d.texts.reserve(1 << 16);
  d.conn = impl_->conn;
  d.table = q.table;
  d.columns = q.columns;
  {
    detail::Statement st(conn, q.sql, detail::Doing::Reading);
    for (int i = 0; i < q.binds.size(); ++i) {
      const QVariant& v = q.binds[i];
      if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString();
        sqlite3_bind_text16(st.get(), i + 1, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
      } else if (v.typeId() == QMetaType::Double) {
        sqlite3_bind_double(st.get(), i + 1, v.toDouble());
      } else {
        sqlite3_bind_int64(st.get(), i + 1, v.toLongLong());
      }
    }
    const int n = int(d.columns.size());
    while (st.step()) {
      d.rowids.append(sqlite3_column_int64(st.get(), 0));
      for (int c = 0; c < n; ++c) d.values.append(detail::readStored(st.get(), c + 1, d.columns[c], d.texts));
    }
  }
  d.visited = d.rowCount() == 0 ? 0 : 1;
  for (int c = 0; c < d.columns.size(); ++c) {
    const auto& info = d.columns[c];
    auto field = std::make_shared<Field>(info.name, info.type, info.size);
    field->required_ = info.required;
    field->allowZeroLength_ = info.allowZeroLength;
    field->appended_ = true;
    field->owner_ = rs.get();
    field->column_ = c;
    rs->fields_.items_.append(field);
  }
  rs->fields_.recordset_ = rs.get();
  return rs;
}

namespace {

Recordset::Impl& live(const std::unique_ptr<Recordset::Impl>& impl) {
  if (impl->closed || !impl->conn->isOpen()) detail::raiseClosed();
  return *impl;
}

bool hasCurrent(const Recordset::Impl& d) { return !d.currentDeleted && d.cur >= 0 && d.cur < d.rowCount(); }

void requireCurrent(const Recordset::Impl& d) {
  if (d.currentDeleted) platform::Raise(3167, QStringLiteral("Record is deleted."));
  if (!hasCurrent(d)) detail::raiseNoCurrentRecord();
}

// Moving drops an edit that was not stored, as Jet does.
void moveTo(Recordset::Impl& d, int index) {
  d.mode = Mode::None;
  d.currentDeleted = false;
  d.cur = index;
  d.visited = std::max<long>(d.visited, std::min<long>(index + 1, d.rowCount()));
  if (index >= d.rowCount()) d.visited = d.rowCount();
}

}  // namespace

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;

bool Recordset::Eof() const {
  const auto& d = live(impl_);
  return !d.currentDeleted && d.cur >= d.rowCount();
}

bool Recordset::Bof() const {
  const auto& d = live(impl_);
  return !d.currentDeleted && (d.cur < 0 || (d.rowCount() == 0));
}

void Recordset::MoveFirst() {
  auto& d = live(impl_);
  if ((d.rowCount() == 0)) detail::raiseNoCurrentRecord();
  moveTo(d, 0);
}

void Recordset::MoveNext() {
  auto& d = live(impl_);
  if (d.currentDeleted) {  // the row after the deleted one already sits at cur
    moveTo(d, d.cur);
    return;
  }
  if (d.cur >= d.rowCount()) detail::raiseNoCurrentRecord();
  moveTo(d, d.cur + 1);
}

void Recordset::MoveLast() {
  auto& d = live(impl_);
  if ((d.rowCount() == 0)) detail::raiseNoCurrentRecord();
  moveTo(d, int(d.rowCount()) - 1);
}

long Recordset::RecordCount() const { return live(impl_).visited; }

long Recordset::AbsolutePosition() const {
  const auto& d = live(impl_);
  return hasCurrent(d) ? d.cur : -1;
}

void Recordset::SetAbsolutePosition(long position) {
  auto& d = live(impl_);
  if (position < 0 || position >= d.rowCount()) platform::Raise(3001, QStringLiteral("Invalid argument."));
  moveTo(d, int(position));
}

dao::Fields& Recordset::Fields() {
  live(impl_);
  return fields_;
}

void Recordset::AddNew() {
  auto& d = live(impl_);
  d.mode = Mode::Add;
  d.buffer = QVector<Cell>(d.columns.size());
  d.dirty = QVector<bool>(d.columns.size(), false);
}

void Recordset::Edit() {
  auto& d = live(impl_);
  d.mode = Mode::None;
  requireCurrent(d);
  d.mode = Mode::Edit;
  d.buffer.clear();
  for (int c = 0; c < d.columns.size(); ++c) d.buffer.append(d.cell(d.cur, c));
  d.dirty = QVector<bool>(d.columns.size(), false);
}

void Recordset::CancelUpdate() {
  auto& d = live(impl_);
  if (d.mode == Mode::None)
    platform::Raise(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
  d.mode = Mode::None;
}

void Recordset::Update() {
  auto& d = live(impl_);
  if (d.mode == Mode::None)
    platform::Raise(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
  // The whole record is checked before anything is written; a refusal keeps
  // the edit open so the caller may correct it or cancel.
  for (int c = 0; c < d.columns.size(); ++c) detail::validate(d.table, d.columns[c], d.buffer[c]);
  detail::beforeRowWrite();
  auto& conn = *d.conn;
  if (d.mode == Mode::Add) {
    QStringList names, marks;
    for (const auto& c : d.columns) {
      names << detail::quoteName(c.name);
      marks << QStringLiteral("?");
    }
    detail::Statement st(conn,
                         QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(detail::quoteName(d.table), names.join(QStringLiteral(", ")),
                                  marks.join(QStringLiteral(", "))),
                         detail::Doing::Writing);
    for (int c = 0; c < d.columns.size(); ++c) detail::bindCell(st.get(), c + 1, d.buffer[c]);
    st.run();
    // The new row joins the end of the set; the current record stays.
    const bool pastEnd = d.cur >= d.rowCount();
    d.rowids.append(sqlite3_last_insert_rowid(conn.db));
    for (const Cell& c : d.buffer) d.values.append(detail::toStored(c, d.texts));
    if (pastEnd) d.cur = int(d.rowCount());
    ++d.visited;
  } else {
    if (!hasCurrent(d)) detail::raiseNoCurrentRecord();
    QStringList sets;
    QVector<int> changed;
    for (int c = 0; c < d.columns.size(); ++c)
      if (d.dirty[c]) {
        sets << detail::quoteName(d.columns[c].name) + QStringLiteral(" = ?");
        changed << c;
      }
    if (!changed.isEmpty()) {
      // The row is written only while it is still the one read: the same
      // rowid and every field as read (another program may have deleted it,
      // reused its rowid or changed it since), all in this one statement.
      QStringList same;
      for (const auto& c : d.columns) {
        const QString name = detail::quoteName(c.name);
        // A value of a type this engine never stores was read as converted;
        // it cannot be compared, so only the rest of the row is.
        same << QStringLiteral("(%1 IS ? OR typeof(%1) NOT IN ('%2', 'null'))")
                    .arg(name, c.type == dbText ? QStringLiteral("text") : QStringLiteral("integer"));
      }
      detail::Statement st(conn,
                           QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ? AND %3")
                               .arg(detail::quoteName(d.table), sets.join(QStringLiteral(", ")),
                                    same.join(QStringLiteral(" AND "))),
                           detail::Doing::Writing);
      int bind = 1;
      for (int k : changed) detail::bindCell(st.get(), bind++, d.buffer[k]);
      sqlite3_bind_int64(st.get(), bind++, d.rowids[d.cur]);
      const qsizetype first = qsizetype(d.cur) * d.columns.size();
      for (int c = 0; c < d.columns.size(); ++c) detail::bindStored(st.get(), bind++, d.values[first + c], d.texts);
      st.run();
      if (sqlite3_changes(conn.db) == 0) platform::Raise(3167, QStringLiteral("Record is deleted."));
    }
    for (int c = 0; c < d.columns.size(); ++c)
      if (d.dirty[c]) d.values[d.cur * d.columns.size() + c] = detail::toStored(d.buffer[c], d.texts);
  }
  d.mode = Mode::None;
}

void Recordset::Delete() {
  auto& d = live(impl_);
  d.mode = Mode::None;
  requireCurrent(d);
  detail::beforeRowWrite();
  detail::Statement st(*d.conn, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(detail::quoteName(d.table)),
                       detail::Doing::Writing);
  sqlite3_bind_int64(st.get(), 1, d.rowids[d.cur]);
  st.run();
  // The deleted row stays current (and unreadable) until the next move.
  d.rowids.remove(d.cur);
  d.values.remove(d.cur * d.columns.size(), d.columns.size());
  d.currentDeleted = true;
  d.visited = std::max<long>(0, d.visited - 1);
}

void Recordset::Close() {
  // Closing twice is harmless: callers close in their error paths too.
  impl_->closed = true;
  impl_->mode = Mode::None;
  impl_->rowids.clear();
  impl_->values.clear();
  impl_->texts.clear();
  impl_->buffer.clear();
}

QVariant Field::Value() const {
  if (!owner_) detail::raiseInvalidOperation();
  const auto& d = live(owner_->impl_);
  if (d.mode != Mode::None) return detail::fromCell(d.columns[column_], d.buffer[column_]);
  requireCurrent(d);
  return detail::fromCell(d.columns[column_], d.cell(d.cur, column_));
}

void Field::SetValue(const QVariant& value) {
  if (!owner_) detail::raiseInvalidOperation();
  auto& d = live(owner_->impl_);
  if (d.mode == Mode::None)
    platform::Raise(3020, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
  d.buffer[column_] = detail::toCell(d.columns[column_], value);
  // A field set to the value it reads as keeps what the file holds, byte for
  // byte (text another program wrote in another encoding included).
  d.dirty[column_] = d.mode == Mode::Add || !detail::sameCell(d.buffer[column_], d.cell(d.cur, column_));
}

}  // namespace dao
