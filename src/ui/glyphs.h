#pragma once
#include <QIcon>

namespace zevo {

// Tool-bar glyphs (16 x 16) and the application icon, drawn in code so the tool carries no image
// files. Disabled looks come from QIcon's own disabled mode.
QIcon GlyphNew();
QIcon GlyphOpen();
QIcon GlyphSave();
QIcon GlyphPrint();
QIcon GlyphUndo();
QIcon GlyphRedo();
QIcon ApplicationIcon();

} // namespace zevo
