#pragma once

#include <optional>
#include <string>

namespace earthwork::cli {

/// What the commands that read a project share: the input file and the
/// tab (or every tab) to work on.
struct InputAndTabs {
  std::string input;
  int tab = 1;  // 1-based
  bool all = false;
  bool tabGiven = false;

  /// Sets `error` when no input was given or --tab and --all both were.
  void Check(std::string& error) const;
  /// False, having said so, when the chosen tab is past the `tabCount`
  /// tabs of the input.
  bool TabExists(int tabCount) const;
};

/// The value of a --tab option: a whole number from 1 on; nullopt with
/// `error` set otherwise.
std::optional<int> ParseTabOption(const std::string& value, std::string& error);

/// A word that is none of the command's options: the input file the first
/// time; an unknown option or a second file sets `error` and gives false.
bool TakeInputWord(const std::string& word, std::string& input, std::string& error);

}  // namespace earthwork::cli
