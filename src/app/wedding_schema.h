#pragma once
// The two tables of Wed.mdb, field by field.
#include <QString>

#include "platform/dao.h"
#include "platform/vberror.h"

namespace mdlWedding {

inline const QString kMakerWebAddress = QStringLiteral("www.pelmora.example");
inline const QString kSupportMailAddress = QStringLiteral("support@pelmora.example");

// The thirty budget headings, in field order.
extern const char* const kBudgetFields[30];

// One field of the guest table PELMORA.
struct WeddingField {
  const char* name;
  dao::DataType type;
  int size;
  bool required;
  bool zeroLength;
};
// The guest table's fields, in field order.
extern const WeddingField kWeddingFields[13];

// The field as the program creates it (size, required, zero length), under
// `name`, which differs from the field's own name at most in case.
std::shared_ptr<dao::Field> CreateWeddingField(dao::TableDef& table, const WeddingField& spec, const QString& name);

// Each field is created and appended as its own step of err, so one failing
// field does not stop the others; the table is appended last.
void AppendWeddingTable(dao::Database& db, platform::ErrorState& err);
void AppendBudgetTable(dao::Database& db, platform::ErrorState& err);

// Raises unless db is a wedding database that the program can use or bring up
// to date: every page readable, PELMORA with every field the program reads
// (the three that the upgrade adds may be missing), and WED_BUDGET, when
// present, with its thirty fields (a missing table is added by the upgrade).
void CheckWeddingDatabase(dao::Database& db);

}  // namespace mdlWedding
