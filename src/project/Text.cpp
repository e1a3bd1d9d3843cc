#include "project/Text.h"

#include <algorithm>

namespace earthwork {

std::string TrimLeft(std::string_view s) {
  return std::string(TrimLeftView(s));
}

std::string Trim(std::string_view s) {
  return std::string(TrimView(s));
}

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return u;
}

bool Contains(std::string_view s, std::string_view part) {
  return s.find(part) != std::string_view::npos;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return Upper(a) == Upper(b);
}

std::string Before(std::string_view s, std::string_view sep) {
  const size_t p = s.find(sep);
  return std::string(p == std::string_view::npos ? s : s.substr(0, p));
}

std::string After(std::string_view s, std::string_view sep) {
  const size_t p = s.find(sep);
  return std::string(p == std::string_view::npos ? s : s.substr(p + sep.size()));
}

}  // namespace earthwork
