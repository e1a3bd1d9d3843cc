#include "project/LogStore.h"

#include "project/Errors.h"

namespace earthwork {

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
