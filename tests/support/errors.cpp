#include "errors.h"

namespace testsupport {

platform::VbError errorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const platform::VbError& e) {
    return e;
  }
  return {};
}

long errorNumber(const std::function<void()>& step) { return errorOf(step).number; }

}  // namespace testsupport
