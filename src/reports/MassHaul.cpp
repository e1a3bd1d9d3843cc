#include "reports/MassHaul.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <tuple>

#include "project/Errors.h"
#include "project/Format.h"
#include "project/Station.h"
#include "project/Text.h"
#include "reports/GeopakLogReport.h"

namespace earthwork {

namespace {

// Pieces of the curve between two rows whose areas change: enough that the
// straight pieces follow the end-area curve closely, few enough to draw fast.
constexpr int kPiecesPerInterval = 8;

bool IsEquationPair(const std::string& a, const std::string& b) {
  return (a == "BK" && b == "AH") || (a == "AH" && b == "BK");
}

/// Where each row lies along the road. The two rows of a station equation
/// are one point: the BK row's number counts behind it, the AH row's after.
struct Chainage {
  std::vector<double> x;
  std::vector<double> ahead;  // the station number that counts after the row
};

Chainage Measure(const GroupRecord& group, size_t rows) {
  Chainage c;
  std::vector<double> station(rows), back(rows);
  std::vector<std::string> code(rows);
  for (size_t n = 0; n < rows; ++n) {
    station[n] = StationTextToNumber(group.Cells.at(static_cast<int>(n), Station));
    code[n] = Trim(group.Cells.at(static_cast<int>(n), Code));
  }
  c.ahead = station;
  back = station;
  for (size_t n = 0; n + 1 < rows; ++n) {
    if (!IsEquationPair(code[n], code[n + 1])) continue;
    const double bk = code[n] == "BK" ? station[n] : station[n + 1];
    const double ah = code[n] == "AH" ? station[n] : station[n + 1];
    back[n] = back[n + 1] = bk;
    c.ahead[n] = c.ahead[n + 1] = ah;
  }
  c.x.assign(rows, 0);
  for (size_t n = 1; n < rows; ++n) {
    if (IsEquationPair(code[n - 1], code[n])) {
      c.x[n] = c.x[n - 1];
      continue;
    }
    const double length = back[n] - c.ahead[n - 1];
    if (length < 0) {
      throw ProgramError("Station " + Trim(FormatStation(station[n])) + " is below the station " +
                         Trim(FormatStation(station[n - 1])) +
                         " before it: the mass haul needs rising stations");
    }
    c.x[n] = c.x[n - 1] + length;
  }
  return c;
}

/// The share of an interval's volume found before `t` (0..1) when its area
/// goes from `a0` to `a1` along a straight line.
double Share(double a0, double a1, double t) {
  const double sum = a0 + a1;
  if (sum == 0) return t;
  return (2 * a0 * t + (a1 - a0) * t * t) / sum;
}

void Add(std::vector<MassPoint>& curve, double x, double mass, double bend = 0) {
  if (!curve.empty() && curve.back().x == x && curve.back().mass == mass) return;
  curve.push_back({x, mass, bend});
}

/// The second derivative of a share of volume `v` whose area goes from a0 to a1.
double ShareBend(double v, double a0, double a1) {
  const double sum = a0 + a1;
  return sum == 0 ? 0 : v * 2 * (a1 - a0) / sum;
}

/// The curve of one row's interval from x0, ending with the row's mass.
void AddInterval(std::vector<MassPoint>& curve, const EndAreaRow& r, double x0, double x1, double k,
                 double factor) {
  const double jump = r.addedCut - r.addedFill;  // lumped at the row
  const double smooth = r.massAfterInterval - r.massBefore - jump;
  const double length = x1 - x0;
  if (length > 0) {
    const double d = r.intervalLength / 100;
    const double cut = k * d * (r.cutStart + r.cutEnd);
    const double fill = factor * k * d * (r.fillStart + r.fillEnd);
    const auto shape = [&](double t) {
      return cut * Share(r.cutStart, r.cutEnd, t) - fill * Share(r.fillStart, r.fillEnd, t);
    };
    // The report rounds each interval to whole units: the difference is
    // spread evenly, so the curve meets the report's mass at every row.
    const double correction = smooth - shape(1);
    const bool straight = r.cutStart == r.cutEnd && r.fillStart == r.fillEnd;
    const int pieces = straight ? 1 : kPiecesPerInterval;
    const double bend =
        (ShareBend(cut, r.cutStart, r.cutEnd) - ShareBend(fill, r.fillStart, r.fillEnd)) /
        (length * length);
    for (int j = 1; j <= pieces; ++j) {
      const double t = static_cast<double>(j) / pieces;
      Add(curve, x0 + t * length, r.massBefore + shape(t) + t * correction, bend);
    }
  } else {
    Add(curve, x1, r.massBefore + smooth);
  }
  Add(curve, x1, r.massAfterInterval);
}

int Sign(double v) {
  return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

/// Length of the loop where |mass| is at least h, and the integral of
/// min(|mass|, h), over the loop's points (all of one sign).
struct LevelFigures {
  double length = 0;
  double below = 0;
};

LevelFigures AtLevel(const std::vector<MassPoint>& pts, double h, int sign) {
  LevelFigures f;
  for (size_t i = 1; i < pts.size(); ++i) {
    const double x0 = pts[i - 1].x, x1 = pts[i].x;
    const double y0 = std::fabs(pts[i - 1].mass), y1 = std::fabs(pts[i].mass);
    const double w = x1 - x0;
    if (w <= 0) continue;
    if (y0 >= h && y1 >= h) {
      f.length += w;
      f.below += h * w;
    } else if (y0 <= h && y1 <= h) {
      // The parabola's area, not its chord's.
      f.below += w * (y0 + y1) / 2 - sign * pts[i].bend * w * w * w / 12;
    } else {
      // Crosses h at sc along the parabola y(s) = y0 + a s + b/2 s (s - w):
      // the part under h counts its own area, the rest counts h.
      const double a = (y1 - y0) / w, b = sign * pts[i].bend;
      const double qa = b / 2, qb = a - b * w / 2, qc = y0 - h;
      double sc = -qc / qb;
      if (std::fabs(qa * w) > 1e-12 * std::fabs(qb)) {
        const double root = std::sqrt(std::max(0.0, qb * qb - 4 * qa * qc));
        const double r1 = (-qb + root) / (2 * qa), r2 = (-qb - root) / (2 * qa);
        sc = r1 >= 0 && r1 <= w ? r1 : r2;
      }
      sc = std::clamp(sc, 0.0, w);
      const auto area = [&](double t) {  // of y from 0 to t
        return y0 * t + a * t * t / 2 + b / 2 * (t * t * t / 3 - w * t * t / 2);
      };
      const double under = y0 < h ? sc : w - sc;
      f.below += (y0 < h ? area(sc) : area(w) - area(sc)) + (w - under) * h;
      f.length += w - under;
    }
  }
  return f;
}

/// The stretches of the loop where |mass| is at least h.
std::vector<std::pair<double, double>> Above(const std::vector<MassPoint>& pts, double h) {
  std::vector<std::pair<double, double>> pieces;
  const auto crossing = [&](size_t i) {
    const double y0 = std::fabs(pts[i - 1].mass), y1 = std::fabs(pts[i].mass);
    if (y1 == y0) return pts[i].x;
    return pts[i - 1].x + (pts[i].x - pts[i - 1].x) * (h - y0) / (y1 - y0);
  };
  bool inside = false;
  for (size_t i = 1; i < pts.size(); ++i) {
    const bool before = std::fabs(pts[i - 1].mass) >= h, after = std::fabs(pts[i].mass) >= h;
    if (!inside && (before || after)) {
      pieces.push_back({before ? pts[i - 1].x : crossing(i), pts[i].x});
      inside = true;
    }
    if (inside) pieces.back().second = after ? pts[i].x : crossing(i);
    if (inside && !after) inside = false;
  }
  return pieces;
}

double HaulScale(Units units) {
  return units == Units::Metric ? 1000 : 100;
}

/// The figures of one loop, by the free-haul chord: the chord of length F
/// with its ends on the curve; the material above it moves within F.
HaulLoop Loop(const std::vector<MassPoint>& pts, double freeHaul, Units units) {
  HaulLoop loop;
  loop.startX = pts.front().x;
  loop.endX = pts.back().x;
  for (size_t i = 0; i < pts.size(); ++i) {
    if (std::fabs(pts[i].mass) > std::fabs(loop.peak)) loop.peak = pts[i].mass;
    // The top of the parabola between two points.
    const double w = i > 0 ? pts[i].x - pts[i - 1].x : 0;
    if (w <= 0 || pts[i].bend == 0) continue;
    const double slope = (pts[i].mass - pts[i - 1].mass) / w;
    const double s = w / 2 - slope / pts[i].bend;
    if (s <= 0 || s >= w) continue;
    const double top = pts[i - 1].mass + slope * s + pts[i].bend / 2 * s * (s - w);
    if (std::fabs(top) > std::fabs(loop.peak)) loop.peak = top;
  }
  const double peak = std::fabs(loop.peak);
  const int sign = Sign(loop.peak);
  loop.volume = peak;
  const double rawHaul = AtLevel(pts, peak, sign).below;
  loop.haul = rawHaul / HaulScale(units);
  if (loop.endX - loop.startX <= freeHaul) {
    loop.freeHaulVolume = peak;
    return loop;
  }
  double lo = 0, hi = peak;
  for (int i = 0; i < 60 && hi - lo > 1e-7 * (1 + peak); ++i) {
    const double mid = (lo + hi) / 2;
    (AtLevel(pts, mid, sign).length > freeHaul ? lo : hi) = mid;
  }
  const double h = (lo + hi) / 2;
  loop.overhaulVolume = h;
  loop.freeHaulVolume = peak - h;
  loop.overhaul = std::max(0.0, AtLevel(pts, h, sign).below - h * freeHaul) / HaulScale(units);
  loop.hasChord = true;
  loop.chordMass = sign * h;
  loop.chordPieces = Above(pts, h);
  if (!loop.chordPieces.empty()) {
    loop.chordStartX = loop.chordPieces.front().first;
    loop.chordEndX = loop.chordPieces.back().second;
  }
  return loop;
}

/// Splits a part of the curve into loops at its zeros.
void FindLoops(MassHaul& result, const std::vector<MassPoint>& part,
               const std::function<double(double)>& stationAt) {
  std::vector<MassPoint> current{part.front()};
  int sign = 0;
  const auto addLoop = [&] {
    HaulLoop loop = Loop(current, result.freeHaul, result.units);
    loop.startStation = stationAt(loop.startX);
    loop.endStation = stationAt(loop.endX);
    result.loops.push_back(loop);
  };
  const auto close = [&](double x) {
    if (sign != 0) {
      addLoop();
      result.balancePoints.push_back({x, stationAt(x)});
    }
    current = {{x, 0, 0}};
    sign = 0;
  };
  for (size_t i = 1; i < part.size(); ++i) {
    const MassPoint& p = part[i - 1];
    const MassPoint& q = part[i];
    const int s = Sign(q.mass);
    if (sign != 0 && s == -sign) {
      const double x = p.x == q.x ? p.x : p.x + (q.x - p.x) * p.mass / (p.mass - q.mass);
      current.push_back({x, 0, q.bend});
      close(x);
      sign = s;
      current.push_back(q);
    } else if (s == 0) {
      current.push_back(q);
      close(q.x);
    } else {
      if (sign == 0) sign = s;
      current.push_back(q);
    }
  }
  if (sign != 0) {
    addLoop();
  } else if (!result.balancePoints.empty() && result.balancePoints.back().x == part.back().x &&
             part.back().mass == 0) {
    result.balancePoints.pop_back();  // the part ends balanced: no point between loops
  }
}

std::string Fixed(double value, int decimals) {
  char buffer[64];
  if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0;  // no "-0.00"
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return ec == std::errc() ? std::string(buffer, end) : ShortestText(value);
}

std::string CsvText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

/// Texts of the group are Windows-1252; a CSV file is UTF-8.
std::string Utf8(std::string_view text) {
  static const char16_t kHigh[32] = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  std::string out;
  for (unsigned char c : text) {
    const char32_t u = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

/// What is left at a part's end: waste above zero, borrow below.
std::string EndWord(double leftover) {
  return leftover > 0 ? "Waste" : (leftover < 0 ? "Borrow" : "Balanced");
}

}  // namespace

std::string FixedText(double value, int decimals) {
  return Fixed(value, decimals);
}

double StationAtDistance(const MassHaul& haul, double x) {
  const auto& s = haul.stations;
  if (s.empty()) return x;
  auto it = std::upper_bound(s.begin(), s.end(), x,
                             [](double v, const HaulStation& h) { return v < h.x; });
  if (it != s.begin()) --it;
  return it->ahead + (x - it->x);
}

double DefaultFreeHaul(Units units) {
  return units == Units::Metric ? 150 : 500;
}

std::string VolumeUnit(Units units) {
  return units == Units::Metric ? "cu m" : "cu yd";
}
std::string HaulUnit(Units units) {
  return units == Units::Metric ? "m3-km" : "sta-yd";
}
std::string LengthUnit(Units units) {
  return units == Units::Metric ? "m" : "ft";
}

std::string StationText(double station) {
  return Trim(FormatStation(station));
}

namespace {

MassHaul StartHaul(Units units, double freeHaul) {
  if (!(freeHaul > 0) || !std::isfinite(freeHaul)) {
    throw ProgramError("The free-haul distance must be a positive number");
  }
  MassHaul result;
  result.units = units;
  result.freeHaul = freeHaul;
  return result;
}

void NeedTwoStations(size_t count, const char* what) {
  if (count < 2) {
    throw ProgramError(std::string("The mass haul needs at least two stations") + what +
                       "; the group has " + std::to_string(count));
  }
}

/// The loops, balance points, extremes and totals of the curve's parts.
void FinishHaul(MassHaul& result, const std::function<double(double)>& stationAt) {
  for (const auto& part : result.parts) {
    FindLoops(result, part, stationAt);
    for (const MassPoint& p : part) {
      result.minMass = std::min(result.minMass, p.mass);
      result.maxMass = std::max(result.maxMass, p.mass);
    }
  }
  for (const HaulLoop& loop : result.loops) {
    result.haul += loop.haul;
    result.volume += loop.volume;
    result.freeHaulVolume += loop.freeHaulVolume;
    result.overhaulVolume += loop.overhaulVolume;
    result.overhaul += loop.overhaul;
  }
  if (result.volume > 0) {
    result.averageHaulDistance = result.haul * HaulScale(result.units) / result.volume;
  }
}

std::vector<std::string> RowCells(const EndAreaRow& r, const std::string& factor) {
  return {CsvText(StationText(r.station)), CsvText(Utf8(r.code)),        ShortestText(r.cutArea),
          ShortestText(r.addedCut),        std::to_string(r.cutVolume),  ShortestText(r.fillArea),
          ShortestText(r.addedFill),       std::to_string(r.fillVolume), factor,
          std::to_string(r.adjustedFill),  std::to_string(r.mass)};
}

/// A number as the log wrote it, or the text quoted ("NA", "------").
std::string LogCell(std::string_view text) {
  const bool number = ParseNumber(text).has_value() &&
                      text.find_first_not_of("-.0123456789") == std::string_view::npos;
  return number ? std::string(text) : CsvText(Utf8(text));
}

}  // namespace

MassHaul ComputeMassHaul(const GroupRecord& group, Units units, double freeHaul) {
  MassHaul result = StartHaul(units, freeHaul);
  std::vector<EndAreaRow> rows;
  rows.reserve(kCellRows);
  WalkEndAreaRows(group, units, [&](const EndAreaRow& r) { rows.push_back(r); });
  NeedTwoStations(rows.size(), "");
  const Chainage chainage = Measure(group, rows.size());
  const auto stationAt = [&](double x) {
    const auto it = std::lower_bound(chainage.x.begin(), chainage.x.end(), x);
    const size_t n =
        it == chainage.x.begin() ? 0 : static_cast<size_t>(it - chainage.x.begin()) - 1;
    return chainage.ahead[n] + (x - chainage.x[n]);
  };
  const double k = EndAreaVolumeFactor(units);
  const double factor = ParseNumber(group.BalanceFactor).value_or(1);
  const std::string factorCell = CsvText(Utf8(Trim(group.BalanceFactor)));
  result.stations.reserve(rows.size());
  result.parts.push_back({{0, 0, 0}});
  result.parts.back().reserve(rows.size() * (kPiecesPerInterval + 1) + 1);
  for (size_t n = 0; n < rows.size(); ++n) {
    const double x = chainage.x[n];
    result.stations.push_back(
        {x, chainage.ahead[n], static_cast<double>(rows[n].mass), RowCells(rows[n], factorCell)});
    AddInterval(result.parts.back(), rows[n], n == 0 ? x : chainage.x[n - 1], x, k, factor);
    if (rows[n].forcedBalance) {
      result.ends.push_back(
          {x, stationAt(x), static_cast<double>(rows[n].massAfterInterval), true});
      result.parts.push_back({{x, 0, 0}});
    }
  }
  if (result.parts.back().size() == 1 && result.parts.size() > 1) {
    result.parts.pop_back();  // the last row is a forced balance
  } else {
    const double x = chainage.x.back();
    result.ends.push_back({x, stationAt(x), static_cast<double>(rows.back().mass), false});
  }
  FinishHaul(result, stationAt);
  result.length = chainage.x.back();
  return result;
}

MassHaul ComputeLogMassHaul(ProgramState& state, double freeHaul) {
  MassHaul result = StartHaul(state.Project.UnitSystem, freeHaul);
  std::vector<MassPoint> curve;
  double first = 0, previous = 0;
  WalkLogReportRows(state, [&](const LogReportRow& row) {
    const double station = StationTextToNumber(row.label);
    if (result.stations.empty()) {
      first = previous = station;
    } else if (station < previous) {
      throw ProgramError("Station " + StationText(station) + " is below the station " +
                         StationText(previous) + " before it: the mass haul needs rising stations");
    }
    previous = station;
    HaulStation s{
        station - first, station, std::nullopt, {CsvText(StationText(station)), CsvText("")}};
    for (std::string_view field : row.fields) s.cells.push_back(LogCell(field));
    s.cells.back() = "";  // the mass column holds only what the log states
    if (row.mass) s.mass = ParseNumber(*row.mass);
    if (s.mass) {
      s.cells.back() = LogCell(*row.mass);
      curve.push_back({s.x, *s.mass, 0});
    }
    result.stations.push_back(std::move(s));
  });
  NeedTwoStations(curve.size(), " with a mass ordinate");
  result.ends.push_back({curve.back().x, curve.back().x + first, curve.back().mass, false});
  result.parts.push_back(std::move(curve));
  FinishHaul(result, [first](double x) { return first + x; });
  result.length = result.stations.back().x;
  return result;
}

std::string HaulText(const MassHaul& h, const std::string& title) {
  const std::string vol = VolumeUnit(h.units), haul = HaulUnit(h.units), len = LengthUnit(h.units);
  std::string t = "Mass haul: " + title + "\n";
  t += "Stations: " + std::to_string(h.stations.size()) + ", length " + Fixed(h.length, 2) + " " +
       len + ", free haul " + Fixed(h.freeHaul, 2) + " " + len + "\n";
  t += "Balance points:";
  if (h.balancePoints.empty()) t += " none";
  for (const BalancePoint& b : h.balancePoints) t += " " + StationText(b.station);
  t += "\n\n";
  t += RightAlign("From", 12) + RightAlign("To", 12) + RightAlign("Volume", 11) +
       RightAlign("Haul", 12) + RightAlign("Free vol.", 11) + RightAlign("Over vol.", 11) +
       RightAlign("Overhaul", 12) + "  Moved\n";
  t += std::string(24, ' ') + RightAlign(vol, 11) + RightAlign(haul, 12) + RightAlign(vol, 11) +
       RightAlign(vol, 11) + RightAlign(haul, 12) + "\n";
  for (const HaulLoop& l : h.loops) {
    t += RightAlign(StationText(l.startStation), 12) + RightAlign(StationText(l.endStation), 12) +
         RightAlign(Fixed(l.volume, 0), 11) + RightAlign(Fixed(l.haul, 2), 12) +
         RightAlign(Fixed(l.freeHaulVolume, 0), 11) + RightAlign(Fixed(l.overhaulVolume, 0), 11) +
         RightAlign(Fixed(l.overhaul, 2), 12) + (l.peak > 0 ? "  ahead" : "  back") + "\n";
  }
  t += RightAlign("Total", 24) + RightAlign(Fixed(h.volume, 0), 11) +
       RightAlign(Fixed(h.haul, 2), 12) + RightAlign(Fixed(h.freeHaulVolume, 0), 11) +
       RightAlign(Fixed(h.overhaulVolume, 0), 11) + RightAlign(Fixed(h.overhaul, 2), 12) + "\n\n";
  t += "Average haul distance: " + Fixed(h.averageHaulDistance, 2) + " " + len + "\n";
  for (const PartEnd& e : h.ends) {
    const std::string what = EndWord(e.leftover);
    t += what + " at " + StationText(e.station) + (e.forced ? " (forced balance)" : "") + ": " +
         Fixed(std::fabs(e.leftover), 0) + " " + vol + "\n";
  }
  return t;
}

std::string HaulCsv(const MassHaul& h) {
  const std::string vol = " (" + VolumeUnit(h.units) + ")", haul = " (" + HaulUnit(h.units) + ")",
                    len = " (" + LengthUnit(h.units) + ")";
  std::string csv =
      "Station,Code,Cut area,Added cut,Cut volume,Fill area,Added fill,Fill volume,"
      "Balance factor,Adjusted fill,Mass ordinate,Distance" +
      len + "\r\n";
  for (const HaulStation& s : h.stations) {
    for (const std::string& cell : s.cells) csv += cell + ",";
    csv += Fixed(s.x, 3) + "\r\n";
  }
  csv += "\r\nItem,Station,To station,Volume" + vol + ",Haul" + haul + ",Free-haul volume" + vol +
         ",Overhaul volume" + vol + ",Overhaul" + haul + ",Distance" + len + "\r\n";
  csv += CsvText("Free-haul distance") + ",,,,,,,," + Fixed(h.freeHaul, 3) + "\r\n";
  for (const BalancePoint& b : h.balancePoints) {
    csv += CsvText("Balance point") + "," + CsvText(StationText(b.station)) + ",,,,,,," +
           Fixed(b.x, 3) + "\r\n";
  }
  for (const HaulLoop& l : h.loops) {
    csv += CsvText(l.peak > 0 ? "Loop (hauled ahead)" : "Loop (hauled back)") + "," +
           CsvText(StationText(l.startStation)) + "," + CsvText(StationText(l.endStation)) + "," +
           Fixed(l.volume, 0) + "," + Fixed(l.haul, 2) + "," + Fixed(l.freeHaulVolume, 0) + "," +
           Fixed(l.overhaulVolume, 0) + "," + Fixed(l.overhaul, 2) + "," +
           Fixed(l.endX - l.startX, 3) + "\r\n";
  }
  for (const PartEnd& e : h.ends) {
    const std::string what = EndWord(e.leftover);
    csv += CsvText(what + (e.forced ? " at forced balance" : " at end")) + "," +
           CsvText(StationText(e.station)) + ",," + Fixed(std::fabs(e.leftover), 0) + ",,,,," +
           Fixed(e.x, 3) + "\r\n";
  }
  csv += CsvText("Total") + ",,," + Fixed(h.volume, 0) + "," + Fixed(h.haul, 2) + "," +
         Fixed(h.freeHaulVolume, 0) + "," + Fixed(h.overhaulVolume, 0) + "," +
         Fixed(h.overhaul, 2) + "," + Fixed(h.length, 3) + "\r\n";
  csv += CsvText("Average haul distance") + ",,,,,,,," + Fixed(h.averageHaulDistance, 3) + "\r\n";
  return csv;
}

}  // namespace earthwork
