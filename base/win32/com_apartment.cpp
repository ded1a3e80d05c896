#include "base/win32/com_apartment.h"

#include <objbase.h>

ComApartment::ComApartment()
    : m_joined(
          SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
    if (m_joined) CoUninitialize();
}
