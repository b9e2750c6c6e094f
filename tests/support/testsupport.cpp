#include "testsupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>

#include "app/mdlWedding.h"
#include "platform/dao_faults.h"
#include "platform/errorguard.h"
#include "platform/filereplace.h"
#include "platform/forms.h"
#include "platform/printer.h"
#include "platform/readingorder.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/vb.h"
#include "platform/vberror.h"

namespace testsupport {
namespace {
std::vector<std::pair<const char*, Factory>>& registry() {
  static std::vector<std::pair<const char*, Factory>> r;
  return r;
}
}  // namespace

int registerTest(const char* name, Factory factory) {
  registry().emplace_back(name, std::move(factory));
  return static_cast<int>(registry().size());
}

void failOnUnscripted(const platform::Prompt& prompt) {
  const QByteArray msg = "unscripted prompt: " + prompt.text.toUtf8() + " [" + prompt.title.toUtf8() + "]";
  QTest::qFail(msg.constData(), __FILE__, __LINE__);
}

ProgramFolder::ProgramFolder() {
  oldCwd_ = QDir::currentPath();
  QDir::setCurrent(dir_.path());
  platform::SetSettingsRoot(settings_.path());
  platform::Forms::DestroyAll();
  processEvents();
  mdlWedding::ResetState();
  platform::ResetProgramEnd();
  dao::faults::Clear();
  vb::SetTodayForTests(QDate());
  auto& p = platform::PromptScript::instance();
  p.activate();
  p.setUnscriptedHandler(&failOnUnscripted);
  platform::ShellRecorder::instance().activate();
  platform::PrintRecorder::instance().activate();
  useCurrentFolderAsProgramFolder();
}

ProgramFolder::~ProgramFolder() {
  dao::faults::Clear();  // nothing a test set outlives it
  platform::filefaults::Clear();
  platform::Forms::DestroyAll();
  processEvents();
  mdlWedding::g_DB.SetNothing();
  mdlWedding::g_RS.SetNothing();
  auto& p = platform::PromptScript::instance();
  if (p.pendingAnswers() > 0 && !QTest::currentTestFailed())
    QTest::qFail("scripted answers were left unused", __FILE__, __LINE__);
  p.activate();  // drop what is left
  platform::PrintRecorder::instance().deactivate();
  platform::SetSettingsRoot(QString());
  QDir::setCurrent(oldCwd_);
}

QString ProgramFolder::path() const { return dir_.path(); }
QString ProgramFolder::file(const QString& name) const { return dir_.filePath(name); }
QString ProgramFolder::settingsRoot() const { return settings_.path(); }

platform::PromptScript& prompts() { return platform::PromptScript::instance(); }

void typeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80 && c.isPrint())
      QTest::keyClick(widget, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
  }
}

void processEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

void useCurrentFolderAsProgramFolder() {
  QString p = QDir::currentPath();
  if (!p.endsWith('/')) p += '/';
  mdlWedding::g_AppPath = p;
}

}  // namespace testsupport

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  // Qt's own per-user files (the file dialog remembers its last folder) go to
  // a folder of this run, never to the user's.
  QTemporaryDir qtUserFiles;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(qtUserFiles.path()));
  platform::Application app(argc, argv);  // as the program: errors of event handlers are shown
  QApplication::setLayoutDirection(Qt::RightToLeft);
  platform::UseReadingOrderStyle();
  int failures = 0;
  // A child copy of the program runs one test class only (support/childtest.h).
  const QByteArray onlyClass = qgetenv("PELMORA_TEST_CLASS");
  for (auto& [name, factory] : testsupport::registry()) {
    if (!onlyClass.isEmpty() && onlyClass != name) continue;
    std::unique_ptr<QObject> test(factory());
    failures += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
  }
  return failures == 0 ? 0 : 1;
}
