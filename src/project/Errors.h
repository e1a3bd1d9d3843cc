#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ports/Dialogs.h"
#include "platform/ports/Failure.h"

namespace earthwork {

[[noreturn]] inline void SubscriptOutOfRange() {
  throw ProgramError("Subscript out of range");
}

/// Runs `body`; an exception escaping it is shown as one message box made of
/// `prefix`, the description and `suffix` (with `title`, if given). Returns
/// true when `body` finished. This is the one place where procedures trap
/// their own failures.
template <class Body>
bool Trap(Dialogs& dialogs, std::string_view prefix, std::string_view suffix, Body&& body,
          const std::string& title = {}) {
  std::string description;
  try {
    body();
    return true;
  } catch (const std::bad_alloc&) {
    description = "Out of memory";
  } catch (const std::exception& e) {
    description = e.what();
  }
  std::string text(prefix);
  text += description;
  text += suffix;
  dialogs.MessageBox(text, Buttons::Ok, Icon::None, title);
  return false;
}

}  // namespace earthwork
