#include "platform/files/FilesCommon.h"

#include <atomic>

namespace earthwork::os {

namespace {

constexpr std::string_view kTempPrefix = ".earthwork-";
constexpr std::string_view kTempSuffix = ".tmp";

std::function<int(WriteStep)>& FaultHook() {
  static std::function<int(WriteStep)> hook;
  return hook;
}

}  // namespace

std::string TemporaryName(int pid) {
  static std::atomic<unsigned> counter{0};
  std::string name(kTempPrefix);
  name += std::to_string(pid);
  name += '-';
  name += std::to_string(counter++);
  name += kTempSuffix;
  return name;
}

bool IsSaveTemporaryName(std::string_view name) {
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  const std::string_view middle =
      name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
  const size_t dash = middle.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size() || dash > 9) {
    return false;
  }
  for (size_t i = 0; i < middle.size(); ++i) {
    if (i != dash && (middle[i] < '0' || middle[i] > '9')) return false;
  }
  return true;
}

int TemporaryOwner(std::string_view name) {
  if (!IsSaveTemporaryName(name)) return 0;
  int pid = 0;
  for (size_t i = kTempPrefix.size(); name[i] != '-'; ++i) pid = pid * 10 + (name[i] - '0');
  return pid;
}

std::string HardLinkReason(unsigned links) {
  return "the file has " + std::to_string(links) +
         " names (hard links) and saving would leave the others with the old content;"
         " save it under another name";
}

int InjectedFault(WriteStep step) {
  return FaultHook() ? FaultHook()(step) : 0;
}

ScopedWriteFault::ScopedWriteFault(std::function<int(WriteStep)> fail)
    : previous_(std::move(FaultHook())) {
  FaultHook() = std::move(fail);
}

ScopedWriteFault::~ScopedWriteFault() {
  FaultHook() = std::move(previous_);
}

}  // namespace earthwork::os
