#pragma once
// The error a step raises, for tests that expect one.
#include <functional>

#include "platform/vberror.h"

namespace testsupport {

// The error the step raised; number 0 and no description when it raised none.
platform::VbError errorOf(const std::function<void()>& step);
// The number alone.
long errorNumber(const std::function<void()>& step);

}  // namespace testsupport
