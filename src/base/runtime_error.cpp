// How a run-time error reads when the front end reports it.
#include "base/runtime_error.h"

namespace gravisk {

std::string RuntimeError::report() const {
  return "Run-time error '" + std::to_string(number_) + "': " + what();
}

}  // namespace gravisk
