// The dialer against modems on pseudo-terminals: the time the port probe takes
// past two silent terminals, and a modem pulled out during a call.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/mdlWedding.h"
#include "dialer/frmDialer.h"
#include "platform/forms.h"
#include "platform/msgbox.h"
#include "platform/registry.h"
#include "platform_bench.h"
#include "support/fakemodem.h"
#include "support/when.h"

namespace bench {
namespace {

using testsupport::FakeModem;
using testsupport::when;

// Per-user settings of its own (the port mapping lives there), every program
// variable at its start, the prompt script on.
struct DialerSession {
  QTemporaryDir settings;
  testsupport::DeviceFolder devices;
  DialerSession() {
    platform::Forms::DestroyAll();
    mdlWedding::ResetState();
    platform::SetSettingsRoot(settings.path());
    platform::PromptScript::instance().activate();
    for (int p = 1; p <= 4; ++p) testsupport::mapPort(p, devices.missing(p));
  }
  ~DialerSession() {
    platform::Forms::DestroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::SetSettingsRoot(QString());
  }
};

bool dialled(const FakeModem& m) { return m.commands().contains(QStringLiteral("ATDT035551234;")); }

// From the Dial button to the dial command on COM3, COM1 and COM2 answering
// nothing (three one-second waits are the floor); then Cancel.
void BM_PortProbe(benchmark::State& state) {
  for (auto _ : state) {
    DialerSession session;
    FakeModem silent1(false), silent2(false), modem;
    modem.holdDialAnswer(true);
    testsupport::mapPort(1, silent1.device());
    testsupport::mapPort(2, silent2.device());
    testsupport::mapPort(3, modem.device());
    frmDialer& d = frmDialer::Default();
    d.txtNumber->setText(QStringLiteral("03-5551234"));
    QObject scope;
    QElapsedTimer timer;
    qint64 foundNs = -1;
    when(&scope, [&] { return dialled(modem); }, [&] {
      foundNs = timer.nsecsElapsed();
      d.cmdCancel->click();
    });
    timer.start();
    d.cmdDial->click();  // returns when the call has ended
    if (foundNs < 0) {
      state.SkipWithError("the modem on COM3 was not dialled");
      break;
    }
    state.SetIterationTime(double(foundNs) / 1e9);
  }
}

// The modem pulled out while the dialer waits for its answer: the time until
// the call has ended, then the processor time over the rest of a second, of
// the program's thread and of the whole process (the fake modems included);
// the thread's share must stay below 300 ms.
void BM_ModemGoingAway(benchmark::State& state) {
  double threadCpu = 0, processCpu = 0;
  for (auto _ : state) {
    DialerSession session;
    FakeModem modem;
    modem.holdDialAnswer(true);
    testsupport::mapPort(2, modem.device());
    platform::PromptScript::instance().answer(platform::vbOK);  // the read error
    frmDialer& d = frmDialer::Default();
    d.txtNumber->setText(QStringLiteral("03-5551234"));
    QObject scope;
    QElapsedTimer gone;
    qint64 endedNs = -1;
    double threadAtUnplug = 0, processAtUnplug = 0;
    when(&scope, [&] { return dialled(modem); }, [&] {
      modem.unplug();
      threadAtUnplug = testsupport::threadCpuSeconds();
      processAtUnplug = testsupport::processCpuSeconds();
      gone.start();
      // Only a call that never ends meets a Cancel.
      QTimer::singleShot(30000, &scope, [&] {
        if (!mdlWedding::g_PortFree) d.cmdCancel->click();
      });
    });
    d.cmdDial->click();  // returns when the call has ended
    endedNs = gone.isValid() ? gone.nsecsElapsed() : -1;
    if (endedNs < 0) {
      state.SkipWithError("the modem was not dialled");
      break;
    }
    while (gone.elapsed() < 1000) {
      QEventLoop loop;
      QTimer::singleShot(int(1000 - gone.elapsed()) + 1, &loop, &QEventLoop::quit);
      loop.exec();
    }
    threadCpu += testsupport::threadCpuSeconds() - threadAtUnplug;
    processCpu += testsupport::processCpuSeconds() - processAtUnplug;
    state.SetIterationTime(double(endedNs) / 1e9);
  }
  if (state.iterations() > 0) {
    const double threadMs = threadCpu * 1000 / double(state.iterations());
    state.counters["thread_cpu_ms"] = threadMs;
    state.counters["process_cpu_ms"] = processCpu * 1000 / double(state.iterations());
    // A port let go of leaves the thread asleep: well under a third of the second.
    if (threadMs >= 300) state.SkipWithError("the ended call kept the program's thread busy");
  }
}

}  // namespace

void RegisterDialerBenchmarks() {
  benchmark::RegisterBenchmark("BM_PortProbe", &BM_PortProbe)
      ->UseManualTime()
      ->Iterations(2)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_ModemGoingAway", &BM_ModemGoingAway)
      ->UseManualTime()
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
