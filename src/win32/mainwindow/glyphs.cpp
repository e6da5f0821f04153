#include "mainwindow/glyphs.h"

#include <commctrl.h>

#include <vector>

namespace tovimo::win32 {

namespace {

constexpr COLORREF MaskColour = RGB(255, 0, 255);

// Drawing on a 16-unit grid, scaled to the square.
class GridPen {
public:
    GridPen(HDC dc, int left, int top, int size, bool enabled)
        : dc_(dc), left_(left), top_(top), size_(size), enabled_(enabled) {}

    int X(double units) const { return left_ + static_cast<int>(units * size_ / 16.0 + 0.5); }
    int Y(double units) const { return top_ + static_cast<int>(units * size_ / 16.0 + 0.5); }
    int Width(double units) const {
        const int width = static_cast<int>(units * size_ / 16.0 + 0.5);
        return width < 1 ? 1 : width;
    }
    COLORREF Colour(COLORREF colour) const {
        if (enabled_) return colour;
        const int grey = (GetRValue(colour) * 3 + GetGValue(colour) * 6 + GetBValue(colour)) / 10;
        const int light = 128 + grey / 2;
        return RGB(light, light, light);
    }

    void Polygon(std::initializer_list<POINT> unitPoints, COLORREF fill, COLORREF line) {
        std::vector<POINT> points;
        for (POINT p : unitPoints) points.push_back({X(p.x), Y(p.y)});
        Select(fill, line, 1);
        ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
        Release();
    }
    void Rectangle(double l, double t, double r, double b, COLORREF fill, COLORREF line) {
        Select(fill, line, 1);
        ::Rectangle(dc_, X(l), Y(t), X(r), Y(b));
        Release();
    }
    void Ellipse(double l, double t, double r, double b, COLORREF fill, COLORREF line, double width) {
        Select(fill, line, width);
        ::Ellipse(dc_, X(l), Y(t), X(r), Y(b));
        Release();
    }
    void Line(double x1, double y1, double x2, double y2, COLORREF colour, double width) {
        Select(CLR_NONE, colour, width);
        ::MoveToEx(dc_, X(x1), Y(y1), nullptr);
        ::LineTo(dc_, X(x2), Y(y2));
        Release();
    }

private:
    void Select(COLORREF fill, COLORREF line, double width) {
        pen_ = ::CreatePen(PS_SOLID, Width(width), Colour(line));
        brush_ = fill == CLR_NONE ? static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH))
                                  : ::CreateSolidBrush(Colour(fill));
        ownBrush_ = fill != CLR_NONE;
        oldPen_ = ::SelectObject(dc_, pen_);
        oldBrush_ = ::SelectObject(dc_, brush_);
    }
    void Release() {
        ::SelectObject(dc_, oldPen_);
        ::SelectObject(dc_, oldBrush_);
        ::DeleteObject(pen_);
        if (ownBrush_) ::DeleteObject(brush_);
    }

    HDC dc_;
    int left_, top_, size_;
    bool enabled_;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
    bool ownBrush_ = false;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
};

constexpr COLORREF Ink = RGB(40, 40, 40);
constexpr COLORREF Paper = RGB(255, 255, 255);
constexpr COLORREF Blue = RGB(30, 90, 200);
constexpr COLORREF Green = RGB(20, 140, 60);
constexpr COLORREF Red = RGB(200, 30, 30);
constexpr COLORREF Yellow = RGB(240, 200, 60);

// A sheet with a folded corner.
void Sheet(GridPen& g, COLORREF band) {
    g.Polygon({{2, 1}, {9, 1}, {12, 4}, {12, 15}, {2, 15}}, Paper, Ink);
    g.Rectangle(3, 10, 12, 14, band, band);
}

void Arrow(GridPen& g, COLORREF colour) {
    g.Polygon({{7, 6}, {11, 6}, {11, 3}, {15, 8}, {11, 13}, {11, 10}, {7, 10}}, colour, Ink);
}

}  // namespace

