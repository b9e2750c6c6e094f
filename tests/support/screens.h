#pragma once
// A screen of its own for one test: the test program runs the current test
// function (and data row) again in a child process whose only offscreen screen
// has a given size in device pixels and a given scale, as a laptop set to 125,
// 150 or 200 %.
#include <QMetaType>
#include <QRect>
#include <initializer_list>

#include "childtest.h"

class QObject;
class QWidget;

namespace testsupport {

struct TestScreen {
  int width = 0;   // device pixels
  int height = 0;
  int percent = 100;
};

// For a data function: a column "screen", one row per screen, named
// "1366x768 at 150%".
void addScreenRows(std::initializer_list<TestScreen> screens);

// In the parent: runs the current test function of `test` on `screen` in a
// child; when it fails, so does the running test, with the child's output.
void runOnScreen(const QObject* test, const TestScreen& screen);

// A window's outer frame in device pixels, rounded as the platform rounds.
QRect framePixels(const QWidget* window);

// Whether the window's frame lies wholly on the screen, in device pixels.
bool frameOnScreen(const QWidget* window, const TestScreen& screen);

// Whether `control` is wholly visible inside the window: no ancestor clips it.
bool wholeInWindow(const QWidget* control);

}  // namespace testsupport

Q_DECLARE_METATYPE(testsupport::TestScreen)

// Opens a test function that runs on `screen`: the parent runs it again in a
// child on that screen and returns; the child goes on.
#define PELMORA_ON_SCREEN(screen) \
  if (!::testsupport::inChildTest()) return ::testsupport::runOnScreen(this, screen)

// Waits until the window's frame lies wholly on the screen.
#define PELMORA_TRY_FRAME_ON_SCREEN(window, screen) \
  QTRY_VERIFY2(::testsupport::frameOnScreen(window, screen), QTest::toString(::testsupport::framePixels(window)))
