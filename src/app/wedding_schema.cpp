#include "wedding_schema.h"

namespace mdlWedding {

const char* const kBudgetFields[30] = {
    "B_DRESS", "B_SUIT", "B_SHOES", "B_JEWEL", "B_HAIR_DESIGN", "B_MAKEUP", "B_RINGS", "B_FLOWERS",
    "B_INV", "B_RABBINATE", "B_RABBI", "B_GARDEN", "B_KAITRING", "B_BAR", "B_PRODUCER",
    "B_ENGAGEMENT", "B_SHABAT_HATAN", "B_STILS", "B_VIDEO", "B_MUSIC", "B_LIGHTING",
    "B_CEREMONY_DESIGN", "B_TABLE_DESIGN", "B_COCKTAIL", "B_SOUCENIR_GIFT", "B_CAR", "B_SECURITY",
    "B_GIMMICK", "B_TIPS", "B_EXTRA"};

const WeddingField kWeddingFields[13] = {
    {"FIRST_NAME", dao::dbText, 20, true, false},   {"FAMILY_NAME", dao::dbText, 20, true, false},
    {"INV_NUM", dao::dbByte, 0, false, false},      {"REMARK", dao::dbText, 40, false, true},
    {"LIST_GROUP", dao::dbText, 50, false, false},  {"CHECK", dao::dbInteger, 0, false, false},
    {"PHONES", dao::dbText, 30, false, true},       {"CONFIRM", dao::dbByte, 0, true, false},
    {"TABLE_NO", dao::dbByte, 0, false, false},     {"INV_STATUS", dao::dbBoolean, 0, false, false},
    {"ADDRESS", dao::dbText, 50, false, true},      {"PRESENT_TYPE", dao::dbByte, 0, false, false},
    {"PRESENT", dao::dbText, 20, false, true},
};

namespace {

// The three fields that an older file lacks and the upgrade adds.
bool addedByUpgrade(const char* name) {
  return qstrcmp(name, "ADDRESS") == 0 || qstrcmp(name, "PRESENT_TYPE") == 0 || qstrcmp(name, "PRESENT") == 0;
}

// CHECK is never read, so a file without it serves as well.
bool readByProgram(const char* name) { return qstrcmp(name, "CHECK") != 0; }

[[noreturn]] void raiseMissing(const QString& table, const QString& field) {
  platform::Raise(3265, field.isEmpty() ? QStringLiteral("Table '%1' is missing.").arg(table)
                                        : QStringLiteral("Field '%1' of table '%2' is missing.").arg(field, table));
}

bool hasTable(dao::Database& db, const QString& name) {
  for (int i = 0; i < db.TableDefs().Count(); ++i)
    if (db.TableDefs()[i].Name().compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool hasField(dao::TableDef& table, const QString& name) {
  for (int i = 0; i < table.Fields().Count(); ++i)
    if (table.Fields()[i].Name().compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

}  // namespace

void CheckWeddingDatabase(dao::Database& db) {
  db.CheckIntegrity();
  const QString guests = QStringLiteral("PELMORA");
  if (!hasTable(db, guests)) raiseMissing(guests, QString());
  for (const WeddingField& spec : kWeddingFields) {
    const QString name = QString::fromLatin1(spec.name);
    if (readByProgram(spec.name) && !addedByUpgrade(spec.name) && !hasField(db.TableDefs()(guests), name))
      raiseMissing(guests, name);
  }
  const QString budget = QStringLiteral("WED_BUDGET");
  if (!hasTable(db, budget)) return;
  for (const char* field : kBudgetFields)
    if (!hasField(db.TableDefs()(budget), QString::fromLatin1(field))) raiseMissing(budget, QString::fromLatin1(field));
}

std::shared_ptr<dao::Field> CreateWeddingField(dao::TableDef& table, const WeddingField& spec, const QString& name) {
  auto field = table.CreateField(name, spec.type, spec.size);
  if (spec.type == dao::dbText) field->SetAllowZeroLength(spec.zeroLength);
  field->SetRequired(spec.required);
  return field;
}

void AppendWeddingTable(dao::Database& db, platform::ErrorState& err) {
  std::shared_ptr<dao::TableDef> table;
  err([&] { table = db.CreateTableDef(QStringLiteral("PELMORA")); });
  if (!table) return;
  for (const WeddingField& spec : kWeddingFields)
    err([&] { table->Fields().Append(CreateWeddingField(*table, spec, QString::fromLatin1(spec.name))); });
  err([&] { db.TableDefs().Append(table); });
}

void AppendBudgetTable(dao::Database& db, platform::ErrorState& err) {
  std::shared_ptr<dao::TableDef> table;
  err([&] { table = db.CreateTableDef(QStringLiteral("WED_BUDGET")); });
  if (!table) return;
  for (const char* name : kBudgetFields) {
    err([&] {
      auto field = table->CreateField(QString::fromLatin1(name), dao::dbCurrency);
      field->SetRequired(true);
      table->Fields().Append(field);
    });
  }
  err([&] { db.TableDefs().Append(table); });
}

}  // namespace mdlWedding
