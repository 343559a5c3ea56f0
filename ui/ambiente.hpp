#pragma once
// Settings of Qt that the game window needs, made before the application object exists.

namespace ui {

// Glyphs up to 256 pixels tall are drawn from Qt's glyph cache: a window filling a 4K screen
// shows its verdict and counts in letters larger than Qt's default limit (64 pixels), which
// Qt would otherwise draw from their outlines every time their text changes. A value already
// set in the environment is kept.
void preparaAmbienteQt();

} // namespace ui
