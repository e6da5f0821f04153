#include "platform/com_apartment.h"

#include "platform/win32_api.h"

#include <objbase.h>

namespace tovimo::win32 {

namespace {

// One per thread, since COM's apartment is per thread: joined once, so the
// thread holds a single reference, and that one is given back as the thread
// ends.
class ThreadApartment {
public:
    ThreadApartment() {
        const HRESULT result =
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        joined_ = result == S_OK || result == S_FALSE;
    }
    ~ThreadApartment() {
        if (joined_) ::CoUninitialize();
    }
    ThreadApartment(const ThreadApartment&) = delete;
    ThreadApartment& operator=(const ThreadApartment&) = delete;

    bool Joined() const { return joined_; }

private:
    bool joined_ = false;
};

}  // namespace

bool EnsureComApartment() {
    thread_local const ThreadApartment apartment;
    return apartment.Joined();
}

}  // namespace tovimo::win32
