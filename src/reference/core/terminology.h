// The nine terminology windows share one layout and differ only in the values
// of this table: caption, sizes and the explanation text.
#pragma once

#include "forms.h"

#include <QString>
#include <QSize>

#include <array>

namespace Quorvath {

struct TerminologyInfo {
    FormId form;
    QLatin1String objectName;    // the design's form name
    QLatin1String caption;
    QSize client;                // twips
    QSize frame;                 // `Frame1`, twips
    QSize text;                  // `Text1`, twips
    QLatin1String explanation;   // with its CR LF line breaks, exactly as shown
};

inline constexpr int TerminologyCount = int(FormId::TermContinuous) - int(FormId::TermItemName) + 1;

// In the order of the Help > Terminology menu.
const std::array<TerminologyInfo, TerminologyCount> &terminologyTable();

// Null for a form that is not a terminology window.
const TerminologyInfo *terminologyInfo(FormId form);

} // namespace Quorvath
