// The yes/no question as a real modal message box.
#pragma once

#include "forms.h"

namespace Quorvath {

class MessageBoxQuestion final : public Question {
public:
    bool askYesNo(QWidget *parent, const QString &text, const QString &caption) override;
};

} // namespace Quorvath
