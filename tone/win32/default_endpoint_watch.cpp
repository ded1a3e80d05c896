#include "tone/win32/default_endpoint_watch.h"

HRESULT DefaultEndpointWatch::QueryInterface(REFIID iid, void** object) {
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IMMNotificationClient)) {
        *object = static_cast<IMMNotificationClient*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT DefaultEndpointWatch::OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) {
    // The console role is the one the output opened: the device for sounds of programs.
    if (flow == eRender && role == eConsole) m_moved();
    return S_OK;
}
