#include "vantor32/messagequeue.h"

#include <algorithm>

namespace vantor32 {

bool MessageQueue::Take(Message* out, std::optional<MessageKind> only) {
    const auto it = std::find_if(messages_.begin(), messages_.end(),
                                 [&](const Message& m) { return !only || m.kind == *only; });
    if (it == messages_.end()) return false;
    *out = *it;
    messages_.erase(it);
    return true;
}

bool MessageQueue::TimerPending(VTWindow window, std::uint32_t id) const {
    return std::any_of(messages_.begin(), messages_.end(), [&](const Message& m) {
        return m.kind == MessageKind::Timer && m.window == window && m.timerId == id;
    });
}

void MessageQueue::DropWindow(VTWindow window) {
    std::erase_if(messages_, [&](const Message& m) { return m.window == window; });
}

} // namespace vantor32
