#include "guestlist_bench.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"
#include "wedding_folder.h"

namespace bench {
namespace {

// Building a folder costs far more than one iteration, so each size is built
// once per run and the program stays started in the folder last entered.
std::map<int, std::unique_ptr<WeddingFolder>> g_folders;
int g_current = 0;

void fail(benchmark::State& state, const QString& why) { state.SkipWithError(why.toUtf8().constData()); }

bool enterFolder(benchmark::State& state, int size) {
  if (g_current != size) {
    auto& folder = g_folders[size];
    if (!folder) {
      folder = std::make_unique<WeddingFolder>(size);
      std::fprintf(stderr, "[%d invitations] Wed.mdb written in %.0f ms: %d invitations (%d people) at tables\n", size,
                   folder->buildMs(), folder->seatedInvitations(), folder->seatedPeople());
    }
    g_current = 0;
    const double startMs = folder->enter();
    g_current = size;
    std::fprintf(stderr, "[%d invitations] main window start-up %.0f ms, peak resident %.1f MB\n", size, startMs,
                 PeakResidentMB());
    if (!PromptsShown().isEmpty()) {
      fail(state, "prompt at start-up: " + PromptsShown());
      ClearPrompts();
      return false;
    }
    if (mdlWedding::g_InvCount != size) {
      fail(state, QStringLiteral("start-up listed %1 invitations").arg(mdlWedding::g_InvCount));
      return false;
    }
  }
  ClearPrompts();
  return true;
}

// Times `step` once per iteration. The event-loop turn after it (the grid's
// deferred update and the repaint) is timed apart, as events_ms. Any prompt or
// error ends the benchmark with an error.
void measure(benchmark::State& state, const std::function<void()>& step) {
  qint64 eventsNs = 0;
  QElapsedTimer timer;
  for (auto _ : state) {
    try {
      step();
    } catch (const platform::VbError& e) {
      fail(state, QStringLiteral("error %1: %2").arg(e.number).arg(e.description));
      break;
    } catch (const platform::ProgramEnd&) {
      fail(state, QStringLiteral("the program ended"));
      break;
    }
    state.PauseTiming();
    timer.start();
    QCoreApplication::processEvents();
    eventsNs += timer.nsecsElapsed();
    state.ResumeTiming();
    if (!PromptsShown().isEmpty()) {
      fail(state, "prompt shown: " + PromptsShown());
      break;
    }
  }
  if (state.iterations() > 0) state.counters["events_ms"] = double(eventsNs) / 1e6 / double(state.iterations());
  state.counters["peak_MB"] = PeakResidentMB();
  state.counters["rss_MB"] = ResidentMB();
}

void BM_InitList(benchmark::State& state) {
  const int size = int(state.range(0));
  if (!enterFolder(state, size)) return;
  frmPelmora& main = frmPelmora::Default();
  measure(state, [&] { main.InitList(mdlWedding::g_GroupName, mdlWedding::g_SortField); });
  if (mdlWedding::g_InvCount != size) fail(state, QStringLiteral("listed %1").arg(mdlWedding::g_InvCount));
}

void BM_InitList_Sorted(benchmark::State& state) {
  const int size = int(state.range(0));
  if (!enterFolder(state, size)) return;
  frmPelmora& main = frmPelmora::Default();
  mdlWedding::g_SortField = QStringLiteral("FAMILY_NAME");
  main.m_SortOrder = QStringLiteral("ASC");
  measure(state, [&] { main.InitList(mdlWedding::g_GroupName, mdlWedding::g_SortField); });
  if (!mdlWedding::g_SQL.endsWith(QLatin1String("order by FAMILY_NAME ASC")))
    fail(state, "unsorted query: " + mdlWedding::g_SQL);
  mdlWedding::g_SortField.clear();
  main.m_SortOrder.clear();
}

void BM_Recount(benchmark::State& state) {
  const int size = int(state.range(0));
  if (!enterFolder(state, size)) return;
  frmTableMap& map = frmTableMap::Default();
  measure(state, [&] { map.InitTableView(mdlWedding::g_TableViewMode); });
  int people = 0;
  for (int t = 1; t <= kMaxTables; ++t) people += map.PeopleAtTable(t);
  if (people != g_folders[size]->seatedPeople()) fail(state, QStringLiteral("map counts %1 people").arg(people));
}

}  // namespace

void RegisterGuestListBenchmarks() {
  // Grouped by size so that each folder is entered once.
  for (int size : {1000, 10000}) {
    for (auto [name, fn] : {std::pair{"BM_InitList", &BM_InitList}, std::pair{"BM_InitList_Sorted", &BM_InitList_Sorted},
                            std::pair{"BM_Recount", &BM_Recount}})
      benchmark::RegisterBenchmark(name, fn)->Arg(size)->Unit(benchmark::kMillisecond);
  }
}

void ReleaseFolders() {
  CloseProgram();
  g_current = 0;
  g_folders.clear();
  QDir::setCurrent(QDir::tempPath());
}

}  // namespace bench
