#include "fetch_probe.h"

namespace tovimo::wine_tests {

namespace {

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

std::optional<double> FetchProbe::Measure(int limitMs) {
    // Two selections in turn, both inside any text of two characters or more.
    second_ = !second_;
    const DWORD from = second_ ? 1 : 0;
    const DWORD to = second_ ? 2 : 1;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    if (!::PostMessageA(edit_, EM_SETSEL, from, to)) return std::nullopt;
    for (;;) {
        DWORD_PTR selection = 0;
        if (::SendMessageTimeoutA(edit_, EM_GETSEL, 0, 0, SMTO_NORMAL, 100, &selection) &&
            LOWORD(selection) == from && HIWORD(selection) == to)
            return MillisecondsSince(start);
        if (MillisecondsSince(start) > limitMs) return std::nullopt;
        ::Sleep(1);
    }
}

}  // namespace tovimo::wine_tests
