#pragma once
// The two kinds of drawing that the list holds, one kind at a time.
#include <string_view>

namespace tovimo {

enum class DrawingKind { Dwg, Dxf };

// The lower-case extension that a file must have to be taken as a drawing
// of the kind.
constexpr std::string_view DrawingExtension(DrawingKind kind) {
    return kind == DrawingKind::Dwg ? ".dwg" : ".dxf";
}

}  // namespace tovimo
