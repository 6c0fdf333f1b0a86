#pragma once

namespace kestrelink {

struct Announcement;

// The one way from the listener thread to the side that owns the device list. Both calls are made
// on the listener thread and return only when the other side has finished the step, so that no
// further datagram is read meanwhile, or at once, without effect, once shutdown has begun.
class ListenerHandOver {
public:
    virtual ~ListenerHandOver() = default;
    // Delete by MAC, refuse a listed IP, insert: one step on the owner's side.
    virtual void TakeInAnnouncement(const Announcement& announcement) = 0;
    // A device answered a configuration request; returns once the user has seen it.
    virtual void ShowSetResponse() = 0;
};

}  // namespace kestrelink
