#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>

namespace earthwork {

constexpr int kSubLines = 11;      // sub-lines 0..10
constexpr int kTokenColumns = 10;  // columns 0..9

struct LogRecord {
  int32_t Flag = 0;
  std::string Label;
  std::array<std::array<std::string, kTokenColumns>, kSubLines> Tokens;
  std::string Message;
};

/// A table of LogRecords with a fixed number of slots (0..size-1). Records
/// are allocated as they are first written, so a group that holds a short
/// log costs little; an index outside the slots raises "Subscript out of
/// range". A record never written reads as empty.
class LogTable {
 public:
  explicit LogTable(int slots) : slots_(slots) {}
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
