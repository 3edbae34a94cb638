#pragma once
// The windows name Windows fonts (Times New Roman, MS Sans Serif, Verdana). Where they are
// not installed, Qt draws with the free fonts of the same metrics instead, so captions and
// printed lines keep their sizes: Liberation Serif for Times New Roman, DejaVu Sans for the
// two sans-serif faces.

namespace quorvex {

// Call once, after the application object exists and before any window is built.
void installFontSubstitutions();

} // namespace quorvex
