#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

struct IAccPropServices;

namespace kestrelink::win32 {

// Names for screen readers on controls that show no caption, through the system's annotation of
// their accessible objects; cleared again before the controls go. Needs a COM apartment.
class AccessibleNames final {
public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // Where the system has no annotation service, the control keeps the name it has.
    void Name(HWND control, std::string_view name);

private:
    IAccPropServices* m_services = nullptr;
    std::vector<HWND> m_named;
};

}  // namespace kestrelink::win32
