#include "dao_fixture.h"

namespace daotest {

const FieldSpec kPeople[13] = {
    {"GIVEN_NAME", dao::dbText, 20, true, false}, {"SURNAME", dao::dbText, 20, true, false},
    {"PARTY_SIZE", dao::dbByte, 0, false, false}, {"NOTE", dao::dbText, 40, false, true},
    {"CATEGORY", dao::dbText, 50, false, false},  {"CHECK", dao::dbInteger, 0, false, false},
    {"PHONES", dao::dbText, 30, false, true},     {"STATUS", dao::dbByte, 0, true, false},
    {"ROOM_NO", dao::dbByte, 0, false, false},    {"ACTIVE", dao::dbBoolean, 0, false, false},
    {"ADDRESS", dao::dbText, 50, false, true},    {"ITEM_KIND", dao::dbByte, 0, false, false},
    {"ITEM", dao::dbText, 20, false, true},
};

const char* const kAccounts[30] = {
    "AMOUNT_01", "AMOUNT_02", "AMOUNT_03", "AMOUNT_04", "AMOUNT_05", "AMOUNT_06", "AMOUNT_07", "AMOUNT_08",
    "AMOUNT_09", "AMOUNT_10", "AMOUNT_11", "AMOUNT_12", "AMOUNT_13", "AMOUNT_14", "AMOUNT_15", "AMOUNT_16",
    "AMOUNT_17", "AMOUNT_18", "AMOUNT_19", "AMOUNT_20", "AMOUNT_21", "AMOUNT_22", "AMOUNT_23", "AMOUNT_24",
    "AMOUNT_25", "AMOUNT_26", "AMOUNT_27", "AMOUNT_28", "AMOUNT_29", "AMOUNT_30",
};

std::shared_ptr<dao::Database> createTestDatabase(const QString& path, int peopleFields) {
  auto db = dao::DBEngine::instance().CreateDatabase(path, dao::dbLangGeneral, dao::dbVersion30);
  auto people = db->CreateTableDef("PEOPLE");
  for (int i = 0; i < peopleFields; ++i) {
    const FieldSpec& s = kPeople[i];
    auto f = people->CreateField(s.name, s.type, s.size);
    if (s.type == dao::dbText) f->SetAllowZeroLength(s.zeroLength);
    f->SetRequired(s.required);
    people->Fields().Append(f);
  }
  db->TableDefs().Append(people);
  auto accounts = db->CreateTableDef("ACCOUNTS");
  for (const char* name : kAccounts) {
    auto f = accounts->CreateField(name, dao::dbCurrency);
    f->SetRequired(true);
    accounts->Fields().Append(f);
  }
  db->TableDefs().Append(accounts);
  return db;
}

void appendGuest(dao::Recordset& rs, const Guest& g) {
  rs.AddNew();
  rs.Fields("SURNAME").SetValue(g.family);
  rs.Fields("GIVEN_NAME").SetValue(g.first);
  rs.Fields("PARTY_SIZE").SetValue(g.count);
  rs.Fields("STATUS").SetValue(g.confirm);
  rs.Fields("CATEGORY").SetValue(g.group);
  rs.Fields("ROOM_NO").SetValue(g.table);
  rs.Fields("PHONES").SetValue(g.phones);
  rs.Update();
}

void addGuest(dao::Database& db, const Guest& g) {
  auto rs = db.OpenRecordset("select * from PEOPLE");
  appendGuest(*rs, g);
  rs->Close();
}

}  // namespace daotest
