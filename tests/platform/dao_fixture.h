#pragma once
// A database for the engine's own tests, with no wedding in it: PEOPLE, whose
// 13 fields cover what the engine checks (text sizes, required and zero-length
// rules, Byte, Integer, Boolean), and ACCOUNTS, 30 required Currency fields.
#include <QString>
#include <QVariant>
#include <memory>

#include "platform/dao.h"

namespace daotest {

struct FieldSpec {
  const char* name;
  dao::DataType type;
  int size;
  bool required;
  bool zeroLength;
};

extern const FieldSpec kPeople[13];
extern const char* const kAccounts[30];

// The file with both tables; PEOPLE gets its first `peopleFields` fields only
// (a file made before the last three were added).
std::shared_ptr<dao::Database> createTestDatabase(const QString& path, int peopleFields);

// One PEOPLE row; an invalid QVariant stores Null.
struct Guest {
  QString family, first;
  QVariant confirm, group, table, phones;
  QVariant count = 2;
};
// Adds the row through an open record set over PEOPLE.
void appendGuest(dao::Recordset& rs, const Guest& g);
void addGuest(dao::Database& db, const Guest& g);

}  // namespace daotest