void DrawGlyph(HDC dc, Glyph glyph, int left, int top, int size, bool enabled) {
    GridPen g(dc, left, top, size, enabled);
    switch (glyph) {
        case Glyph::None: break;
        case Glyph::ToDxf: Sheet(g, Blue); Arrow(g, Green); break;
        case Glyph::ToDwg: Sheet(g, Green); Arrow(g, Blue); break;
        case Glyph::Dwg: Sheet(g, Blue); break;
        case Glyph::Dxf: Sheet(g, Green); break;
        case Glyph::Clear:
            g.Line(3, 3, 13, 13, Red, 2.5);
            g.Line(13, 3, 3, 13, Red, 2.5);
            break;
        case Glyph::Folder:
            g.Polygon({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 14}, {1, 14}}, Yellow, Ink);
            g.Polygon({{1, 14}, {3, 8}, {16, 8}, {14, 14}}, RGB(250, 225, 120), Ink);
            break;
        case Glyph::Cancel:
            g.Ellipse(2, 2, 14, 14, CLR_NONE, Red, 2);
            g.Line(4.5, 4.5, 11.5, 11.5, Red, 2);
            break;
        case Glyph::Close:
            g.Rectangle(2, 2, 10, 15, RGB(150, 100, 60), Ink);
            g.Polygon({{8, 7}, {12, 7}, {12, 4}, {16, 8}, {12, 12}, {12, 10}, {8, 10}}, Green, Ink);
            break;
        case Glyph::Acad:
            g.Polygon({{8, 1}, {15, 14}, {1, 14}}, RGB(200, 40, 40), Ink);
            g.Polygon({{8, 6}, {11, 12}, {5, 12}}, Paper, Ink);
            break;
        case Glyph::SettingClose: g.Polygon({{3, 11}, {8, 5}, {13, 11}}, Blue, Ink); break;
        case Glyph::Ok: g.Polygon({{2, 8}, {5, 8}, {7, 11}, {13, 3}, {15, 4}, {7, 14}}, Green, Ink); break;
    }
}

namespace {

HBITMAP DrawnBitmap(HDC screen, Glyph glyph, int size, bool enabled) {
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    HBRUSH mask = ::CreateSolidBrush(MaskColour);
    RECT all{0, 0, size, size};
    ::FillRect(dc, &all, mask);
    ::DeleteObject(mask);
    DrawGlyph(dc, glyph, 0, 0, size, enabled);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

}  // namespace

int AddGlyph(HIMAGELIST list, Glyph glyph, int size) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = DrawnBitmap(screen, glyph, size, true);
    ::ReleaseDC(nullptr, screen);
    const int index = ImageList_AddMasked(list, bitmap, MaskColour);
    ::DeleteObject(bitmap);
    return index;
}

HIMAGELIST CreateButtonGlyphs(Glyph glyph, int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 6, 0);
    HDC screen = ::GetDC(nullptr);
    HBITMAP normal = DrawnBitmap(screen, glyph, size, true);
    HBITMAP disabled = DrawnBitmap(screen, glyph, size, false);
    ::ReleaseDC(nullptr, screen);
    // Normal, hot, pressed, disabled, defaulted, stylus-hot.
    for (HBITMAP state : {normal, normal, normal, disabled, normal, normal})
        ImageList_AddMasked(list, state, MaskColour);
    ::DeleteObject(normal);
    ::DeleteObject(disabled);
    return list;
}

HICON CreateProgramIcon(int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0);
    AddGlyph(list, Glyph::ToDxf, size);
    HICON icon = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ImageList_Destroy(list);
    return icon;
}

void DrawProgramPicture(HDC dc, const RECT& rect) {
    HBRUSH background = ::CreateSolidBrush(RGB(20, 40, 90));
    ::FillRect(dc, &rect, background);
    ::DeleteObject(background);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int size = width < height ? width : height;
    // Two sheets and the arrow between them, one above the other.
    DrawGlyph(dc, Glyph::Dwg, rect.left + (width - size) / 2, rect.top + height / 8, size * 3 / 4, true);
    DrawGlyph(dc, Glyph::Dxf, rect.left + (width - size) / 2 + size / 4, rect.top + height / 2,
              size * 3 / 4, true);
}

}  // namespace tovimo::win32
