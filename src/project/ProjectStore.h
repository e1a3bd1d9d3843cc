#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "project/CellMemory.h"
#include "project/Errors.h"

namespace earthwork {

constexpr int kGroupSlots = 26;
constexpr int kCellRows = 1801;  // data rows 0..1799 plus the end marker
constexpr int kMaxDataRows = kCellRows - 1;
constexpr int kCellColumns = 9;
constexpr int kRowFieldCount = 7;
constexpr int kRowFieldWidth = 15;

/// Column indexes of a CellTable.
enum Column : int { Station = 0, Code = 1, Cut = 2, AddedCut = 3, Fill = 4, AddedFill = 5 };

/// The unit system of a project; it only relabels, numbers are never
/// converted.
enum class Units : int16_t { English = 0, Metric = 1 };

/// The layout of the EarFile read last (row lines without a code field in
/// the older one).
enum class EarVersion : int16_t { V2002 = 0, V971 = 1 };

/// The text in the station column that ends a group's rows.
inline const std::string kEndOfRows = "-1";

/// 1801 rows by 9 columns of text; every access is checked against those
/// limits and an access outside them raises "Subscript out of range".
/// Rows are allocated in blocks on first write, so the empty slots of the
/// store cost nothing (a batch command never pays for 26 full groups).
class CellTable {
 public:
  CellTable() : blocks_(kBlockCount) {}
  // Inline: every row read, saved and reported passes through here.
  std::string& at(int row, int column) {
    Block& block = blocks_[BlockIndex(row, column)];
    if (block.empty()) AllocateBlock(block);
    return block[Offset(row, column)];
  }
  const std::string& at(int row, int column) const {
    const Block& block = blocks_[BlockIndex(row, column)];
    return block.empty() ? EmptyCell() : block[Offset(row, column)];
  }
  /// Number of data rows: rows before the first end marker. Raises
  /// "Subscript out of range" when no row holds the marker.
  int DataRowCount() const;

 private:
  static constexpr int kBlockRows = 64;
  static constexpr int kBlockCount = (kCellRows + kBlockRows - 1) / kBlockRows;
  using Block = std::vector<std::string, CellAllocator<std::string>>;
  static size_t BlockIndex(int row, int column) {
    if (row < 0 || row >= kCellRows || column < 0 || column >= kCellColumns) {
      SubscriptOutOfRange();
    }
    return static_cast<size_t>(row / kBlockRows);
  }
  static size_t Offset(int row, int column) {
    return static_cast<size_t>(row % kBlockRows * kCellColumns + column);
  }
  static void AllocateBlock(Block& block);
  static const std::string& EmptyCell();
  std::vector<Block> blocks_;  // an empty block reads as empty cells
};

struct GroupRecord {
  std::string Name;
  int16_t MeasuredInEmbankment = 0;
  CellTable Cells;
  std::string BalanceFactor;
};

/// The one in-memory project. Allocated once for the whole run; reset, never
/// re-created. Fixed size: 26 groups of 1801 x 9 cells.
struct ProjectStore {
  ProjectStore();

  /// Group slot `index`, checked against 0..25.
  GroupRecord& Group(int index);
  const GroupRecord& Group(int index) const;
  GroupRecord& Current() { return Group(CurrentGroup); }
  const GroupRecord& Current() const { return Group(CurrentGroup); }

  std::array<GroupRecord, kGroupSlots> Groups;
  int16_t GroupCount = 1;
  int16_t CurrentGroup = 0;
  Units UnitSystem = Units::English;
  std::array<std::string, 3> HeaderFields;  // Designer, Project No., Control No.
  std::string CurrentFileName = "Untitled";
  bool DataChanged = false;
  EarVersion FileVersion = EarVersion::V2002;
  bool LogFileMode = false;  // the project shows a GEOPAK log
  bool ImportDone = false;
  std::array<std::string, kRowFieldCount> RowFields;
};

/// True when `name` says the project has no file yet.
bool IsUntitled(const std::string& name);

/// The tab caption shown for an empty group name: "Earthwork " and the
/// 1-based tab number.
std::string DefaultGroupName(int group);

}  // namespace earthwork
