#pragma once
// Design pixels (at 96 DPI) to the pixels of a display.
namespace tovimo {

constexpr int DesignDpi = 96;

struct DesignRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const DesignRect&) const = default;
};

// value * dpi / 96, rounded to the nearest pixel (halves away from zero).
int ScaleToDpi(int value, int dpi);
// The inverse, for pixel values the window reports.
int UnscaleFromDpi(int value, int dpi);
// Edges are scaled, not sizes, so that controls that touch at 96 DPI still
// touch, and never overlap, at every scale.
DesignRect ScaleToDpi(const DesignRect& rect, int dpi);

}  // namespace tovimo
