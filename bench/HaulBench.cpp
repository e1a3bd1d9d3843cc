// The mass haul of a full group (1800 rows): the figures, and one frame of
// the diagram drawn into a window-sized picture.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "BenchRows.h"
#include "reports/MassHaul.h"
#include "reports/qt/MassHaulDiagram.h"

namespace earthwork {
namespace {

GroupRecord FullGroup() {
  GroupRecord group;
  FillPlainGroup(group);
  return group;
}

void BM_MassHaulFigures(benchmark::State& state) {
  const GroupRecord group = FullGroup();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeMassHaul(group, Units::English, 500));
  }
}
BENCHMARK(BM_MassHaulFigures)->Unit(benchmark::kMillisecond);

// The report's own walk over the rows, which the figures start from.
void BM_EndAreaWalk(benchmark::State& state) {
  const GroupRecord group = FullGroup();
  for (auto _ : state) {
    int32_t mass = 0;
    WalkEndAreaRows(group, Units::English, [&](const EndAreaRow& r) { mass = r.mass; });
    benchmark::DoNotOptimize(mass);
  }
}
BENCHMARK(BM_EndAreaWalk)->Unit(benchmark::kMillisecond);

void BM_MassHaulFrame(benchmark::State& state) {
  const MassHaul haul = ComputeMassHaul(FullGroup(), Units::English, 500);
  QImage image(1100, 650, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    qt::DrawMassHaul(painter, QRectF(0, 0, 1100, 650), haul, {"A", "B", "C", "Group 1", "today"});
  }
}
BENCHMARK(BM_MassHaulFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace earthwork

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
