// The database engine's structure side: creating and opening files, tables
// and fields that read back exactly after a reopen, added fields, refusals,
// closed objects and the file's journal mode.
#include <sqlite3.h>
#include <unistd.h>

#include <QFile>

#include "dao_fixture.h"
#include "platform/dao.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/otherconnection.h"
#include "support/testsupport.h"

namespace daotest {

using RawDb = testsupport::OtherConnection;

}  // namespace daotest

using testsupport::errorOf;
using testsupport::readFile;

class TestDaoSchema : public QObject {
  Q_OBJECT

 private slots:
  void structureReadsBackAfterReopen() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    daotest::createTestDatabase(path, 13)->Close();
    // An internal table of SQLite must not show as a table of the database.
    { daotest::RawDb raw(path); QCOMPARE(raw.exec("ANALYZE"), SQLITE_OK); }

    auto db = dao::DBEngine::instance().OpenDatabase(path);
    QCOMPARE(db->Name(), path);
    QCOMPARE(db->TableDefs().Count(), 2);
    QCOMPARE(db->TableDefs()[0].Name(), QString("PEOPLE"));
    QCOMPARE(db->TableDefs()[1].Name(), QString("ACCOUNTS"));
    dao::Fields& guests = db->TableDefs()("PEOPLE").Fields();
    QCOMPARE(guests.Count(), 13);
    for (int i = 0; i < 13; ++i) {
      const auto& s = daotest::kPeople[i];
      const dao::Field& f = guests[i];
      QCOMPARE(f.Name(), QString(s.name));
      QCOMPARE(f.Type(), s.type);
      if (s.type == dao::dbText) QCOMPARE(f.Size(), s.size);
      QCOMPARE(f.Required(), s.required);
      QCOMPARE(f.AllowZeroLength(), s.zeroLength);
    }
    QCOMPARE(guests[1].Size(), 20);
    dao::Fields& accounts = db->TableDefs()("accounts").Fields();  // Jet finds names in any case
    QCOMPARE(accounts.Count(), 30);
    for (int i = 0; i < 30; ++i) {
      QCOMPARE(accounts[i].Name(), QString(daotest::kAccounts[i]));
      QCOMPARE(accounts[i].Type(), dao::dbCurrency);
      QVERIFY(accounts[i].Required());
    }
    QCOMPARE(guests("item_kind").Name(), QString("ITEM_KIND"));
    QCOMPARE(errorOf([&] { db->TableDefs()("GUESTS"); }).number, 3265L);
    QCOMPARE(errorOf([&] { db->TableDefs()[2]; }).description, QString("Item not found in this collection."));
    QCOMPARE(errorOf([&] { guests[13]; }).number, 3265L);
    QCOMPARE(errorOf([&] { guests("NOPE"); }).number, 3265L);
    // A structure field has no value.
    QCOMPARE(errorOf([&] { guests[0].Value(); }).number, 3219L);

