// The one font of the whole program, chosen once at start and set on the
// application, so that every window, menu, message box and tooltip shares
// it. The window designs were laid out for an 8-point sans-serif face at
// 96 dpi; the font must fit every designed text in its designed box.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

namespace Quorvath::UiFont {

// How a designed text has to fit its box.
enum class Fit {
    Wrapped,         // wrapped at word boundaries, all lines inside the box (labels)
    OneLine,         // on one line (button captions)
    Lines,           // every line break of the text ends a line, none wraps earlier (scrolled text)
    LinesAndHeight,  // as Lines, and all lines in view (text boxes without a scroll bar)
};

struct Text {
    QString text;
    QSize box;   // what the text may take, in logical pixels, borders and margins excluded
    Fit fit = Fit::Wrapped;
};

bool fits(const QFont &font, const Text &text);

// The face and size the program uses where the platform has it; empty if it
// does not.
QFont preferredFont();

// How far a face may be narrowed (see the README's figures). FreeType
// narrows cleanly. Windows' GDI does not narrow at all: it takes a width in
// whole pixels of the face's average, draws no narrower at 96 dpi and spaces
// the glyphs apart at 144, and below that breaks them; there the layout
// grows instead.
#ifdef Q_OS_WIN
inline constexpr int NarrowestStretch = 100;
#else
inline constexpr int NarrowestStretch = 90;
#endif

// The program's font. `texts` lists every designed text with its box at
// the layout's scale (Twips::scale) at the time of the call; choose() sets
// that scale as it tries, and leaves set the one the font needs.
//
// The preferred face is taken where every text fits it as designed. Else
// the system's interface face (on Windows the one of its message boxes), at
// the design's size and narrowed no further than NarrowestStretch, where
// every text fits; else, at that narrowest width, the layout grows until
// every text fits.
QFont choose(const std::function<std::vector<Text>()> &texts);

// Blanks at the end of a text line hang in the margin and never wrap it.
int lineWidth(const QFont &font, const QString &line);

} // namespace Quorvath::UiFont
