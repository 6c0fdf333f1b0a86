#include "faces/win32/com_apartment.h"

#include <objbase.h>

namespace kestrelink::win32 {

// A failure leaves the thread as it was; the shell then initialises COM for each call itself.
ComApartment::ComApartment()
    : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}

ComApartment::~ComApartment() {
    // S_FALSE too: the thread was in an apartment already, and each entry is balanced.
    if (SUCCEEDED(m_result)) {
        CoUninitialize();
    }
}

}  // namespace kestrelink::win32
