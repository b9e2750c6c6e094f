#pragma once
// Test support: registration of test classes (one program per source folder)
// and a fresh program folder for every test function.
#include <QDir>
#include <QObject>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

#include "platform/msgbox.h"

namespace testsupport {

using Factory = std::function<QObject*()>;
int registerTest(const char* name, Factory factory);

// Registers a QObject test class in this folder's test program.
#define PELMORA_TEST(Class) \
  static const int Class##_registered = ::testsupport::registerTest(#Class, [] { return new Class; });

// A fresh program: an empty program folder made the current directory, an
// isolated per-user settings location, every program-wide variable at its start
// value, no window loaded, and the prompt script active. A prompt that was not
// scripted fails the running test.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  QString path() const;               // with no trailing separator
  QString file(const QString& name) const;
  QString settingsRoot() const;

 private:
  QTemporaryDir dir_;
  QTemporaryDir settings_;
  QString oldCwd_;
};

platform::PromptScript& prompts();

// The test support's answer to a prompt nobody scripted: the test fails.
void failOnUnscripted(const platform::Prompt& prompt);

// Types text into a widget key by key, Hebrew included (QTest::keyClicks
// knows only ASCII keys).
void typeText(QWidget* widget, const QString& text);

// Lets deferred deletes and posted events run.
void processEvents();

// Sets g_AppPath from the current directory as start-up does.
void useCurrentFolderAsProgramFolder();

}  // namespace testsupport
