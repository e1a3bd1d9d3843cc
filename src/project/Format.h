#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace earthwork {

/// Reads a plain decimal number: optional blanks, an optional sign, digits
/// with at most one ".", optional blanks. Anything else is not a number.
std::optional<double> ParseNumber(std::string_view text);

/// ParseNumber, or a number written with a power of ten ("1E3", "2.5e-2")
/// as spreadsheets write large and small values: what a file's field means.
std::optional<double> ParseFieldNumber(std::string_view text);

/// The picture "##########0.00": two decimals (rounded half away from zero
/// on the number as written to 15 significant digits), at least one integer
/// digit. A number may also be written with a power of ten ("1E3"). A text
/// that is not a number is returned unchanged.
std::string FormatArea(std::string_view text);
std::string FormatArea(double value);
/// FormatArea of a text that is a number; nothing for any other text.
std::optional<std::string> AreaPicture(std::string_view text);

/// The picture "########00+00.000": plus notation, "+" before the last two
/// integer digits, at least two digits before it, three decimals. A number
/// may also be written with a power of ten. A text that is not a number
/// (already in plus notation, a letter suffix, empty) is returned unchanged.
std::string FormatStation(std::string_view text);
std::string FormatStation(double value);

/// The pictures "@@@@@@@@" and "@@@@@@@@@": right-aligned, blank-padded on
/// the left; a longer text is kept whole.
std::string RightAlign(std::string_view text, size_t width);

/// The shortest text of a number: up to 15 significant digits, no trailing
/// zeros (1.150 gives 1.15, 01.000 gives 1).
std::string ShortestText(double value);

/// Rounds to the nearest integer, halves to the even one. Throws
/// ProgramError("Overflow") outside the 32-bit range.
int32_t RoundHalfEven(double value);

/// A line of report items placed in print zones of 14 columns: each item
/// after the first starts at the next zone boundary (columns 1, 15, 29, ...)
/// at or after the end of the text so far.
class ZoneLine {
 public:
  ZoneLine& Item(std::string_view text);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  bool first_ = true;
};

}  // namespace earthwork
