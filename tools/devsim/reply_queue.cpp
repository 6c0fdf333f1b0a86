#include "tools/devsim/reply_queue.h"

#include <algorithm>

namespace kestrelink::devsim {
namespace {

// std::push_heap keeps the greatest on top; the latest reply must therefore compare least.
bool LaterThan(const PendingReply& first, const PendingReply& second) {
    if (first.due != second.due) {
        return first.due > second.due;
    }
    return first.sequence > second.sequence;
}

}  // namespace

void ReplyQueue::Push(std::chrono::steady_clock::time_point due, device::Family family,
                      const Destination& destination, std::vector<std::uint8_t> datagram) {
    m_heap.push_back({due, m_nextSequence++, family, destination, std::move(datagram)});
    std::push_heap(m_heap.begin(), m_heap.end(), LaterThan);
}

std::optional<std::chrono::steady_clock::time_point> ReplyQueue::NextDue() const {
    if (m_heap.empty()) {
        return std::nullopt;
    }
    return m_heap.front().due;
}

std::optional<PendingReply> ReplyQueue::PopDue(std::chrono::steady_clock::time_point now) {
    if (m_heap.empty() || m_heap.front().due > now) {
        return std::nullopt;
    }
    std::pop_heap(m_heap.begin(), m_heap.end(), LaterThan);
    PendingReply reply = std::move(m_heap.back());
    m_heap.pop_back();
    return reply;
}

}  // namespace kestrelink::devsim
