#pragma once

namespace kestrelink {

// The one owner of a system handle: closes it when replaced or destroyed.
template <typename Handle, Handle kNone, void (*kClose)(Handle)>
class OwnedHandle final {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : m_handle(handle) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    bool IsOpen() const { return m_handle != kNone; }
    Handle Get() const { return m_handle; }
    void Reset(Handle handle = kNone) {
        if (IsOpen()) {
            kClose(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = kNone;
};

}  // namespace kestrelink
