#include "mainwindow/form_scale.h"

namespace tovimo {

namespace {
int RoundedDivision(long long numerator, long long denominator) {
    const long long half = denominator / 2;
    return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator
                                           : (numerator - half) / denominator);
}
}  // namespace

int ScaleToDpi(int value, int dpi) {
    return RoundedDivision(static_cast<long long>(value) * dpi, DesignDpi);
}

int UnscaleFromDpi(int value, int dpi) {
    if (dpi <= 0) return value;
    return RoundedDivision(static_cast<long long>(value) * DesignDpi, dpi);
}

DesignRect ScaleToDpi(const DesignRect& rect, int dpi) {
    const int left = ScaleToDpi(rect.left, dpi);
    const int top = ScaleToDpi(rect.top, dpi);
    return {left, top, ScaleToDpi(rect.right(), dpi) - left, ScaleToDpi(rect.bottom(), dpi) - top};
}

}  // namespace tovimo
