// A text of a window's design: the control that shows it, its kind, the text
// and the control's rectangle. A window builds its controls from its table of
// these, and the program's font is measured against the same table, so a
// text and its box are written once (what each kind of control leaves the
// text of its box: textfit.h).
#pragma once

#include <QRect>
#include <QString>

namespace Quorvath {

// The kinds of control that show a designed text, each with its own rule for
// what of its rectangle the text may take and how it has to fit.
enum class TextControl {
    Label,            // wrapped at word boundaries inside the whole box
    FieldCaption,     // a label whose text starts level with its value's text, wrapped below that
    Value,            // a value label (ValueLabel): wrapped inside its border
    TabCaption,       // one line inside the box, which leaves the tab's sides out
    Button,           // one line inside the button's margins
    FrameCaption,     // one line on the frame's top border, inset on both sides
    TextBox,          // every line break kept and every line in view, inside the border
    ScrolledTextBox,  // every line break kept, inside the border and the scroll bar
};

struct DesignedText {
    const char *name;   // the control's objectName
    TextControl control;
    QString text;
    QRect rect;         // logical pixels, in the control's container
};

} // namespace Quorvath
