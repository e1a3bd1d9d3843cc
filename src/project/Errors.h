#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ports/Dialogs.h"
#include "platform/ports/Failure.h"

namespace earthwork {

/// What a reader or a command gives back: done, or why not and where that
/// arose. A failure has been shown to the user where it was trapped; the
/// caller only decides whether to go on. Readers and commands declare it
/// [[nodiscard]]; the trap at the edge may drop it.
class Result {
 public:
  static Result Done() { return Result(); }
  static Result Failed(std::string message, std::string where = {}) {
    Result result;
    result.done_ = false;
    result.message_ = std::move(message);
    result.where_ = std::move(where);
    return result;
  }
  explicit operator bool() const { return done_; }
  bool Ok() const { return done_; }
  const std::string& Message() const { return message_; }
  const std::string& Where() const { return where_; }

 private:
  Result() = default;
  bool done_ = true;
  std::string message_;
  std::string where_;
};

[[noreturn]] inline void SubscriptOutOfRange() {
  throw ProgramError("Subscript out of range");
}

/// Runs `body`; an exception escaping it is shown as one message box made of
/// `prefix`, the description and `suffix` (with `title`, if given). Done when
/// `body` finished, else failed with the description, where `suffix` says.
/// This is the one place where procedures trap their own failures.
template <class Body>
Result Trap(Dialogs& dialogs, std::string_view prefix, std::string_view suffix, Body&& body,
            const std::string& title = {}) {
  std::string description;
  try {
    body();
    return Result::Done();
  } catch (const std::bad_alloc&) {
    description = "Out of memory";
  } catch (const std::exception& e) {
    description = e.what();
  }
  std::string text(prefix);
  text += description;
  text += suffix;
  dialogs.MessageBox(text, Buttons::Ok, Icon::None, title);
  return Result::Failed(description, std::string(suffix));
}

}  // namespace earthwork
