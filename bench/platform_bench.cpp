// The stand-in layer's own costs on a big wedding: a sorted record set over
// 10,000 invitations, and the guest grid filled cell by cell and repainted.
#include "platform_bench.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QVector>
#include <memory>

#include "platform/dao.h"
#include "platform/flexgrid.h"
#include "support/gridfill.h"
#include "support/weddingdb.h"
#include "wedding_folder.h"

namespace bench {
namespace {

void BM_OpenSortedRecordset(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Wed.mdb"));
  testsupport::makeWeddingDb(path);
  WriteInvitations(MakeInvitations(int(state.range(0))), path);
  auto db = dao::DBEngine::instance().OpenDatabase(path);
  for (auto _ : state) {
    auto rs = db->OpenRecordset(QStringLiteral("select * from PELMORA order by FAMILY_NAME ASC"));
    rs->MoveLast();
    benchmark::DoNotOptimize(rs->RecordCount());
  }
  db->Close();
}

// As the list fills it: through the current cell, right to left along a row,
// with alignment, colours and bold; the repaint that follows belongs to it.
void BM_FillGrid(benchmark::State& state) {
  const int rows = int(state.range(0));
  const QVector<QString> texts = testsupport::gridTexts(rows);
  std::unique_ptr<platform::FlexGrid> grid;
  for (auto _ : state) {
    state.PauseTiming();
    grid = std::make_unique<platform::FlexGrid>();  // the last one goes here too
    platform::FlexGrid& g = *grid;
    g.SetCols(10);
    g.SetRows(2);
    for (int c = 0; c < 10; ++c) g.SetColWidth(c, 900);
    g.resize(700, 300);
    g.show();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    testsupport::fillGrid(g, texts);
    QCoreApplication::processEvents();
  }
  if (grid && grid->TextMatrix(rows, 9) != QStringLiteral("r%1c9").arg(rows)) state.SkipWithError("the grid lost cells");
}

}  // namespace

void RegisterPlatformBenchmarks() {
  benchmark::RegisterBenchmark("BM_OpenSortedRecordset", &BM_OpenSortedRecordset)
      ->Arg(10000)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_FillGrid", &BM_FillGrid)->Arg(10000)->Unit(benchmark::kMillisecond);
}

}  // namespace bench
