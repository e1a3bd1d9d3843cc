#include "project/LogStore.h"

#include "project/Errors.h"

namespace earthwork {

namespace {

void CheckToken(int subLine, int column) {
  if (subLine < 0 || subLine >= kSubLines || column < 0 || column >= kTokenColumns) {
    SubscriptOutOfRange();
  }
}

}  // namespace

std::string& TokenGrid::at(int subLine, int column) {
  CheckToken(subLine, column);
  if (static_cast<int>(rows_.size()) <= subLine) {
    // A station line is followed by two detail lines: room for sub-lines
    // 0..3 at once spares the moves of growing one sub-line at a time.
    if (rows_.capacity() == 0) rows_.reserve(4);
    rows_.resize(static_cast<size_t>(subLine) + 1);
  }
  return rows_[static_cast<size_t>(subLine)][static_cast<size_t>(column)];
}

const std::string& TokenGrid::at(int subLine, int column) const {
  static const std::string kEmpty;
  CheckToken(subLine, column);
  if (static_cast<int>(rows_.size()) <= subLine) return kEmpty;
  return rows_[static_cast<size_t>(subLine)][static_cast<size_t>(column)];
}

LogRecord& LogTable::at(int index) {
  if (index < 0 || index >= slots_) SubscriptOutOfRange();
  while (static_cast<int>(records_.size()) <= index) records_.emplace_back();
  return records_[static_cast<size_t>(index)];
}

const LogRecord& LogTable::at(int index) const {
  static const LogRecord kEmpty;
  if (index < 0 || index >= slots_) SubscriptOutOfRange();
  return index < static_cast<int>(records_.size()) ? records_[static_cast<size_t>(index)] : kEmpty;
}

LogGroup& LogStore::Group(int index) {
  if (index < 0 || index >= static_cast<int>(Groups.size())) SubscriptOutOfRange();
  return Groups[static_cast<size_t>(index)];
}

const LogGroup& LogStore::Group(int index) const {
  return const_cast<LogStore*>(this)->Group(index);
}

}  // namespace earthwork
