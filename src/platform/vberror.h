#pragma once
// Errors as values: the program's procedures mostly run "errors ignored, tested
// once at the end". Every stand-in raises VbError; ErrorState runs one step at a
// time, keeps the first and last error and lets the procedure decide afterwards.
#include <QString>
#include <exception>
#include <utility>

namespace platform {

struct VbError {
  long number = 0;
  QString description;
};

// Raised by EndProgram(): unwinds to the event handler boundary (or to main).
// Deliberately not a std::exception so that ErrorState never swallows it.
struct ProgramEnd {
  int exitCode = 0;
};

[[noreturn]] void Raise(long number, const QString& description);

class ErrorState {
 public:
  // Runs one step; a VbError (or any std::exception) is recorded, not thrown.
  template <class F>
  bool operator()(F&& step) {
    try {
      std::forward<F>(step)();
      return true;
    } catch (const VbError& e) {
      record(e);
    } catch (const std::exception& e) {
      record(VbError{5, QString::fromLocal8Bit(e.what())});
    }
    return false;
  }
  bool failed() const { return count_ > 0; }
  int count() const { return count_; }
  const VbError& first() const { return first_; }
  const VbError& last() const { return last_; }
  void clear() { count_ = 0; first_ = last_ = VbError{}; }
  void record(const VbError& e) {
    if (count_++ == 0) first_ = e;
    last_ = e;
  }

 private:
  int count_ = 0;
  VbError first_, last_;
};

// Ends the program: the hook set by the application unloads what is left and
// quits the event loop; then ProgramEnd unwinds the caller's stack.
[[noreturn]] void EndProgram(int exitCode = 0);
bool ProgramHasEnded();
int ProgramExitCode();
void ResetProgramEnd();  // tests: a fresh program

// Shows an error that escaped its procedure to the user (errorguard.cpp).
void ReportUnhandledError(const VbError& e);

// Boundary for every event handler called by Qt: a ProgramEnd must not unwind
// through the event loop, and a stray error is shown, not lost.
// False when the handler did not run to its end.
template <class F>
bool RunHandler(F&& handler) {
  try {
    std::forward<F>(handler)();
    return true;
  } catch (const ProgramEnd&) {
  } catch (const VbError& e) {
    ReportUnhandledError(e);
  } catch (const std::exception& e) {
    ReportUnhandledError(VbError{5, QString::fromLocal8Bit(e.what())});
  } catch (...) {
    ReportUnhandledError(VbError{51, QStringLiteral("Internal error")});
  }
  return false;
}

}  // namespace platform
