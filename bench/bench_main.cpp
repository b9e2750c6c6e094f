// Google Benchmark's own main, in a Qt application (offscreen unless a platform
// is named) laid out right to left as the program is.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>

#include "guestlist_bench.h"
#include "platform_bench.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pelmora"));
  QApplication::setLayoutDirection(Qt::RightToLeft);
  QApplication::setFont(QFont(QStringLiteral("Nachlieli CLM"), 9));

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RegisterGuestListBenchmarks();
  bench::RegisterPlatformBenchmarks();
  bench::RegisterDialerBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  bench::ReleaseFolders();
  benchmark::Shutdown();
  return 0;
}
