#include "provisioning/move_order.h"

#include <algorithm>
#include <map>
#include <string>

namespace kestrelink::provisioning {
namespace {

enum class Visit { NotYet, OnPath, Done };

// Depth first from start; the first edge back onto the current path closes a cycle.
std::vector<std::size_t> FindCycleFrom(std::size_t start,
                                       const std::vector<std::vector<std::size_t>>& waitsFor,
                                       std::vector<Visit>& visits) {
    struct Frame {
        std::size_t step;
        std::size_t nextEdge;
    };
    std::vector<Frame> path{{start, 0}};
    visits[start] = Visit::OnPath;
    while (!path.empty()) {
        Frame& frame = path.back();
        if (frame.nextEdge == waitsFor[frame.step].size()) {
            visits[frame.step] = Visit::Done;
            path.pop_back();
            continue;
        }
        const std::size_t next = waitsFor[frame.step][frame.nextEdge++];
        if (visits[next] == Visit::OnPath) {
            const auto first = std::find_if(path.begin(), path.end(),
                                            [next](const Frame& f) { return f.step == next; });
            std::vector<std::size_t> cycle;
            for (auto it = first; it != path.end(); ++it) {
                cycle.push_back(it->step);
            }
            return cycle;
        }
        if (visits[next] == Visit::NotYet) {
            visits[next] = Visit::OnPath;
            path.push_back({next, 0});
        }
    }
    return {};
}

}  // namespace

MoveOrder OrderMoves(std::span<const ProvisioningStep> steps) {
    std::multimap<std::string, std::size_t> holders;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        holders.emplace(steps[k].before.ip, k);
    }
    MoveOrder order;
    order.waitsFor.resize(steps.size());
    for (std::size_t k = 0; k < steps.size(); ++k) {
        if (!steps[k].newIp) {
            continue;
        }
        const auto [first, last] = holders.equal_range(*steps[k].newIp);
        for (auto holder = first; holder != last; ++holder) {
            if (holder->second != k) {
                order.waitsFor[k].push_back(holder->second);
            }
        }
    }
    std::vector<Visit> visits(steps.size(), Visit::NotYet);
    for (std::size_t k = 0; k < steps.size() && order.cycle.empty(); ++k) {
        if (visits[k] == Visit::NotYet) {
            order.cycle = FindCycleFrom(k, order.waitsFor, visits);
        }
    }
    return order;
}

}  // namespace kestrelink::provisioning
