#pragma once

#include <functional>

namespace vidora::test {

// Runs the event loop until the condition holds or the time is up; true when it holds.
bool waitFor(const std::function<bool()>& condition, int timeoutMs);

// Lets the event loop run for a while, so that bytes on their way have time to arrive.
void settle(int ms);

} // namespace vidora::test
