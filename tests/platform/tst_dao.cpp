// The database engine's recordsets: Jet's refusals on Update (and that a
// refusal stores nothing), values and money, the query texts the program
// sends, the Hebrew sort, moving, counting, adding and deleting.
#include <sqlite3.h>

#include <QFile>
#include <limits>

#include "dao_fixture.h"
#include "platform/dao.h"
#include "support/errors.h"
#include "support/otherconnection.h"
#include "support/testsupport.h"

using daotest::addGuest;
using daotest::Guest;
using testsupport::errorOf;

namespace {

// "family first" of every row, in the recordset's order.
QStringList names(dao::Database& db, const QString& sql) {
  auto rs = db.OpenRecordset(sql);
  QStringList out;
  while (!rs->Eof()) {
    out << rs->Fields("SURNAME").Value().toString() + ' ' + rs->Fields("GIVEN_NAME").Value().toString();
    rs->MoveNext();
  }
  return out;
}

long rowCount(const QString& path, const QString& table) {
  auto db = dao::DBEngine::instance().OpenDatabase(path);
  auto rs = db->OpenRecordset("select * from " + table);
  if (!rs->Eof()) rs->MoveLast();
  return rs->RecordCount();
}

}  // namespace

class TestDaoRecordset : public QObject {
  Q_OBJECT

 private slots:
  void updateRefusesWhatJetRefusesAndStoresNothing() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    auto db = daotest::createTestDatabase(path, 13);
    addGuest(*db, {"כהן", "דן", 1, "1", 3, "050-1234567"});

    auto rs = db->OpenRecordset("select * from PEOPLE");
    auto fill = [&] {
      rs->AddNew();
      rs->Fields("SURNAME").SetValue("לוי");
      rs->Fields("GIVEN_NAME").SetValue("רות");
      rs->Fields("STATUS").SetValue(0);
    };
    struct Case {
      const char* field;
      QVariant value;
      long number;
    };
    const Case cases[] = {
        {"GIVEN_NAME", QString(""), 3315},
        {"STATUS", QVariant(), 3314},
        {"SURNAME", QString(21, QChar(0x05D0)), 3163},
        {"PARTY_SIZE", 256, 3349},
        {"PARTY_SIZE", -1, 3349},
        {"CHECK", 40000, 3349},
        {"CHECK", -32769, 3349},
        {"CATEGORY", QString(""), 3315},
    };
    for (const Case& c : cases) {
      fill();
      rs->Fields(c.field).SetValue(c.value);
      const auto e = errorOf([&] { rs->Update(); });
      QVERIFY2(e.number == c.number, c.field);
      rs->CancelUpdate();  // the refusal left the edit open
      QCOMPARE(rowCount(path, "PEOPLE"), 1L);
    }
    fill();
    rs->Fields("GIVEN_NAME").SetValue("");
    QCOMPARE(errorOf([&] { rs->Update(); }).description,
             QString("Field 'PEOPLE.GIVEN_NAME' cannot be a zero-length string."));
    rs->Fields("GIVEN_NAME").SetValue("רות");
    rs->Fields("STATUS").SetValue(QVariant());
    QCOMPARE(errorOf([&] { rs->Update(); }).description,
             QString("The field 'PEOPLE.STATUS' cannot contain a Null value because the Required property for "
                     "this field is set to True. Enter a value in this field."));
    rs->Fields("STATUS").SetValue(0);
    rs->Fields("SURNAME").SetValue(QString(21, 'x'));
    QCOMPARE(errorOf([&] { rs->Update(); }).description,
             QString("The field is too small to accept the amount of data you attempted to add. Try inserting or "
                     "pasting less data."));
    // Corrected in the same edit, it goes in: 20 Hebrew letters fit a Text(20).
    const QString twenty = QString("אבגדהוזחטיכלמנסעפצקר");
    QCOMPARE(twenty.size(), 20);
    rs->Fields("SURNAME").SetValue(twenty);
    rs->Fields("NOTE").SetValue("");  // this one allows ""
    rs->Update();
    QCOMPARE(rowCount(path, "PEOPLE"), 2L);
    QCOMPARE(names(*db, "select * from PEOPLE where GIVEN_NAME = 'רות'"), QStringList{twenty + " רות"});

