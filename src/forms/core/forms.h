// The twelve forms of the program and the seams through which one form
// reaches another or asks the user something. The registry in app/ owns the
// forms and implements FormShower; widgets only see these interfaces.
#pragma once

#include <QString>

class QWidget;

namespace Quorvath {

// Each form's window keeps the design's form name as its objectName
// ("frmIntro", "d", "frmItemname", ..., "frmAbout").
enum class FormId {
    Intro,            // the first window, with the picture and "Okay"
    Main,             // the categories, their lists and an item's details
    TermItemName,     // the nine terminology windows, one per term
    TermUsableBy,
    TermEffects,
    TermActivated,
    TermDescription,
    TermOneTime,
    TermLimited,
    TermMultiple,
    TermContinuous,
    About,
    Last = About,
};
inline constexpr int FormCount = int(FormId::Last) + 1;

// Show a form: create its instance on first use, load its window if it is
// not loaded, and bring it to the front.
class FormShower {
public:
    virtual ~FormShower() = default;
    virtual void show(FormId form) = 0;
};

// A modal Yes/No question with the question icon; Yes is the default button.
// Returns true for Yes.
class Question {
public:
    virtual ~Question() = default;
    virtual bool askYesNo(QWidget *parent, const QString &text, const QString &caption) = 0;
};

} // namespace Quorvath
