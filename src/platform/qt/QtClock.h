#pragma once

#include "platform/ports/Shell.h"

namespace earthwork::qt {

/// Today's date in the system locale's short form.
class QtClock : public Clock {
 public:
  std::string ShortDate() const override;
};

}  // namespace earthwork::qt
