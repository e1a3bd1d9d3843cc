#pragma once

#include <string>
#include <string_view>

namespace earthwork {

/// Blank means space or tab, as the files and grid use them.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
std::string Trim(std::string_view s);
/// Trim without a copy: the part of `s` between its leading and trailing
/// blanks. Inline: every field of every row line passes through it.
inline std::string_view TrimView(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}
inline std::string_view TrimLeftView(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}
inline std::string_view TrimRightView(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}
std::string TrimLeft(std::string_view s);
/// ASCII upper case; bytes above 127 are left alone.
std::string Upper(std::string_view s);
bool Contains(std::string_view s, std::string_view part);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
/// Text before the first occurrence of `sep`, or the whole text.
std::string Before(std::string_view s, std::string_view sep);
/// Text after the first occurrence of `sep`, or the whole text.
std::string After(std::string_view s, std::string_view sep);

}  // namespace earthwork
