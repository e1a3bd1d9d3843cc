#include "project/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "project/Errors.h"
#include "project/Text.h"

namespace earthwork {

namespace {

/// Digits of a plain decimal number, gathered while it is checked: when
/// they hold at most 15 significant digits and 22 decimals, the digits and
/// the power of ten are exact doubles and one division rounds correctly
/// (the double from_chars gives). Most areas and stations are such texts;
/// anything longer goes the general way.
struct Digits {
  uint64_t mantissa = 0;
  int count = 0;
  int significant = 0;
  int decimals = 0;
  int points = 0;
  bool Exact() const { return significant <= 15 && decimals <= 22; }
  double Value() const {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    return static_cast<double>(mantissa) / kPowers[decimals];
  }
};

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  const std::string_view t = TrimView(text);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const size_t start = i;
  Digits d;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      ++d.count;
      if (d.Exact()) {
        d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(c - '0');
        d.significant += d.mantissa != 0 ? 1 : 0;
        d.decimals += d.points;
      }
    } else if (c == '.' && d.points == 0) {
      ++d.points;
    } else {
      return std::nullopt;
    }
  }
  if (d.count == 0) return std::nullopt;
  if (d.Exact()) return negative ? -d.Value() : d.Value();
  double value = 0;
  const auto [ptr, ec] = std::from_chars(t.data() + start, t.data() + t.size(), value);
  if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<double> ParseFieldNumber(std::string_view text) {
  if (const auto plain = ParseNumber(text)) return plain;
  const std::string_view t = TrimView(text);
  // Not find_first_of: it looks up every character of the text in the set.
  const size_t e = std::min(t.find('e'), t.find('E'));
  if (e == std::string_view::npos || e + 1 == t.size()) return std::nullopt;
  const auto mantissa = ParseNumber(t.substr(0, e));
  std::string_view exponent = t.substr(e + 1);
  if (!mantissa || TrimView(t.substr(0, e)) != t.substr(0, e)) return std::nullopt;
  if (exponent[0] == '+') exponent.remove_prefix(1);
  int power = 0;
  const auto [end, ec] = std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
  if (ec != std::errc() || end != exponent.data() + exponent.size()) return std::nullopt;
  const double value = *mantissa * std::pow(10.0, power);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

namespace {

/// |value| as integer digits and `decimals` fraction digits, rounded half
/// away from zero on its 15-significant-digit decimal form, so that a value
/// such as 1.005 rounds as it reads.
struct Decimal {
  std::string integer;
  std::string fraction;
  bool negative = false;
};

Decimal ToDecimal(double value, int decimals) {
  Decimal d;
  d.negative = value < 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  // buf = "d.dddddddddddddde+XX"
  std::string mantissa;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p) {
    if (*p != '.') mantissa += *p;
  }
  const int exponent = std::atoi(p + 1);
  // Digits of the number with the decimal point after `pointPos` digits.
  std::string digits = mantissa;
  int pointPos = exponent + 1;
  if (pointPos <= 0) {
    digits.insert(0, static_cast<size_t>(-pointPos), '0');
    pointPos = 0;
  }
  const size_t want = static_cast<size_t>(pointPos + decimals);
  if (digits.size() < want + 1) digits.append(want + 1 - digits.size(), '0');
  const bool roundUp = digits[want] >= '5';
  digits.resize(want);
  if (roundUp) {
    size_t k = digits.size();
    while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
    if (k == 0) {
      digits.insert(0, 1, '1');
      ++pointPos;
    } else {
      ++digits[k - 1];
    }
  }
  d.integer = digits.substr(0, static_cast<size_t>(pointPos));
  d.fraction = digits.substr(static_cast<size_t>(pointPos));
  const size_t nz = d.integer.find_first_not_of('0');
  d.integer = nz == std::string::npos ? "" : d.integer.substr(nz);
  if (d.integer.empty() && d.fraction.find_first_not_of('0') == std::string::npos) {
    d.negative = false;  // no "-0.00"
  }
  return d;
}

/// The picture text of a value that is the double nearest to a whole number
/// of hundredths (thousandths) of at most 15 digits: its 15-digit decimal
/// form is that number itself, so the text path would give the same digits.
/// Most report values (volumes, areas typed with two decimals, stations)
/// take this path, which is many times faster than formatting through text.
/// A station has at least four integer digits and "+" before the last two.
std::optional<std::string> ExactPicture(double value, int decimals, bool station) {
  const double scale = decimals == 2 ? 100.0 : 1000.0;
  if (!(std::fabs(value) < 1e15 / scale)) return std::nullopt;
  const double units = std::nearbyint(value * scale);
  if (units / scale != value) return std::nullopt;
  auto rest = static_cast<uint64_t>(std::fabs(units));
  char buffer[40];
  char* const end = buffer + sizeof buffer;
  char* p = end;
  for (int k = 0; k < decimals; ++k, rest /= 10) *--p = static_cast<char>('0' + rest % 10);
  *--p = '.';
  const int minDigits = station ? 4 : 1;
  for (int digits = 0; rest > 0 || digits < minDigits; ++digits, rest /= 10) {
    if (station && digits == 2) *--p = '+';
    *--p = static_cast<char>('0' + rest % 10);
  }
  if (units < 0) *--p = '-';
  return std::string(p, end);
}

std::string PadDigits(std::string integer, size_t minDigits) {
  if (integer.size() < minDigits) integer.insert(0, minDigits - integer.size(), '0');
  return integer;
}

}  // namespace

