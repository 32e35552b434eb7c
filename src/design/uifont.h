// The one font of the whole program, chosen once at start and set on the
// application, so that every window, menu, message box and tooltip shares
// it. The window designs were laid out for an 8-point sans-serif face at
// 96 dpi; the font must fit every designed text in its designed box.
#pragma once

#include "twips.h"

#include <QFont>
#include <QList>
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

// The systems whose faces the program knows.
enum class System { Windows, Linux };
// The one the program runs on (uifont_linux.cpp, uifont_win.cpp).
extern const System ThisSystem;

// Called before the application object is made: on Windows, asks Qt for GDI's
// font database, unless the platform was chosen already (QT_QPA_PLATFORM).
// That is where the faces are measured and drawn as the designs were, the old
// bitmap MS Sans Serif among them; DirectWrite's, Qt's own choice since 6.8,
// has no bitmap face. withdrawFontDatabaseRequest(), once the application
// object exists, keeps the request from the programs it starts.
void requestFontDatabase();
void withdrawFontDatabaseRequest();

// The faces the windows were designed for, or drawn to their metrics, at the
// design's size, best first: taken where the system has them and every text
// fits as designed.
QList<QFont> designFaces(System system);
// The first of them: the face and size the program uses where it can.
QFont preferredFont();

// How far the system's interface face may be narrowed (see the figures in
// docs/fonts.md). FreeType narrows cleanly. Windows' GDI does not narrow at all:
// it takes a width in whole pixels of the face's average, draws no narrower
// at 96 dpi and spaces the glyphs apart at 144, and below that breaks them;
// there the layout grows instead.
int narrowestStretch(System system);

// Whether the system has the face at its size: installed, and scalable or
// with a strike of that size.
bool offered(const QFont &face);

// The faces to try, best first: those of designFaces() that are `offered`,
// then the system's interface face `systemFamily` at the design's size, ever
// narrower down to narrowestStretch().
QList<QFont> candidates(System system, const std::function<bool(const QFont &)> &offered,
                        const QString &systemFamily);

// The program's font and the scale of the layout that its texts need.
struct Choice {
    QFont font;
    Twips::Scale twips;
};

// Every designed text with its box laid out at the given scale.
using DesignedTexts = std::function<std::vector<Text>(Twips::Scale)>;

// The first of `faces` in which every text fits at the design's scale; else
// the last of them in the smallest layout, grown in steps of a twentieth up
// to three times the design, in which every text fits (or the largest).
Choice choose(const QList<QFont> &faces, const DesignedTexts &texts);
// The same among this system's candidates.
Choice choose(const DesignedTexts &texts);

} // namespace Quorvath::UiFont
