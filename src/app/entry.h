#pragma once
#include <optional>

namespace quorel {

class InstanceGuard;
class Messages;

// Asks what to do when another station already runs on this PC. Returns the
// exit code when this one must end, nothing when it goes on as a second one.
std::optional<int> answerSecondInstance(const InstanceGuard& guard, Messages& messages);

} // namespace quorel
