#include "weddingdb.h"

#include <QStringList>

#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "platform/dao.h"
#include "platform/vberror.h"
#include "platform/ini.h"
#include "platform/vb.h"

namespace testsupport {
namespace {

QString dbPath(const QString& path) { return path.isEmpty() ? mdlWedding::DatabaseFile() : path; }

}  // namespace

void makeWeddingDb(const QString& path) {
  auto db = dao::DBEngine::instance().CreateDatabase(dbPath(path), dao::dbLangGeneral, dao::dbVersion30);
  platform::ErrorState err;
  mdlWedding::AppendWeddingTable(*db, err);
  mdlWedding::AppendBudgetTable(*db, err);
  db->Close();
  if (err.failed()) throw err.first();
}

void makeOlderWeddingDb(const QStringList& without, bool withBudget) {
  auto db = dao::DBEngine::instance().CreateDatabase(mdlWedding::DatabaseFile(), dao::dbLangGeneral,
                                                     dao::dbVersion30);
  platform::ErrorState err;
  auto table = db->CreateTableDef("PELMORA");
  for (const mdlWedding::WeddingField& spec : mdlWedding::kWeddingFields) {
    const QString name = QString::fromLatin1(spec.name);
    if (without.contains(name)) continue;
    const QString stored = without.contains(name.toLower()) ? name.toLower() : name;
    table->Fields().Append(mdlWedding::CreateWeddingField(*table, spec, stored));
  }
  db->TableDefs().Append(table);
  if (withBudget) mdlWedding::AppendBudgetTable(*db, err);
  auto rs = db->OpenRecordset("select * from PELMORA");
  rs->AddNew();
  rs->Fields("FAMILY_NAME").SetValue(QStringLiteral("כהן"));
  rs->Fields("FIRST_NAME").SetValue(QStringLiteral("דני"));
  rs->Fields("INV_NUM").SetValue(3);
  rs->Fields("CONFIRM").SetValue(1);
  rs->Fields("PHONES").SetValue(QStringLiteral(""));
  rs->Fields("REMARK").SetValue(QStringLiteral(""));
  rs->Update();
  db->Close();
  if (err.failed()) throw err.first();
}

void writeInvitation(dao::Recordset& rs, const Invitation& inv) {
  rs.AddNew();
  rs.Fields(QStringLiteral("FIRST_NAME")).SetValue(inv.firstName);
  rs.Fields(QStringLiteral("FAMILY_NAME")).SetValue(inv.familyName);
  rs.Fields(QStringLiteral("INV_NUM")).SetValue(inv.invNum);
  rs.Fields(QStringLiteral("REMARK")).SetValue(inv.remark);
  rs.Fields(QStringLiteral("LIST_GROUP")).SetValue(inv.listGroup);
  rs.Fields(QStringLiteral("CHECK")).SetValue(inv.check);
  rs.Fields(QStringLiteral("PHONES")).SetValue(inv.phones);
  rs.Fields(QStringLiteral("CONFIRM")).SetValue(inv.confirm);
  rs.Fields(QStringLiteral("TABLE_NO")).SetValue(inv.tableNo);
  rs.Fields(QStringLiteral("INV_STATUS")).SetValue(inv.invStatus);
  rs.Fields(QStringLiteral("ADDRESS")).SetValue(inv.address);
  rs.Fields(QStringLiteral("PRESENT_TYPE")).SetValue(inv.presentType);
  rs.Fields(QStringLiteral("PRESENT")).SetValue(inv.present);
  rs.Update();
}

void addInvitation(const Invitation& inv, const QString& path) {
  auto db = dao::DBEngine::instance().OpenDatabase(dbPath(path));
  auto rs = db->OpenRecordset(QStringLiteral("select * from PELMORA"));
  writeInvitation(*rs, inv);
  rs->Close();
  db->Close();
}

void addInvitations(const QVector<Invitation>& rows, const QString& path) {
  for (const Invitation& inv : rows) addInvitation(inv, path);
}

QVector<QVariantMap> readInvitations(const QString& path) {
  auto db = dao::DBEngine::instance().OpenDatabase(dbPath(path));
  auto rs = db->OpenRecordset(QStringLiteral("select * from PELMORA"));
  QVector<QVariantMap> rows;
  while (!rs->Eof()) {
    QVariantMap row;
    for (int i = 0; i < rs->Fields().Count(); ++i) row.insert(rs->Fields()[i].Name(), rs->Fields()[i].Value());
    rows.append(row);
    rs->MoveNext();
  }
  rs->Close();
  db->Close();
  return rows;
}

void writeOptions(int maxTables, int maxChairs, const QString& couple) {
  const QString ini = mdlWedding::IniFile();
  auto write = [&](const char* key, const QString& value) {
    platform::WritePrivateProfileString(QStringLiteral("Options"), QString::fromLatin1(key), value, ini);
  };
  write("Couple", couple);
  write("His Family", QStringLiteral("משפחת החתן"));
  write("Her Family", QStringLiteral("משפחת הכלה"));
  write("NumOfGroups", QStringLiteral("0"));
  write("Max Tables", QString::number(maxTables));
  write("Max Chairs", QString::number(maxChairs));
  write("Wedding Date", vb::DateText(vb::Today()));
}

void addInvitation(const QString& familyName, const QString& firstName, int invNum, const QVariant& tableNo,
                   const QString& path) {
  Invitation inv;
  inv.familyName = familyName;
  inv.firstName = firstName;
  inv.invNum = invNum;
  inv.tableNo = tableNo;
  addInvitation(inv, path);
}

}  // namespace testsupport
