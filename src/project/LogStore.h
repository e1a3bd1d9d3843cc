#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace earthwork {

constexpr int kSubLines = 11;      // sub-lines 0..10
constexpr int kTokenColumns = 10;  // columns 0..9

/// The tokens of the lines that belong to one log record: 11 sub-lines of
/// 10 columns. Sub-lines are allocated as they are first written (most
/// records use three), and an unwritten token reads as the empty text. An
/// index outside 0..10 x 0..9 raises "Subscript out of range".
class TokenGrid {
 public:
  std::string& at(int subLine, int column);
  const std::string& at(int subLine, int column) const;

 private:
  std::vector<std::array<std::string, kTokenColumns>> rows_;
};

struct LogRecord {
  int32_t Flag = 0;
  std::string Label;
  TokenGrid Tokens;
  std::string Message;
};

/// A table of LogRecords with a fixed number of slots (0..size-1). Records
/// are allocated as they are first written, so a group that holds a short
/// log costs little; an index outside the slots raises "Subscript out of
/// range". A record never written reads as empty.
class LogTable {
 public:
  explicit LogTable(int slotCount) : slots_(slotCount) {}
  LogRecord& at(int index);
  const LogRecord& at(int index) const;
  int Slots() const { return slots_; }
  void Clear() { records_.clear(); }

 private:
  int slots_;
  std::deque<LogRecord> records_;
};

struct LogGroup {
  LogTable SectionTable{10001};
  LogTable AdjustmentTable{1001};
  LogTable PointTable{1001};
  LogTable SummaryTable{6};
  /// The section station count and point count of the last log read into
  /// this group; -1 while none was. The log report bounds its loops with
  /// them, so a group keeps its own stations after later imports elsewhere.
  int16_t SectionStationCount = -1;
  int16_t PointCount = -1;
};

/// The tables read from GEOPAK logs, one LogGroup per group slot.
struct LogStore {
  LogGroup& Group(int index);
  const LogGroup& Group(int index) const;
  std::array<LogGroup, 26> Groups;
};

/// Counts of the last log read (one value for all groups).
struct LogCounters {
  int16_t SectionStationCount = 0;
  int16_t PointCount = 0;
  int16_t SubLine = 0;
  /// The largest section station count of the logs imported so far, for
  /// the all-groups report.
  int16_t LargestSectionStationCount = 0;
};

}  // namespace earthwork
