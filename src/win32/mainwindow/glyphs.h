#pragma once
// The pictures of the program, drawn at run time at the size the display
// needs: the two-state glyphs of the buttons, the folder of the tree, the
// program's icon and the picture of the version window.
#include "mainwindow/form_design.h"
#include "platform/win32_api.h"

#include <commctrl.h>

namespace tovimo::win32 {

// Draws a glyph into the square (left, top, size) of dc; a disabled glyph
// is drawn in greys.
void DrawGlyph(HDC dc, Glyph glyph, int left, int top, int size, bool enabled);

// A button image list of the glyph at size x size pixels: one image per
// button state, the disabled state in greys. The caller destroys it.
HIMAGELIST CreateButtonGlyphs(Glyph glyph, int size);

// Adds the glyph, drawn at size x size, to an image list of that size;
// gives its index.
int AddGlyph(HIMAGELIST list, Glyph glyph, int size);

// The program's icon, drawn at size x size. The caller destroys it.
HICON CreateProgramIcon(int size);
// The program's picture (a sheet of drawing) in the rectangle.
void DrawProgramPicture(HDC dc, const RECT& rect);

}  // namespace tovimo::win32
