#include "base/win32/com_apartment.h"

#include <objbase.h>

ComApartment::ComApartment(Threading threading)
    : m_joined(
          SUCCEEDED(CoInitializeEx(nullptr, threading == Threading::Single
                                                ? COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE
                                                : COINIT_MULTITHREADED))) {}

ComApartment::~ComApartment() {
    if (m_joined) CoUninitialize();
}
