#include "platform/com_apartment.h"

#include "platform/win32_api.h"

#include <objbase.h>

namespace tovimo::win32 {

bool EnsureComApartment() {
    // Per thread, since COM's apartment is per thread; asked once, so the
    // thread holds a single reference that nothing needs to balance.
    thread_local const bool ready = [] {
        const HRESULT result =
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        return result == S_OK || result == S_FALSE;
    }();
    return ready;
}

}  // namespace tovimo::win32
