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

// Each field is created and appended as its own step of err, so one failing
// field does not stop the others; the table is appended last.
void AppendWeddingTable(dao::Database& db, platform::ErrorState& err);
void AppendBudgetTable(dao::Database& db, platform::ErrorState& err);

}  // namespace mdlWedding