    // The existing file is refused and left as it was.
    db->Close();
    const QByteArray before = readFile(path);
    const auto e = errorOf([&] { dao::DBEngine::instance().CreateDatabase(path, dao::dbLangGeneral); });
    QCOMPARE(e.number, 3204L);
    QCOMPARE(e.description, QString("Database already exists."));
    QCOMPARE(readFile(path), before);
  }

  void newFileWithoutTablesIsStillADatabase() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    dao::DBEngine::instance().CreateDatabase(path, dao::dbLangGeneral, dao::dbVersion30)->Close();
    auto db = dao::DBEngine::instance().OpenDatabase(path);
    QCOMPARE(db->TableDefs().Count(), 0);
    // A folder that does not exist: an error, and no file anywhere.
    const QString lost = folder.file("no/such/folder/Wed.mdb");
    QVERIFY(errorOf([&] { dao::DBEngine::instance().CreateDatabase(lost, dao::dbLangGeneral); }).number != 0);
    QVERIFY(!QFile::exists(lost));
  }

  void openRefusesWhatIsNotADatabase() {
    testsupport::ProgramFolder folder;
    const QString missing = folder.file("Wed.mdb");
    auto e = errorOf([&] { dao::DBEngine::instance().OpenDatabase(missing); });
    QCOMPARE(e.number, 3024L);
    QCOMPARE(e.description, QString("Could not find file '%1'.").arg(missing));
    QVERIFY(!QFile::exists(missing));

    const QByteArray text = "[Options]\r\nCouple=Dan\r\nThis is not a database, but it is long enough to "
                            "be mistaken for a header if one only looked at its size.\r\n";
    testsupport::writeFile(missing, text);
    e = errorOf([&] { dao::DBEngine::instance().OpenDatabase(missing); });
    QCOMPARE(e.number, 3343L);
    QCOMPARE(e.description.left(e.description.indexOf(" (")),
             QString("Unrecognized database format '%1'.").arg(missing));
    QCOMPARE(readFile(missing), text);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Wed.mdb"});

    // An empty file would pass for an empty database.
    QFile::resize(missing, 0);
    QCOMPARE(errorOf([&] { dao::DBEngine::instance().OpenDatabase(missing); }).number, 3343L);
    QCOMPARE(QFileInfo(missing).size(), 0);
  }

  void journalIsRollbackAndGoneAfterClose() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    auto db = daotest::createTestDatabase(path, 13);
    auto rs = db->OpenRecordset("select * from ACCOUNTS");
    rs->AddNew();
    for (int i = 0; i < 30; ++i) rs->Fields()[i].SetValue(i);
    rs->Update();
    QVERIFY(!QFile::exists(path + "-wal"));
    QVERIFY(!QFile::exists(path + "-journal"));
    db->Close();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Wed.mdb"});
    daotest::RawDb raw(path);
    QCOMPARE(raw.text("PRAGMA journal_mode").toLower(), QString("delete"));
    QCOMPARE(raw.text("SELECT count(*) FROM ACCOUNTS"), QString("1"));

    // A file another tool left in WAL mode is put back to the single file.
    QCOMPARE(raw.text("PRAGMA journal_mode=WAL").toLower(), QString("wal"));
    sqlite3_close(raw.db);
    raw.db = nullptr;
    auto again = dao::DBEngine::instance().OpenDatabase(path);
    again->Close();
    daotest::RawDb check(path);
    QCOMPARE(check.text("PRAGMA journal_mode").toLower(), QString("delete"));
  }

  void fieldsAddedToAStoredTable() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    {
      // An older file: no ADDRESS, ITEM_KIND, ITEM, and one guest.
      auto db = daotest::createTestDatabase(path, 10);
      auto rs = db->OpenRecordset("select * from PEOPLE");
      rs->AddNew();
      rs->Fields("GIVEN_NAME").SetValue("דן");
      rs->Fields("SURNAME").SetValue("כהן");
      rs->Fields("PARTY_SIZE").SetValue(2);
      rs->Fields("STATUS").SetValue(1);
      rs->Update();
    }
    {
      auto db = dao::DBEngine::instance().OpenDatabase(path);
      dao::TableDef& guests = db->TableDefs()("PEOPLE");
      auto address = guests.CreateField("ADDRESS", dao::dbText, 50);
      address->SetAllowZeroLength(true);
      guests.Fields().Append(address);
      guests.Fields().Append(guests.CreateField("ITEM_KIND", dao::dbByte));
      auto present = guests.CreateField("ITEM", dao::dbText, 20);
      present->SetAllowZeroLength(true);
      guests.Fields().Append(present);
      QCOMPARE(guests.Fields().Count(), 13);
      // The flags are fixed once the field is in a table.
      QCOMPARE(errorOf([&] { present->SetRequired(true); }).number, 3219L);
    }
    auto db = dao::DBEngine::instance().OpenDatabase(path);
    dao::Fields& fields = db->TableDefs()("PEOPLE").Fields();
    QCOMPARE(fields.Count(), 13);
    QCOMPARE(fields[10].Name(), QString("ADDRESS"));
    QCOMPARE(fields[10].Size(), 50);
    QVERIFY(fields[10].AllowZeroLength());
    QCOMPARE(fields[11].Type(), dao::dbByte);
    QCOMPARE(fields[12].Name(), QString("ITEM"));
    auto rs = db->OpenRecordset("select * from PEOPLE");
    QCOMPARE(rs->Fields("SURNAME").Value(), QVariant(QString("כהן")));
    QCOMPARE(rs->Fields("PARTY_SIZE").Value(), QVariant(2));
    QVERIFY(!rs->Fields("ADDRESS").Value().isValid());
    QVERIFY(!rs->Fields("ITEM_KIND").Value().isValid());
    QVERIFY(!rs->Fields("ITEM").Value().isValid());
    // The added fields take values like the others.
    rs->Edit();
    rs->Fields("ITEM").SetValue("1500");
    rs->Update();
    QCOMPARE(db->OpenRecordset("select * from PEOPLE where ITEM = '1500'")->RecordCount(), 1L);
  }

  void namesDifferingOnlyInCaseAreOneField() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    {
      auto db = dao::DBEngine::instance().CreateDatabase(path, dao::dbLangGeneral);
      auto t = db->CreateTableDef("PEOPLE");
      t->Fields().Append(t->CreateField("GIVEN_NAME", dao::dbText, 20));
      t->Fields().Append(t->CreateField("address", dao::dbText, 50));
      // Before the table exists, too.
      QCOMPARE(errorOf([&] { t->Fields().Append(t->CreateField("Given_Name", dao::dbText, 20)); }).number, 3191L);
      db->TableDefs().Append(t);
      const auto e = errorOf([&] { t->Fields().Append(t->CreateField("ADDRESS", dao::dbText, 50)); });
      QCOMPARE(e.number, 3191L);
      QCOMPARE(e.description, QString("Cannot define field more than once."));
      // Tables too; and a table needs a field.
      auto again = db->CreateTableDef("people");
      again->Fields().Append(again->CreateField("X", dao::dbLong));
      QCOMPARE(errorOf([&] { db->TableDefs().Append(again); }).number, 3010L);
      QCOMPARE(errorOf([&] { db->TableDefs().Append(db->CreateTableDef("EMPTY")); }).number, 3264L);
    }
    auto db = dao::DBEngine::instance().OpenDatabase(path);
    QCOMPARE(db->TableDefs().Count(), 1);
    dao::Fields& fields = db->TableDefs()("PEOPLE").Fields();
    QCOMPARE(fields.Count(), 2);
    QCOMPARE(fields[1].Name(), QString("address"));
  }

  void closedObjectsRaiseInsteadOfCrashing() {
    testsupport::ProgramFolder folder;
    auto db = daotest::createTestDatabase(folder.file("Wed.mdb"), 13);
    auto rs = db->OpenRecordset("select * from PEOPLE");
    auto other = db->OpenRecordset("select * from PEOPLE");
    rs->Close();
    rs->Close();  // closing again is harmless
    auto e = errorOf([&] { rs->Eof(); });
    QCOMPARE(e.number, 3420L);
    QCOMPARE(e.description, QString("Object invalid or no longer set."));
    QCOMPARE(errorOf([&] { rs->AddNew(); }).number, 3420L);
    // Closing the database closes what was opened on it.
    QVERIFY(other->Eof());
    db->Close();
    QVERIFY(!db->IsOpen());
    QCOMPARE(errorOf([&] { other->MoveFirst(); }).number, 3420L);
    QCOMPARE(errorOf([&] { other->Fields("GIVEN_NAME"); }).number, 3420L);
    QCOMPARE(errorOf([&] { db->OpenRecordset("select * from PEOPLE"); }).number, 3420L);
    QCOMPARE(errorOf([&] { db->TableDefs(); }).number, 3420L);
    db->Close();

    // Letting go of the database object closes it as well.
    auto db2 = dao::DBEngine::instance().OpenDatabase(folder.file("Wed.mdb"));
    auto rs2 = db2->OpenRecordset("select * from PEOPLE");
    auto notes = db2->CreateTableDef("NOTES");
    notes->Fields().Append(notes->CreateField("TEXT", dao::dbText, 10));
    db2->TableDefs().Append(notes);
    db2.reset();
    QCOMPARE(errorOf([&] { rs2->AddNew(); }).number, 3420L);
    QCOMPARE(errorOf([&] { notes->Fields().Append(notes->CreateField("MORE", dao::dbLong)); }).number, 3420L);
    dao::Handle<dao::Database> nothing;
    QCOMPARE(errorOf([&] { nothing->Close(); }).number, 91L);
  }

  void aLockedFileRefusesTheWriteAndKeepsTheEdit() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    auto db = daotest::createTestDatabase(path, 13);
    auto rs = db->OpenRecordset("select * from PEOPLE");
    rs->AddNew();
    rs->Fields("GIVEN_NAME").SetValue("Dan");
    rs->Fields("SURNAME").SetValue("Levi");
    rs->Fields("STATUS").SetValue(0);
    {
      daotest::RawDb other(path);
      QCOMPARE(other.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
      const auto e = errorOf([&] { rs->Update(); });
      QVERIFY(e.number != 0);
      QVERIFY2(e.description.contains("locked"), qPrintable(e.description));
      QCOMPARE(other.text("SELECT count(*) FROM PEOPLE"), QString("0"));
      other.exec("ROLLBACK");
    }
    rs->Update();  // still in the edit: the same values go in now
    QCOMPARE(db->OpenRecordset("select * from PEOPLE")->Fields("SURNAME").Value(), QVariant(QString("Levi")));
  }

  void aFileThatCannotBeWrittenIsStillRead() {
    testsupport::ProgramFolder folder;
    const QString path = folder.file("Wed.mdb");
    {
      auto db = daotest::createTestDatabase(path, 13);
      auto rs = db->OpenRecordset("select * from PEOPLE");
      rs->AddNew();
      rs->Fields("GIVEN_NAME").SetValue("Ron");
      rs->Fields("SURNAME").SetValue("Cohen");
      rs->Fields("STATUS").SetValue(1);
      rs->Update();
      db->Close();
    }
    const QByteArray before = readFile(path);
    auto tryToAdd = [](dao::Database& db) {
      auto rs = db.OpenRecordset("select * from PEOPLE");
      rs->AddNew();
      rs->Fields("GIVEN_NAME").SetValue("Dan");
      rs->Fields("SURNAME").SetValue("Levi");
      rs->Fields("STATUS").SetValue(0);
      return errorOf([&] { rs->Update(); });
    };

    // Opened read-only: everything reads, nothing is written, not even a journal.
    auto db = dao::DBEngine::instance().OpenDatabaseReadOnly(path);
    QCOMPARE(db->TableDefs()("PEOPLE").Fields().Count(), 13);
    QCOMPARE(db->OpenRecordset("select * from PEOPLE")->Fields("SURNAME").Value(), QVariant(QString("Cohen")));
    db->CheckIntegrity();
    auto e = tryToAdd(*db);
    QCOMPARE(e.number, 3027L);
    QVERIFY(!e.description.isEmpty());
    QCOMPARE(errorOf([&] { db->TableDefs()("PEOPLE").Fields().Append(db->TableDefs()("PEOPLE").CreateField("MORE", dao::dbLong)); }).number, 3027L);
    db->Close();
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Wed.mdb"});

    // No journal can be made beside the file (its name is taken by a folder):
    // opening it for writing is refused and the file stays as it was.
    QVERIFY(QDir().mkdir(path + "-journal"));
    e = errorOf([&] {
      db = dao::DBEngine::instance().OpenDatabase(path);
      const auto refused = tryToAdd(*db);
      db->Close();
      if (refused.number) throw refused;
    });
    QVERIFY(e.number != 0);
    QCOMPARE(readFile(path), before);
    QVERIFY(QDir().rmdir(path + "-journal"));

    // A damaged page is found without writing anything.
    QByteArray damaged = before;
    damaged.replace(damaged.size() - 4096, 100, QByteArray(100, '\x5a'));
    testsupport::writeFile(path, damaged);
    db = dao::DBEngine::instance().OpenDatabaseReadOnly(path);
    QCOMPARE(errorOf([&] { db->CheckIntegrity(); }).number, 3049L);
    db->Close();
    QCOMPARE(readFile(path), damaged);
  }
};

PELMORA_TEST(TestDaoSchema)
#include "tst_dao_schema.moc"
