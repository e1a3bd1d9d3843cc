#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "project/ProgramState.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"

// What every fuzz target shares: one program state for the whole process,
// put back to a new project before each input so that a finding replays
// from its input alone, and a private folder for the files it reads and the
// reports it writes.

namespace earthwork::fuzz {

class FuzzWorld {
 public:
  /// The one world of the process. Its folder is also the report folder.
  static FuzzWorld& Get();

  /// The state as a new program has it: empty stores, no dialogs shown.
  ProgramState& Fresh();

  /// A path in the private folder.
  std::string Path(const std::string& name) const;
  /// Writes `data` to the file `name` in the private folder; returns its path.
  std::string WriteInput(const std::string& name, const uint8_t* data, size_t size) const;

  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};

 private:
  FuzzWorld();
  std::string folder_;
};

/// Stops the process with a message: a property of the program failed, and
/// the fuzzer keeps the input that broke it.
[[noreturn]] void Fail(const std::string& what);

/// True when `group` has its end marker within its table.
bool HasEndMarker(const GroupRecord& group);

/// Checks what every operation must leave behind, whatever it read: group
/// counts inside the store and an end marker in every group in use.
void CheckStoreLimits(const ProjectStore& store, std::string_view after);

/// Takes values from the input bytes one after the other; past the end it
/// gives zeros and empty texts, so any input decodes.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  uint8_t Byte();
  uint16_t Word();
  /// One of `count` choices.
  size_t Pick(size_t count) { return count == 0 ? 0 : Byte() % count; }
  /// A text of up to `maxLength` bytes.
  std::string Text(size_t maxLength);
  /// Everything not yet taken.
  std::string Rest();

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace earthwork::fuzz
