#include "vberror.h"

#include <QCoreApplication>

namespace platform {
namespace {
bool g_ended = false;
int g_exitCode = 0;
}  // namespace

void Raise(long number, const QString& description) { throw VbError{number, description}; }

void EndProgram(int exitCode) {
  if (!g_ended) {
    g_ended = true;
    g_exitCode = exitCode;
    if (QCoreApplication::instance()) QCoreApplication::exit(exitCode);
  }
  throw ProgramEnd{exitCode};
}

bool ProgramHasEnded() { return g_ended; }
int ProgramExitCode() { return g_exitCode; }
void ResetProgramEnd() {
  g_ended = false;
  g_exitCode = 0;
}

}  // namespace platform