    // Letters do not convert into a number; outside an edit nothing is set.
    rs->AddNew();
    auto e = errorOf([&] { rs->Fields("PARTY_SIZE").SetValue("abc"); });
    QCOMPARE(e.number, 3421L);
    QCOMPARE(e.description, QString("Data type conversion error."));
    QCOMPARE(errorOf([&] { rs->Fields("PARTY_SIZE").SetValue(""); }).number, 3421L);
    QCOMPARE(errorOf([&] { rs->Fields("ACTIVE").SetValue("maybe"); }).number, 3421L);
    rs->CancelUpdate();
    e = errorOf([&] { rs->Fields("PARTY_SIZE").SetValue(3); });
    QCOMPARE(e.number, 3020L);
    QCOMPARE(e.description, QString("Update or CancelUpdate without AddNew or Edit."));
    QCOMPARE(errorOf([&] { rs->Update(); }).number, 3020L);
    QCOMPARE(errorOf([&] { rs->CancelUpdate(); }).number, 3020L);

    // An edit that breaks a rule leaves the stored row as it was.
    rs->MoveFirst();
    rs->Edit();
    rs->Fields("SURNAME").SetValue(QString(21, 'y'));
    QCOMPARE(errorOf([&] { rs->Update(); }).number, 3163L);
    rs->CancelUpdate();
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("כהן")));
    QCOMPARE(names(*dao::DBEngine::instance().OpenDatabase(path), "select * from PEOPLE").first(),
             QString("כהן דן"));
  }

  void valuesConvertAndReadBackInTheirTypes() {
    testsupport::ProgramFolder folder;
    auto db = daotest::createTestDatabase(folder.file("Wed.mdb"), 13);
    auto rs = db->OpenRecordset("select * from PEOPLE");
    rs->AddNew();
    QVERIFY(!rs->Fields("PARTY_SIZE").Value().isValid());  // a new record starts Null
    rs->Fields("SURNAME").SetValue("Levi");
    rs->Fields("GIVEN_NAME").SetValue("Dan");
    rs->Fields("PARTY_SIZE").SetValue(2.5);       // halves go to even
    rs->Fields("ROOM_NO").SetValue(" 3.5 ");  // numeric text
    rs->Fields("STATUS").SetValue(true);      // True is 1 in a Byte
    rs->Fields("CHECK").SetValue(true);        // and -1 in an Integer
    rs->Fields("ACTIVE").SetValue(7);
    rs->Fields("CATEGORY").SetValue(4);      // a number into Text
    rs->Fields("ITEM_KIND").SetValue(QVariant::fromValue(vb::Currency::fromRaw(15000)));  // 1.5 -> 2
    rs->Update();
    rs = db->OpenRecordset("select * from PEOPLE");
    QCOMPARE(rs->Fields("PARTY_SIZE").Value(), QVariant(2));
    QCOMPARE(rs->Fields("ROOM_NO").Value(), QVariant(4));
    QCOMPARE(rs->Fields("STATUS").Value(), QVariant(1));
    QCOMPARE(rs->Fields("CHECK").Value(), QVariant(-1));
    QCOMPARE(rs->Fields("ACTIVE").Value(), QVariant(true));
    QCOMPARE(rs->Fields("CATEGORY").Value(), QVariant(QString("4")));
    QCOMPARE(rs->Fields("ITEM_KIND").Value(), QVariant(2));
    QVERIFY(!rs->Fields("ADDRESS").Value().isValid());
    QCOMPARE(rs->Fields("party_size").Value(), QVariant(2));  // names in any case
    QCOMPARE(errorOf([&] { rs->Fields("NO_SUCH"); }).number, 3265L);

    rs->Edit();
    rs->Fields("ACTIVE").SetValue("False");
    rs->Fields("PARTY_SIZE").SetValue(3);
    QCOMPARE(rs->Fields("PARTY_SIZE").Value(), QVariant(3));  // the edit shows what was set
    rs->Update();
    rs = db->OpenRecordset("select * from PEOPLE");
    QCOMPARE(rs->Fields("ACTIVE").Value(), QVariant(false));
    QCOMPARE(rs->Fields("PARTY_SIZE").Value(), QVariant(3));
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("Levi")));
  }

  void moneyIsExact() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    auto db = daotest::createTestDatabase(path, 13);
    auto rs = db->OpenRecordset("select * from ACCOUNTS");
    QVERIFY(rs->Eof());
    rs->AddNew();
    for (int i = 0; i < 30; ++i) rs->Fields()[i].SetValue(0);
    rs->Fields("AMOUNT_01").SetValue(0.1);
    rs->Fields("AMOUNT_02").SetValue("0.2");
    rs->Fields("AMOUNT_03").SetValue("922337203685477.5807");
    rs->Fields("AMOUNT_04").SetValue("-922337203685477.5808");
    rs->Fields("AMOUNT_07").SetValue("1500.5");
    rs->Fields("AMOUNT_14").SetValue("0.00005");   // halves to even: 0
    rs->Fields("AMOUNT_26").SetValue("0.00015");   // 0.0002
    rs->Fields("AMOUNT_29").SetValue(1500);
    rs->Fields("AMOUNT_30").SetValue(QVariant());
    auto e = errorOf([&] { rs->Update(); });
    QCOMPARE(e.number, 3314L);
    QVERIFY(e.description.contains("'ACCOUNTS.AMOUNT_30'"));
    rs->Fields("AMOUNT_30").SetValue("922337203685477.5808");  // one more than the largest
    QCOMPARE(errorOf([&] { rs->Update(); }).number, 3349L);
    rs->Fields("AMOUNT_30").SetValue(1e20);
    QCOMPARE(errorOf([&] { rs->Update(); }).number, 3349L);
    QCOMPARE(rowCount(path, "ACCOUNTS"), 0L);
    rs->Fields("AMOUNT_30").SetValue("7");
    rs->Update();

    auto reopened = dao::DBEngine::instance().OpenDatabase(path);
    rs = reopened->OpenRecordset("select * from ACCOUNTS");
    auto raw = [&](const char* name) { return rs->Fields(name).Value().value<vb::Currency>().raw(); };
    QCOMPARE(rs->Fields("AMOUNT_01").Value().metaType(), QMetaType::fromType<vb::Currency>());
    QCOMPARE(raw("AMOUNT_01"), 1000);
    QCOMPARE(raw("AMOUNT_02"), 2000);
    QCOMPARE(raw("AMOUNT_01") + raw("AMOUNT_02"), 3000);
    QCOMPARE(raw("AMOUNT_03"), std::numeric_limits<qint64>::max());
    QCOMPARE(raw("AMOUNT_04"), std::numeric_limits<qint64>::min());
    QCOMPARE(raw("AMOUNT_07"), 15005000);
    QCOMPARE(raw("AMOUNT_14"), 0);
    QCOMPARE(raw("AMOUNT_26"), 2);
    QCOMPARE(raw("AMOUNT_29"), 15000000);
    QCOMPARE(raw("AMOUNT_30"), 70000);
  }

  void theQueryTextsOfTheProgram() {
    testsupport::ProgramFolder folder;
    auto db = daotest::createTestDatabase(folder.file("Wed.mdb"), 13);
    addGuest(*db, {"Cohen", "Avi", 1, "4", 3});
    addGuest(*db, {"O'Brien", "Dan", 2, "4", 7});
    addGuest(*db, {"Levi", "Rina", 1, "3", 12});
    addGuest(*db, {"Adler", "Tom", 1, "4", QVariant()});
    addGuest(*db, {"Bar", "Gil", 3, "3", 0});
    addGuest(*db, {"Zur", "Noa", 0, "4", 5});
    addGuest(*db, {"cohen", "Avi", 1, "1", 9});

    QCOMPARE(names(*db, "select * from PEOPLE").size(), 7);
    QCOMPARE(names(*db, "select * from PEOPLE").first(), QString("Cohen Avi"));  // the order rows were added
    QCOMPARE(names(*db, "select * from PEOPLE where (STATUS = 1) and (CATEGORY = '4') order by ROOM_NO DESC"),
             (QStringList{"Cohen Avi", "Adler Tom"}));  // a Null table sorts last downwards
    QCOMPARE(names(*db, "select * from PEOPLE where CATEGORY = '3' order by SURNAME ASC"),
             (QStringList{"Bar Gil", "Levi Rina"}));
    QCOMPARE(names(*db, "select * from PEOPLE where (STATUS = 1)"),
             (QStringList{"Cohen Avi", "Levi Rina", "Adler Tom", "cohen Avi"}));
    QCOMPARE(names(*db, "select * from PEOPLE where (STATUS <> 2) and (CATEGORY = '4')"),
             (QStringList{"Cohen Avi", "Adler Tom", "Zur Noa"}));
    QCOMPARE(names(*db, "select * from PEOPLE where (STATUS between 1 and 2) and (CATEGORY = '3')"),
             (QStringList{"Levi Rina"}));
    QCOMPARE(names(*db, "select * from PEOPLE where ROOM_NO > 0 order by ROOM_NO ASC"),
             (QStringList{"Cohen Avi", "Zur Noa", "O'Brien Dan", "cohen Avi", "Levi Rina"}));
    // A name with an apostrophe, written twice in the text; = is exact.
    QCOMPARE(names(*db, "select * from PEOPLE where SURNAME = 'O''Brien' and GIVEN_NAME = 'Dan';"),
             (QStringList{"O'Brien Dan"}));
    QCOMPARE(names(*db, "select * from PEOPLE where SURNAME = 'cohen' and GIVEN_NAME = 'Avi';"),
             (QStringList{"cohen Avi"}));
    QCOMPARE(names(*db, "SELECT * FROM people WHERE status = 3 ORDER BY Surname desc"),
             (QStringList{"Bar Gil"}));
    QCOMPARE(names(*db, "select * from PEOPLE where STATUS = -1").size(), 0);
    QVERIFY(db->OpenRecordset("select * from ACCOUNTS")->Eof());

    auto e = errorOf([&] { db->OpenRecordset("select * from GUESTS"); });
    QCOMPARE(e.number, 3078L);
    QCOMPARE(e.description,
             QString("The Microsoft Jet database engine cannot find the input table or query 'GUESTS'."));
    QCOMPARE(errorOf([&] { db->OpenRecordset("select * from PEOPLE where NAME = 'x'"); }).number, 3061L);
    QCOMPARE(errorOf([&] { db->OpenRecordset("select * from PEOPLE order by NAME ASC"); }).number, 3061L);
    QCOMPARE(errorOf([&] { db->OpenRecordset("select * from PEOPLE where STATUS = 'yes'"); }).number, 3464L);
    QCOMPARE(errorOf([&] { db->OpenRecordset("select * from PEOPLE where CATEGORY = 4"); }).number, 3464L);
    const char* refused[] = {
        "select GIVEN_NAME from PEOPLE",
        "delete from PEOPLE",
        "select * from PEOPLE where STATUS = 1 or STATUS = 2",
        "select * from PEOPLE where STATUS < 2",
        "select * from PEOPLE where SURNAME = 'Levi",
        "select * from PEOPLE where (STATUS = 1",
        "select * from PEOPLE; delete from PEOPLE",
        "select * from PEOPLE where SURNAME = 'x' order by ROOM_NO DESC, SURNAME ASC",
    };
    for (const char* sql : refused) {
      e = errorOf([&] { db->OpenRecordset(sql); });
      QVERIFY2(e.number != 0 && !e.description.isEmpty(), sql);
    }
    QCOMPARE(names(*db, "select * from PEOPLE").size(), 7);
  }

  void textSortsInHebrewDictionaryOrder() {
    testsupport::ProgramFolder folder;
    auto db = daotest::createTestDatabase(folder.file("Wed.mdb"), 13);
    // Family names chosen so that code-point order would differ: a final
    // letter sorts as its regular form, Latin without regard to case.
    const QStringList stored = {"תמר", "אןד", "bar", "אנג", "Cohen", "בית", "2nd", "Adler", "ם", "כץ", "כצב"};
    int i = 0;
    for (const QString& family : stored) addGuest(*db, {family, "x", 1, "1", ++i, QString("0%1").arg(i)});
    addGuest(*db, {"אב", "x", 1, "1", QVariant(), QVariant()});
    QCOMPARE(names(*db, "select * from PEOPLE where CATEGORY = '1' order by SURNAME ASC"),
             (QStringList{"2nd x", "Adler x", "bar x", "Cohen x", "אב x", "אנג x", "אןד x", "בית x", "כץ x",
                          "כצב x", "ם x", "תמר x"}));
    QCOMPARE(names(*db, "select * from PEOPLE order by SURNAME DESC").first(), QString("תמר x"));
    // Ties are broken the same way every time.
    addGuest(*db, {"adler", "z", 1, "2", 1});
    addGuest(*db, {"ADLER", "y", 1, "2", 1});
    QCOMPARE(names(*db, "select * from PEOPLE where CATEGORY = '2' order by SURNAME ASC"),
             (QStringList{"ADLER y", "adler z"}));
    // Nulls first upwards, last downwards; numbers by value.
    QCOMPARE(names(*db, "select * from PEOPLE where CATEGORY = '1' order by PHONES ASC").first(), QString("אב x"));
    QCOMPARE(names(*db, "select * from PEOPLE where CATEGORY = '1' order by PHONES DESC").last(), QString("אב x"));
    const QStringList byTable = names(*db, "select * from PEOPLE where CATEGORY = '1' order by ROOM_NO ASC");
    QCOMPARE(byTable.mid(0, 3), (QStringList{"אב x", "תמר x", "אןד x"}));
    QCOMPARE(byTable.mid(10), (QStringList{"כץ x", "כצב x"}));  // 10 and 11 after 9
  }

  void movingCountingAddingAndDeleting() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    auto db = daotest::createTestDatabase(path, 13);
    auto empty = db->OpenRecordset("select * from PEOPLE");
    QVERIFY(empty->Eof());
    QVERIFY(empty->Bof());
    QCOMPARE(empty->RecordCount(), 0L);
    QCOMPARE(empty->AbsolutePosition(), -1L);
    auto e = errorOf([&] { empty->MoveFirst(); });
    QCOMPARE(e.number, 3021L);
    QCOMPARE(e.description, QString("No current record."));
    QCOMPARE(errorOf([&] { empty->MoveNext(); }).number, 3021L);
    QCOMPARE(errorOf([&] { empty->Fields("GIVEN_NAME").Value(); }).number, 3021L);
    QCOMPARE(errorOf([&] { empty->Delete(); }).number, 3021L);
    QCOMPARE(errorOf([&] { empty->Edit(); }).number, 3021L);

    for (const char* n : {"A", "B", "C", "D", "E"}) addGuest(*db, {n, "x", 1, "1", 1});
    auto rs = db->OpenRecordset("select * from PEOPLE");
    QVERIFY(!rs->Eof() && !rs->Bof());
    QCOMPARE(rs->RecordCount(), 1L);
    QCOMPARE(rs->AbsolutePosition(), 0L);
    rs->MoveNext();
    QCOMPARE(rs->RecordCount(), 2L);
    QCOMPARE(rs->AbsolutePosition(), 1L);
    rs->MoveLast();
    QCOMPARE(rs->RecordCount(), 5L);
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("E")));
    rs->MoveNext();
    QVERIFY(rs->Eof());
    QCOMPARE(rs->AbsolutePosition(), -1L);
    QCOMPARE(errorOf([&] { rs->MoveNext(); }).number, 3021L);
    QCOMPARE(errorOf([&] { rs->Fields("SURNAME").Value(); }).number, 3021L);
    rs->SetAbsolutePosition(2);
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("C")));
    QCOMPARE(errorOf([&] { rs->SetAbsolutePosition(5); }).number, 3001L);
    QCOMPARE(errorOf([&] { rs->SetAbsolutePosition(-1); }).number, 3001L);

    // A full pass counts every row.
    auto pass = db->OpenRecordset("select * from PEOPLE");
    long seen = 0;
    for (; !pass->Eof(); pass->MoveNext()) ++seen;
    QCOMPARE(seen, 5L);
    QCOMPARE(pass->RecordCount(), 5L);

    // A new row goes to the end; the current record stays where it was.
    rs->SetAbsolutePosition(1);
    rs->AddNew();
    rs->Fields("SURNAME").SetValue("F");
    rs->Fields("GIVEN_NAME").SetValue("x");
    rs->Fields("STATUS").SetValue(1);
    rs->Update();
    QCOMPARE(rs->AbsolutePosition(), 1L);
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("B")));
    QCOMPARE(rs->RecordCount(), 6L);
    rs->MoveLast();
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("F")));

    // Moving away drops an edit that was not stored.
    rs->MoveFirst();
    rs->Edit();
    rs->Fields("SURNAME").SetValue("Changed");
    rs->MoveNext();
    QCOMPARE(errorOf([&] { rs->Update(); }).number, 3020L);
    QCOMPARE(names(*db, "select * from PEOPLE where SURNAME = 'Changed'").size(), 0);

    // Delete, then the next record is the one after the deleted one.
    rs->SetAbsolutePosition(1);
    rs->Delete();
    QCOMPARE(errorOf([&] { rs->Fields("SURNAME").Value(); }).number, 3167L);
    rs->MoveNext();
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("C")));
    QCOMPARE(rs->AbsolutePosition(), 1L);
    rs->MoveLast();
    rs->Delete();  // the last one: the next move is past the end
    rs->MoveNext();
    QVERIFY(rs->Eof());
    QCOMPARE(names(*db, "select * from PEOPLE"), (QStringList{"A x", "C x", "D x", "E x"}));

    // Edit writes the row it was opened on, even beside an identical one.
    addGuest(*db, {"D", "x", 1, "1", 1});
    auto twins = db->OpenRecordset("select * from PEOPLE where SURNAME = 'D'");
    twins->MoveNext();
    twins->Edit();
    twins->Fields("ROOM_NO").SetValue(9);
    twins->Update();
    QCOMPARE(names(*db, "select * from PEOPLE where ROOM_NO = 9"), QStringList{"D x"});
    QCOMPARE(names(*db, "select * from PEOPLE where ROOM_NO = 1").size(), 4);
    QCOMPARE(rowCount(path, "PEOPLE"), 5L);
  }

  void anUpdateLandsOnlyOnTheRowItRead() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("people.db");
    auto db = daotest::createTestDatabase(path, 13);
    addGuest(*db, {"Levi", "Dan", 1, "1", {}, {}});
    addGuest(*db, {"Cohen", "Avi", 1, "1", {}, {}});
    auto rs = db->OpenRecordset("select * from PEOPLE");
    rs->MoveLast();
    testsupport::OtherConnection other(path);

    // Another program deletes the row read and adds one that takes its rowid.
    QCOMPARE(other.exec("DELETE FROM PEOPLE WHERE SURNAME = 'Cohen'"), SQLITE_OK);
    QCOMPARE(other.exec("INSERT INTO PEOPLE (GIVEN_NAME, SURNAME, PARTY_SIZE, STATUS) VALUES ('Rina', 'Mizrahi', 4, 3)"),
             SQLITE_OK);
    QCOMPARE(other.text("SELECT rowid FROM PEOPLE WHERE SURNAME = 'Mizrahi'"), QString("2"));
    rs->Edit();
    rs->Fields("PHONES").SetValue("050-1234567");
    rs->Fields("ROOM_NO").SetValue(7);
    auto e = errorOf([&] { rs->Update(); });
    QCOMPARE(e.number, 3167L);
    QCOMPARE(e.description, QString("Record is deleted."));
    QCOMPARE(other.text("SELECT GIVEN_NAME || '/' || PARTY_SIZE || '/' || STATUS || '/' || ifnull(PHONES, 'null') || '/' || "
                        "ifnull(ROOM_NO, 'null') FROM PEOPLE WHERE rowid = 2"),
             QString("Rina/4/3/null/null"));

    // A field changed since the row was read: nothing of the edit is stored.
    rs->MoveFirst();
    QCOMPARE(other.exec("UPDATE PEOPLE SET ROOM_NO = 5 WHERE SURNAME = 'Levi'"), SQLITE_OK);
    rs->Edit();
    rs->Fields("PHONES").SetValue("050-1234567");
    QCOMPARE(errorOf([&] { rs->Update(); }).number, 3167L);
    QCOMPARE(other.text("SELECT ifnull(PHONES, 'null') || '/' || ROOM_NO FROM PEOPLE WHERE SURNAME = 'Levi'"),
             QString("null/5"));

    // Read again, the same edit goes through (Null fields compare as equal),
    // and so does a second edit of the row the recordset wrote itself.
    auto fresh = db->OpenRecordset("select * from PEOPLE where SURNAME = 'Levi'");
    fresh->Edit();
    fresh->Fields("PHONES").SetValue("050-1234567");
    fresh->Update();
    fresh->Edit();
    fresh->Fields("ACTIVE").SetValue(true);
    fresh->Update();
    QCOMPARE(other.text("SELECT PHONES || '/' || ROOM_NO || '/' || ACTIVE FROM PEOPLE WHERE SURNAME = 'Levi'"),
             QString("050-1234567/5/-1"));
    QCOMPARE(other.text("PRAGMA integrity_check"), QString("ok"));
  }

  void tenThousandRowsOpenSorted() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    daotest::createTestDatabase(path, 13)->Close();
    {
      sqlite3* raw = nullptr;
      QCOMPARE(sqlite3_open(QFile::encodeName(path), &raw), SQLITE_OK);
      sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
      sqlite3_stmt* st = nullptr;
      sqlite3_prepare_v2(raw,
                         "INSERT INTO PEOPLE (GIVEN_NAME, SURNAME, PARTY_SIZE, STATUS, CATEGORY, ROOM_NO) "
                         "VALUES (?, ?, 2, 1, '1', ?)",
                         -1, &st, nullptr);
      for (int i = 0; i < 10000; ++i) {
        const QByteArray family = QString("משפחה %1").arg((i * 7919) % 10000, 5, 10, QChar('0')).toUtf8();
        sqlite3_bind_text(st, 1, "דן", -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, family.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 3, i % 100);
        sqlite3_step(st);
        sqlite3_reset(st);
      }
      sqlite3_finalize(st);
      sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
      sqlite3_close(raw);
    }
    auto db = dao::DBEngine::instance().OpenDatabase(path);
    auto rs = db->OpenRecordset("select * from PEOPLE order by SURNAME ASC");
    rs->MoveLast();
    QCOMPARE(rs->RecordCount(), 10000L);
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("משפחה 09999")));
    rs->MoveFirst();
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("משפחה 00000")));
  }
};

PELMORA_TEST(TestDaoRecordset)
#include "tst_dao.moc"
