#pragma once

#include <windows.h>
// Windows headers after windows.h.
#include <mmdeviceapi.h>

#include <functional>

// Calls `moved` when the user's default playback device changes (headphones plugged in, another
// device chosen in the sound settings), so that the sound follows it. Lives on the stack of the
// thread that registers it with the device enumerator and unregisters it before it goes; the
// enumerator's references do not own it. `moved` runs on a system thread and must not block.
// COM interfaces have no virtual destructor; nothing deletes this through one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class DefaultEndpointWatch final : public IMMNotificationClient {
public:
    explicit DefaultEndpointWatch(std::function<void()> moved) : m_moved(std::move(moved)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                     LPCWSTR device) override;
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override {
        return S_OK;
    }

private:
    std::function<void()> m_moved;
};
#pragma GCC diagnostic pop