std::string FormatArea(double value) {
  if (auto exact = ExactPicture(value, 2, false)) return std::move(*exact);
  const Decimal d = ToDecimal(value, 2);
  return (d.negative ? "-" : "") + PadDigits(d.integer, 1) + "." + d.fraction;
}

namespace {

/// True when `t` is already what FormatArea gives for it: an optional "-",
/// integer digits without a leading zero (or one "0"), "." and two digits,
/// at most 15 digits in all, and no "-0.00". The stored cells and the rows
/// of a saved file are in this form, so they are kept without a number.
bool IsAreaPicture(std::string_view t) {
  const size_t sign = !t.empty() && t[0] == '-' ? 1 : 0;
  const size_t digits = t.size() - sign - 3;
  if (t.size() < sign + 4 || digits > 13 || t[t.size() - 3] != '.') return false;
  bool zero = true;
  for (size_t i = sign; i < t.size(); ++i) {
    if (i == t.size() - 3) continue;
    if (t[i] < '0' || t[i] > '9') return false;
    zero = zero && t[i] == '0';
  }
  const bool leadingZero = t[sign] == '0' && digits > 1;
  return !leadingZero && !(sign == 1 && zero);
}

}  // namespace

std::optional<std::string> AreaPicture(std::string_view text) {
  const std::string_view t = TrimView(text);
  if (IsAreaPicture(t)) return std::string(t);
  if (const auto v = ParseFieldNumber(t)) return FormatArea(*v);
  return std::nullopt;
}

std::string FormatArea(std::string_view text) {
  auto picture = AreaPicture(text);
  return picture ? std::move(*picture) : std::string(text);
}

std::string FormatStation(double value) {
  if (auto exact = ExactPicture(value, 3, true)) return std::move(*exact);
  const Decimal d = ToDecimal(value, 3);
  const std::string integer = PadDigits(d.integer, 4);
  const size_t split = integer.size() - 2;
  return (d.negative ? "-" : "") + integer.substr(0, split) + "+" + integer.substr(split) + "." +
         d.fraction;
}

std::string FormatStation(std::string_view text) {
  const auto v = ParseFieldNumber(text);
  return v ? FormatStation(*v) : std::string(text);
}

std::string RightAlign(std::string_view text, size_t width) {
  if (text.size() >= width) return std::string(text);
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string ShortestText(double value) {
  if (value == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string s = buf;
  const size_t e = s.find('e');
  if (e != std::string::npos) {
    // 1e+15 is written 1E+15
    std::string exponent = s.substr(e + 1);
    const char sign = exponent[0];
    exponent = exponent.substr(1);
    while (exponent.size() > 2 && exponent[0] == '0') exponent.erase(0, 1);
    s = s.substr(0, e) + "E" + sign + exponent;
  }
  return s;
}

int32_t RoundHalfEven(double value) {
  const double r = std::nearbyint(value);  // default rounding: to nearest, ties to even
  if (!(r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max())) {
    throw ProgramError("Overflow");
  }
  return static_cast<int32_t>(r);
}

ZoneLine& ZoneLine::Item(std::string_view text) {
  constexpr size_t kZone = 14;
  if (!first_) {
    const size_t next = (text_.size() + kZone - 1) / kZone * kZone;
    text_.append(next - text_.size(), ' ');
  }
  first_ = false;
  text_ += text;
  return *this;
}

}  // namespace earthwork
