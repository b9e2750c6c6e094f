#pragma once
// A generated wedding in a program folder of its own: Wed.mdb with the given
// number of invitations, pelmora.ini for 100 tables of 15 chairs, and isolated
// per-user settings. Entering a folder starts the program in it afresh.
#include <QString>
#include <QTemporaryDir>
#include <QVector>

#include "support/weddingdb.h"

namespace bench {

constexpr int kMaxTables = 100;
constexpr int kMaxChairs = 15;

// Invitations as a couple enters them: Hebrew names, phones, 1 to 5 guests,
// every answer, three groups, the three kinds of present, and about 70% of them
// meant for a table. Tables fill only up to kMaxChairs people each, so a table
// is never over the limit; the rest stay without a table. Same seed, same rows.
QVector<testsupport::Invitation> MakeInvitations(int count, unsigned seed = 20240614);

// Appends the rows to PELMORA through one recordset in one transaction.
void WriteInvitations(const QVector<testsupport::Invitation>& rows, const QString& databaseFile);

class WeddingFolder {
 public:
  explicit WeddingFolder(int invitations);  // builds the files; leaves no program running
  int invitations() const { return invitations_; }
  int seatedInvitations() const { return seatedInvitations_; }
  int seatedPeople() const { return seatedPeople_; }
  double buildMs() const { return buildMs_; }
  QString path() const { return dir_.path(); }

  // Ends whatever program runs, makes this folder current with its own
  // settings and the prompt script, and starts the main window in it.
  // Returns the start-up time in ms.
  double enter();

 private:
  void usePaths();
  QTemporaryDir dir_;
  QTemporaryDir settings_;
  int invitations_;
  int seatedInvitations_ = 0;
  int seatedPeople_ = 0;
  double buildMs_ = 0;
};

// Ends the running program (windows, open database) without unload events.
void CloseProgram();

// The prompts shown since the script was last cleared, as one line; empty when none.
QString PromptsShown();
void ClearPrompts();

// Peak and current resident memory of the process in MB (VmHWM, VmRSS).
double PeakResidentMB();
double ResidentMB();

}  // namespace bench
