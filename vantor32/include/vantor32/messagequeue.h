#pragma once
// The pending messages of a window system, for backends.
#include "vantor32/platform.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

namespace vantor32 {

class MessageQueue {
public:
    void Post(const Message& message) { messages_.push_back(message); }
    // Takes the oldest message (of one kind only when `only` is set).
    bool Take(Message* out, std::optional<MessageKind> only);
    // Whether a tick of this timer is still waiting to be taken.
    bool TimerPending(VTWindow window, std::uint32_t id) const;
    // Drops every message of a window that is going away.
    void DropWindow(VTWindow window);
    std::size_t Size() const { return messages_.size(); }

private:
    std::deque<Message> messages_;
};

} // namespace vantor32
