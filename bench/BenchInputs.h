#pragma once

// The inputs the benchmarks and bench/targets share: the largest project
// (26 groups of 1800 rows) and a log of 10,000 records.
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/BatchSession.h"
#include "earfiles/EarFile.h"
#include "project/Format.h"

namespace earthwork::bench {

/// Rows every 50 feet with areas that swing between cut and fill, a skip
/// area, a forced balance and a station equation in every group.
inline void FillGroup(GroupRecord& group, int g) {
  group.Name = "Baseline " + std::to_string(g + 1);
  group.BalanceFactor = g % 2 == 0 ? "1.15" : "1.25";
  for (int r = 0; r < kMaxDataRows; ++r) {
    const double wave = std::sin((r + 7 * g) / 23.0);
    group.Cells.at(r, Station) = FormatStation(10000.0 * g + 50.0 * r);
    group.Cells.at(r, Cut) = FormatArea(wave > 0 ? 400 * wave : 0.0);
    group.Cells.at(r, Fill) = FormatArea(wave < 0 ? -380 * wave : 3.5);
    group.Cells.at(r, AddedCut) = FormatArea(r % 97 == 0 ? 120.0 : 0.0);
    group.Cells.at(r, AddedFill) = FormatArea(r % 89 == 0 ? 45.5 : 0.0);
    group.Cells.at(r, Code) = "";
  }
  for (const int r : {300, 340}) group.Cells.at(r, Code) = "SA";
  group.Cells.at(900, Code) = "FB";
  group.Cells.at(1200, Code) = "BK";
  group.Cells.at(1201, Code) = "AH";
  group.Cells.at(kMaxDataRows, Station) = kEndOfRows;
}

/// The largest project, saved as an EarFile at `path`.
inline bool SaveLargestProject(const std::string& path) {
  cli::BatchSession session;
  ProjectStore& store = session.state.Project;
  store.HeaderFields = {"Bench Designer", "0412-07", "1304-02"};
  store.GroupCount = kGroupSlots;
  for (int g = 0; g < kGroupSlots; ++g) FillGroup(store.Group(g), g);
  return static_cast<bool>(SaveEarFile(session.state, path));
}

constexpr int kStations = 9998;  // with the skip and closing lines: 10,000 records
constexpr int kBalancePoints = 50;

inline std::string LogStation(int hundredths) {
  char text[32];
  std::snprintf(text, sizeof text, "%d+%02d.000", hundredths / 100, hundredths % 100);
  return text;
}

/// A log of kStations stations 50 feet apart with an excavation adjustment,
/// a message every 500 stations, a skip area, kBalancePoints balance points
/// and a grand summary.
inline std::string LongLog() {
  std::string log =
      " 1     3     3 Earthwork\r\n   Earthworks for Baseline = BENCH\r\n"
      "   ADJUSTMENT\r\n      Station = 100+00.000\r\n      Material = Rock\r\n"
      "      Exc = 40.00\r\n"
      "     ----------------------------------------------------------------\r\n";
  for (int i = 0; i < kStations; ++i) {
    const std::string station = LogStation(50 * i);
    if (i % 500 == 250) {
      log += "   XS-NOPROP  No proposed elements found at " + station + "\r\n";
      continue;
    }
    if (i == 7000) log += "   SKIP = " + station + " to " + LogStation(50 * (i + 20)) + "\r\n";
    log += "   " + station + "   Cross Section\r\n";
    if (i == 200) {
      log += "        ------           NA         40.00       1.00     892.50    1412.50\r\n";
      log += "        ------           ------    552.50\r\n";
      continue;
    }
    log += "        Excavation       12.50      23.15       0.00       0.00    1000.00\r\n";
    log +=
        "        Fill              3.00       5.56       6.39       1.15     800.00"
        "    1200.00    1380.00\r\n";
  }
  log += "   Totals through the last station +\r\n     ------------------------------\r\n\r\n";
  log += "   B A L A N C E   P O I N T   T A B L E\r\n   Location   Volume\r\n";
  for (int p = 0; p < kBalancePoints; ++p) {
    log +=
        "   Balance Point at Station = " + LogStation(1000 * p + 25) + ", Offset = 0.000\r\n\r\n";
    log += "   Excavation   " + std::to_string(100 * p) + ".00   " + std::to_string(100 * p) +
           ".00   0.00\r\n";
    log += "   Fill   " + std::to_string(90 * p) + ".00   " + std::to_string(99 * p) + ".00   " +
           std::to_string(99 * p) + ".00\r\n";
  }
  log += "   End of Baseline = " + LogStation(50 * (kStations - 1)) + "\r\n   COMPLETE\r\n";
  log +=
      "   G R A N D   S U M M A R Y   T O T A L S\r\n   =====\r\n   h1\r\n   h2\r\n   h3\r\n"
      "   ----- -----\r\n   Excavation   1000.00   1000.00   1.000\r\n"
      "   Fill   800.00   920.00   1.150\r\n   B A L A N C E   S U M M A R Y\r\n";
  return log;
}

}  // namespace earthwork::bench
