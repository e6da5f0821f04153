#pragma once
#include <functional>

namespace tovimo::wine_tests {

// Tests condition every stepMs until it holds or timeoutMs has passed;
// gives whether it held. Other processes need real time to react.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int stepMs = 50);

}  // namespace tovimo::wine_tests
