// A text wrapped at word boundaries into lines of a fixed width, one line
// spacing apart: as a value label (ValueLabel) draws it, and as the choice
// of the program's font measures every wrapped text, so that what the choice
// finds fits is what the label shows.
#pragma once

#include <QSize>
#include <QTextOption>

class QFont;
class QString;
class QTextLayout;

namespace Quorvath::WrappedText {

// Word wrap, and the text's own direction, not the application's: under
// -reverse a sentence's full stop would otherwise move to its front.
QTextOption option();

// Lays the text of `layout`, which has option() set, out in lines `width`
// wide.
void layOut(QTextLayout &layout, int width);

// What a laid-out text takes: its widest line, rounded up, and from the
// first line's top to the last line's descent.
QSize extent(const QTextLayout &layout);

// What `text` takes in `font`, laid out so.
QSize size(const QFont &font, const QString &text, int width);

} // namespace Quorvath::WrappedText
