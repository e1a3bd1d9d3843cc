#pragma once

#include <stdexcept>

namespace earthwork {

/// A run-time failure inside a procedure (or an operating-system call it
/// made). Its text is the plain description shown between the procedure's
/// fixed message prefix and suffix.
class ProgramError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace earthwork
