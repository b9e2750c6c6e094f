// Transactions of the database engine: what lands in the file after a commit,
// a rollback, a write that fails halfway and a close in the middle, read back
// with SQLite itself; and the errors of a transaction used wrongly.
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QtTest>

#include "dao_fixture.h"
#include "platform/dao.h"
#include "platform/dao_faults.h"
#include "support/errors.h"
#include "support/testsupport.h"

using testsupport::errorNumber;

namespace {

QString databaseFile() { return QDir::current().filePath(QStringLiteral("people.mdb")); }

// "family:table" of every PEOPLE row in the file, read by a connection of
// its own, as another program would see it now.
QStringList tablesInFile() {
  sqlite3* db = nullptr;
  QStringList out;
  if (sqlite3_open_v2(qPrintable(databaseFile()), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT SURNAME, ROOM_NO FROM PEOPLE ORDER BY rowid", -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW)
      out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) + ':' +
                 QString::number(sqlite3_column_int(st, 1));
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return out;
}

// Moves every invitation of table `from` to table `to`, one record at a time.
void moveTable(dao::Database& db, int from, int to) {
  auto rs = db.OpenRecordset(QStringLiteral("select * from PEOPLE where ROOM_NO = %1").arg(from));
  for (; !rs->Eof(); rs->MoveNext()) {
    rs->Edit();
    rs->Fields(QStringLiteral("ROOM_NO")).SetValue(to);
    rs->Update();
  }
  rs->Close();
}

const QStringList kStart = {QStringLiteral("אבני:3"), QStringLiteral("ברק:5"), QStringLiteral("גולן:3"),
                            QStringLiteral("דהן:5")};

void makeStart() {
  auto db = daotest::createTestDatabase(databaseFile(), 13);
  daotest::addGuest(*db, {QStringLiteral("אבני"), QStringLiteral("דן"), 0, QStringLiteral("1"), 3});
  daotest::addGuest(*db, {QStringLiteral("ברק"), QStringLiteral("גל"), 0, QStringLiteral("1"), 5});
  daotest::addGuest(*db, {QStringLiteral("גולן"), QStringLiteral("רות"), 0, QStringLiteral("1"), 3});
  daotest::addGuest(*db, {QStringLiteral("דהן"), QStringLiteral("אלי"), 0, QStringLiteral("1"), 5});
  db->Close();
  QCOMPARE(tablesInFile(), kStart);
}

}  // namespace

class TestDaoTransaction : public QObject {
  Q_OBJECT

