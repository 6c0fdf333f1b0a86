#include "faces/win32/accessible_names.h"

#include <initguid.h>
#include <oleacc.h>

#include "faces/win32/wide_text.h"

namespace kestrelink::win32 {

AccessibleNames::AccessibleNames() {
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&m_services)))) {
        m_services = nullptr;
    }
}

AccessibleNames::~AccessibleNames() {
    if (m_services == nullptr) {
        return;
    }
    const MSAAPROPID name = PROPID_ACC_NAME;
    for (const HWND control : m_named) {
        m_services->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &name, 1);
    }
    m_services->Release();
}

void AccessibleNames::Name(HWND control, std::string_view name) {
    if (m_services != nullptr &&
        SUCCEEDED(m_services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                             Utf8ToWide(name).c_str()))) {
        m_named.push_back(control);
    }
}

}  // namespace kestrelink::win32
