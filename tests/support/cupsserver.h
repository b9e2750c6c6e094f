#pragma once
// A CUPS scheduler of the test's own: cupsd started in a temporary folder,
// listening only on a socket there, with queues whose jobs a small backend
// writes to files in that folder. The program reaches it through CUPS_SERVER.
// The scheduler is stopped when the object goes, and dies with the test
// program if that ends first.
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <functional>
#include <QtTest>

#include "support/testsupport.h"

namespace testsupport {

class CupsServer {
 public:
  CupsServer();
  ~CupsServer();

  // Empty when cupsd is installed; otherwise why the test is skipped.
  static QString missing();
  // Starts the scheduler and points this program at it. False, with the
  // reason, when it did not come up.
  bool start(QString* why);
  void stop();

  // A queue that takes PDF as it is, on paper "A4" or "Letter" by default.
  bool addQueue(const QString& name, const QString& paper, bool makeDefault = false);
  // Queues as a test class needs them: taking jobs, refusing them, or paused.
  struct Queue {
    enum State { Taking, Refusing, Paused };
    QString name, paper;
    State state = Taking;
    bool isDefault = false;
  };
  bool addQueues(std::initializer_list<Queue> queues);
  // Runs a CUPS command (lpadmin, cupsreject, cupsdisable...) on this scheduler.
  bool command(const QString& program, const QStringList& args);

  // A job as the printer got it.
  struct Job {
    QString title;
    int copies = 0;
    QString options;   // the job's options as the backend got them
    QByteArray document;
    int pages() const;       // pages in the PDF
    QString mediaBox() const;  // of the first page, "[0 0 612 792]" style, points rounded
  };
  // The jobs the backend has written, in job order.
  QVector<Job> printed() const;
  // The jobs the scheduler knows of on this queue, done or waiting.
  int jobsQueued(const QString& queue);

 private:
  QString path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
  QProcess cupsd_;
  QByteArray oldServer_;
};

// A fresh program folder whose prints reach the real queues, not the recorder.
struct QueueFolder : ProgramFolder {
  QueueFolder();
};

// Runs a print command with the printer dialog answered with `queue` and
// its closing message with OK; the messages shown.
QStringList printTo(const QString& queue, const std::function<void()>& print);

}  // namespace testsupport

// In a test class's initTestCase: skips the class when CUPS is missing, fails
// it when the scheduler does not come up or its queues cannot be added.
#define PELMORA_START_CUPS(server, ...)                           \
  do {                                                            \
    const QString missing_ = ::testsupport::CupsServer::missing(); \
    if (!missing_.isEmpty()) QSKIP(qPrintable(missing_));         \
    QString why_;                                                 \
    QVERIFY2((server).start(&why_), qPrintable(why_));            \
    QVERIFY((server).addQueues(__VA_ARGS__));                     \
  } while (false)
