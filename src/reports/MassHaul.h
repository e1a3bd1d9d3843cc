#pragma once

#include <optional>
#include <string>
#include <vector>

#include "project/ProgramState.h"
#include "project/ProjectStore.h"
#include "reports/EndAreaReport.h"

namespace earthwork {

/// The free-haul distance a project starts with: 500 ft, or 150 m.
double DefaultFreeHaul(Units units);

/// A point of the mass curve: distance along the road from the first row
/// (real chainage: a station equation adds no length), and mass.
struct MassPoint {
  double x = 0;
  double mass = 0;
  /// The second derivative of the mass along the piece that ends here: the
  /// curve between two points is a parabola, drawn as its chord.
  double bend = 0;
};

/// A zero of the mass curve between two loops.
struct BalancePoint {
  double x = 0;
  double station = 0;  // in the station numbers of the rows around it
};

/// One loop of the curve: a stretch where the mass keeps one sign, from a
/// balance point (or the start of a part) to the next (or the end of the
/// part, where what is left is wasted or borrowed).
struct HaulLoop {
  double startX = 0, endX = 0;
  double startStation = 0, endStation = 0;
  double peak = 0;            // largest mass, with its sign
  double volume = 0;          // moved in the loop: |peak|
  double haul = 0;            // volume x distance, in haul units
  double freeHaulVolume = 0;  // moved no farther than the free haul
  double overhaulVolume = 0;
  double overhaul = 0;  // volume x distance beyond the free haul, in haul units
  /// The free-haul chord, when the loop is longer than the free haul: its
  /// level, where it first and last meets the curve, and the stretches
  /// where the curve is above it (one for a loop with one hump; their
  /// lengths add up to the free haul).
  bool hasChord = false;
  double chordMass = 0, chordStartX = 0, chordEndX = 0;
  std::vector<std::pair<double, double>> chordPieces;
};

/// What is left at the end of a part of the group (the last row, or a
/// forced balance): positive is waste, negative borrow.
struct PartEnd {
  double x = 0;
  double station = 0;
  double leftover = 0;
  bool forced = false;
};

/// A station row of the report with its place on the curve.
struct HaulStation {
  double x = 0;
  double ahead = 0;  // the station number that counts after the row
  /// The report's MASS ORDINATE; a log's line may state none.
  std::optional<double> mass;
  /// The row's CSV cells, Station to Mass ordinate, as the report shows them.
  std::vector<std::string> cells;
};

/// The mass-haul figures of one group. Volumes in cubic yards or cubic
/// metres; haul and overhaul in station-yards (cubic yards x 100 ft) or
/// cubic-metre-kilometres; distances in feet or metres.
struct MassHaul {
  Units units = Units::English;
  double freeHaul = 0;
  std::vector<HaulStation> stations;
  std::vector<std::vector<MassPoint>> parts;  // the curve, split at forced balances
  std::vector<BalancePoint> balancePoints;
  std::vector<HaulLoop> loops;
  std::vector<PartEnd> ends;
  double haul = 0, volume = 0, freeHaulVolume = 0, overhaulVolume = 0, overhaul = 0;
  double averageHaulDistance = 0;  // haul over volume moved, in feet or metres
  double length = 0;               // of the whole group along the road
  double minMass = 0, maxMass = 0;
};

/// The mass-haul figures of `group` from the end-area report's own rows
/// (its volumes, balance factor, skip areas, forced balances and station
/// equations). Between two rows the curve follows the end areas (the areas
/// vary along a straight line), fitted to the report's whole-number mass at
/// each row. Raises ProgramError for fewer than two rows, a free haul that
/// is not a positive number, stations that fall, and where the report stops.
MassHaul ComputeMassHaul(const GroupRecord& group, Units units, double freeHaul);

/// The mass-haul figures of the current group of a log, from the log's own
/// mass ordinates on the lines of its total report (a line that states no
/// mass is listed but adds no point; inside a skip area the curve runs
/// straight from its first to its last station). Raises ProgramError as
/// ComputeMassHaul does.
MassHaul ComputeLogMassHaul(ProgramState& state, double freeHaul);

/// Names of the units: "cu yd" / "cu m", "sta-yd" / "m3-km", "ft" / "m".
std::string VolumeUnit(Units units);
std::string HaulUnit(Units units);
std::string LengthUnit(Units units);

/// The station of a point as the report writes one ("12+40.000").
std::string StationText(double station);

/// `value` with `decimals` decimals and a dot, whatever the locale.
std::string FixedText(double value, int decimals);

/// The station number at distance `x` along the road.
double StationAtDistance(const MassHaul& haul, double x);

/// The haul figures as text for the command line.
std::string HaulText(const MassHaul& haul, const std::string& title);

/// The figures as CSV (RFC 4180): one row per station, a blank line, then
/// the balance points, loops and totals as a second table.
std::string HaulCsv(const MassHaul& haul);

}  // namespace earthwork