 private slots:
  void commitKeepsEveryWriteRollbackNone();
  void aWriteFailingHalfwayIsUndoneWhole();
  void closingInTheMiddleDropsTheWrites();
  void usedWrongly();
};

void TestDaoTransaction::commitKeepsEveryWriteRollbackNone() {
  testsupport::ProgramFolder folder;
  makeStart();
  auto db = dao::DBEngine::instance().OpenDatabase(databaseFile());

  // Until the commit nobody else sees a thing; then everything at once.
  db->BeginTrans();
  moveTable(*db, 3, 7);
  {
    auto rs = db->OpenRecordset(QStringLiteral("select * from PEOPLE where SURNAME = 'דהן'"));
    rs->Delete();
    daotest::appendGuest(*rs, {QStringLiteral("הלוי"), QStringLiteral("מור"), 0, QStringLiteral("1"), 9});
    rs->Close();
  }
  QCOMPARE(tablesInFile(), kStart);
  db->CommitTrans();
  QCOMPARE(tablesInFile(), (QStringList{QStringLiteral("אבני:7"), QStringLiteral("ברק:5"), QStringLiteral("גולן:7"),
                                        QStringLiteral("הלוי:9")}));

  // A rollback drops every write since BeginTrans, the deleted row comes back.
  const QStringList committed = tablesInFile();
  db->BeginTrans();
  moveTable(*db, 5, 8);
  {
    auto rs = db->OpenRecordset(QStringLiteral("select * from PEOPLE where SURNAME = 'אבני'"));
    rs->Delete();
    rs->Close();
  }
  db->Rollback();
  QCOMPARE(tablesInFile(), committed);
  // The database goes on as before: a write outside a transaction is in the
  // file at once, and the next transaction works.
  moveTable(*db, 9, 4);
  QCOMPARE(tablesInFile().last(), QStringLiteral("הלוי:4"));
  db->BeginTrans();
  moveTable(*db, 4, 6);
  db->CommitTrans();
  QCOMPARE(tablesInFile().last(), QStringLiteral("הלוי:6"));
  db->Close();
  QVERIFY(!QFile::exists(databaseFile() + QStringLiteral("-journal")));
}

void TestDaoTransaction::aWriteFailingHalfwayIsUndoneWhole() {
  testsupport::ProgramFolder folder;
  struct ClearFaults {
    ~ClearFaults() { dao::faults::Clear(); }
  } clearFaults;
  makeStart();
  auto db = dao::DBEngine::instance().OpenDatabase(databaseFile());

  // The second of two writes fails, as on a full disk: the first is undone too.
  dao::faults::FailRowWritesAfter(1);
  db->BeginTrans();
  QCOMPARE(errorNumber([&] { moveTable(*db, 3, 7); }), 3026L);
  QCOMPARE(errorNumber([&] { moveTable(*db, 5, 8); }), 3026L);  // every later write fails too
  db->Rollback();
  dao::faults::Clear();
  QCOMPARE(tablesInFile(), kStart);

  // A deletion that fails likewise.
  dao::faults::FailRowWritesAfter(0);
  db->BeginTrans();
  {
    auto rs = db->OpenRecordset(QStringLiteral("select * from PEOPLE"));
    QCOMPARE(errorNumber([&] { rs->Delete(); }), 3026L);
    rs->Close();
  }
  db->Rollback();
  dao::faults::Clear();
  QCOMPARE(tablesInFile(), kStart);

  // A record the engine refuses (a name too long) stores nothing and leaves
  // the transaction open: the other writes are committed.
  db->BeginTrans();
  moveTable(*db, 3, 7);
  {
    auto rs = db->OpenRecordset(QStringLiteral("select * from PEOPLE where SURNAME = 'ברק'"));
    rs->Edit();
    rs->Fields(QStringLiteral("SURNAME")).SetValue(QString(300, QLatin1Char('x')));
    QVERIFY(errorNumber([&] { rs->Update(); }) != 0);
    rs->CancelUpdate();
    rs->Close();
  }
  db->CommitTrans();
  QCOMPARE(tablesInFile(), (QStringList{QStringLiteral("אבני:7"), QStringLiteral("ברק:5"), QStringLiteral("גולן:7"),
                                        QStringLiteral("דהן:5")}));
  db->Close();
}

void TestDaoTransaction::closingInTheMiddleDropsTheWrites() {
  testsupport::ProgramFolder folder;
  makeStart();
  {
    auto db = dao::DBEngine::instance().OpenDatabase(databaseFile());
    db->BeginTrans();
    moveTable(*db, 3, 7);
    db->Close();
    QCOMPARE(errorNumber([&] { db->CommitTrans(); }), 3420L);
  }
  QCOMPARE(tablesInFile(), kStart);
  {
    // Nor does a database object that goes away keep anything.
    auto db = dao::DBEngine::instance().OpenDatabase(databaseFile());
    db->BeginTrans();
    moveTable(*db, 5, 1);
  }
  QCOMPARE(tablesInFile(), kStart);
  QVERIFY(!QFile::exists(databaseFile() + QStringLiteral("-journal")));
}

void TestDaoTransaction::usedWrongly() {
  testsupport::ProgramFolder folder;
  makeStart();
  auto db = dao::DBEngine::instance().OpenDatabase(databaseFile());
  QCOMPARE(errorNumber([&] { db->CommitTrans(); }), 3034L);
  QCOMPARE(errorNumber([&] { db->Rollback(); }), 3034L);
  db->BeginTrans();
  QCOMPARE(errorNumber([&] { db->BeginTrans(); }), 3003L);
  moveTable(*db, 3, 2);
  db->CommitTrans();  // the one transaction is still whole
  QCOMPARE(errorNumber([&] { db->CommitTrans(); }), 3034L);
  QCOMPARE(tablesInFile().first(), QStringLiteral("אבני:2"));
  db->Close();
  QCOMPARE(errorNumber([&] { db->BeginTrans(); }), 3420L);
  QCOMPARE(errorNumber([&] { db->Rollback(); }), 3420L);
}

PELMORA_TEST(TestDaoTransaction)
#include "tst_dao_transaction.moc"
