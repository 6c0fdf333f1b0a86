#pragma once

#include <windows.h>

namespace kestrelink::win32 {

// The calling thread in a single-threaded COM apartment while this lives, as the shell's calls
// and the accessibility annotations expect of a window's thread; OLE 1 DDE left out, which only
// slows the shell down.
class ComApartment final {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};

}  // namespace kestrelink::win32
