#pragma once

#include <optional>
#include <string>

namespace earthwork::cli {

/// The value of a --tab option: a whole number from 1 on; nullopt with
/// `error` set otherwise.
std::optional<int> ParseTabOption(const std::string& value, std::string& error);

/// A word that is none of the command's options: the input file the first
/// time; an unknown option or a second file sets `error` and gives false.
bool TakeInputWord(const std::string& word, std::string& input, std::string& error);

}  // namespace earthwork::cli
