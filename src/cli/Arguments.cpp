#include "cli/Arguments.h"

#include <charconv>
#include <iostream>

namespace earthwork::cli {

void InputAndTabs::Check(std::string& error) const {
  if (input.empty()) error = "No input file given.";
  if (all && tabGiven) error = "--tab and --all cannot be used together.";
}

bool InputAndTabs::TabExists(int tabCount) const {
  if (all || tab <= tabCount) return true;
  std::cerr << "There is no tab " << tab << " in " << input << " (it has " << tabCount << ").\n";
  return false;
}

std::optional<int> ParseTabOption(const std::string& value, std::string& error) {
  int tab = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), tab);
  if (ec != std::errc() || end != value.data() + value.size() || tab < 1) {
    error = "The tab number must be a whole number from 1 on, not \"" + value + "\".";
    return std::nullopt;
  }
  return tab;
}

bool TakeInputWord(const std::string& word, std::string& input, std::string& error) {
  if (word.starts_with("-")) {
    error = "Unknown option: " + word;
  } else if (!input.empty()) {
    error = "Only one input file can be given (" + input + ", " + word + ").";
  } else {
    input = word;
  }
  return error.empty();
}

}  // namespace earthwork::cli
