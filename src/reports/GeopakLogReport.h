#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "project/ProgramState.h"

namespace earthwork {

/// The ReportFile name of a log: the log's file name cut before its first
/// ".LOG" (in any case), and ".rpt".
std::string GeopakReportName(std::string_view logPath);

/// The companion station table beside the log: its path with ".ear" in
/// place of ".LOG" (and what follows it) in the file-name part.
std::string CompanionTableName(std::string_view logPath);

/// Writes the earthwork report of the current group from its log tables
/// into the ReportFile (appending while AppendToReport is 1), writes the
/// companion station table (never over a file of the user's: that is said
/// once), clears AppendToReport and recounts the pages.
/// Failed when a failure ended it (the message has been shown).
[[nodiscard]] Result CreateGeopakLogReport(ProgramState& state);

/// Report fields 2 to 10 of a station line: views of the log's tokens, or
/// literals.
using Fields = std::array<std::string_view, 9>;

/// A station line of the log's total report, as the report writes it.
struct LogReportRow {
  std::string_view label;  // trimmed
  Fields fields;
  /// The log's own mass ordinate, where the MASS ORDINATE column takes it
  /// from the log; lines that print a literal there have none.
  std::optional<std::string_view> mass;
};
using LogRowObserver = std::function<void(const LogReportRow&)>;

/// Walks the current group's log tables as the total report does (skip
/// areas report their first and last station only), writing nothing, and
/// hands each station line to `observer`.
void WalkLogReportRows(ProgramState& state, const LogRowObserver& observer);

/// The balance-point entry of the current group that lies between section
/// record `station` and the next one (the last such entry), or 0.
int16_t FindBalancePoint(ProgramState& state, int16_t station);

/// The adjustment kind ("Exc" or "Fill") in force between section record
/// `station` and the next one (the first matching entry), or "".
std::string InsertBalance(ProgramState& state, int16_t station);

}  // namespace earthwork
