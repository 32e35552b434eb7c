// The one font of the whole program, chosen once at start and set on the
// application, so that every window, menu, message box and tooltip shares
// it. The window designs were laid out for an 8-point sans-serif face at
// 96 dpi; the font must fit every designed text in its designed box.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

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

// The program's font: the preferred one when it is installed (the tests hold
// it to every text), else the default sans-serif face, narrowed (never made smaller)
// until every text fits, or as narrow as it gets.
QFont choose(const std::vector<Text> &texts);

// Blanks at the end of a text line hang in the margin and never wrap it.
int lineWidth(const QFont &font, const QString &line);

} // namespace Quorvath::UiFont
