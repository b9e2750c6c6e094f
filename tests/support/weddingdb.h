#pragma once
// A Wed.mdb for tests: the two tables exactly as the program creates them, and
// invitations added with the fields a test names.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

namespace dao {
class Recordset;
}

namespace testsupport {

// One PELMORA row. An invalid QVariant stores Null.
struct Invitation {
  QString firstName;
  QString familyName;
  QVariant invNum = 1;
  QVariant tableNo;
  int confirm = 0;
  QVariant listGroup = QStringLiteral("1");
  QVariant remark;
  QVariant phones;
  QVariant invStatus;
  QVariant address;
  QVariant presentType;
  QVariant present;
  QVariant check;
};

// Creates the database (default: the program folder's Wed.mdb) with PELMORA
// (13 fields) and WED_BUDGET (30 Currency fields), both empty.
void makeWeddingDb(const QString& path = QString());

// The program folder's Wed.mdb as an older version left it: PELMORA without
// the fields in `without` (a name given in lower case is stored so),
// WED_BUDGET only `withBudget`, and one invitation, כהן דני, 3 guests, coming.
void makeOlderWeddingDb(const QStringList& without, bool withBudget);

// Appends one invitation to an open recordset over PELMORA.
void writeInvitation(dao::Recordset& rs, const Invitation& inv);
// Appends one invitation; raises the engine's error when it refuses the row.
void addInvitation(const Invitation& inv, const QString& path = QString());
void addInvitations(const QVector<Invitation>& rows, const QString& path = QString());
// The common case: a family seated (or not, table Null) with its guests.
void addInvitation(const QString& familyName, const QString& firstName, int invNum, const QVariant& tableNo,
                   const QString& path = QString());

// Every PELMORA row in the order the database returns them, by field name.
QVector<QVariantMap> readInvitations(const QString& path = QString());

// Section "Options" of the program folder's pelmora.ini as a finished first run
// leaves it (an empty couple makes the next start a first run again).
void writeOptions(int maxTables = 100, int maxChairs = 15, const QString& couple = QStringLiteral("יוסי ומיכל"));

}  // namespace testsupport
