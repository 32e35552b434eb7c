// Stand-ins for the seams through which the windows ask the user a question
// and start the web browser, for tests that drive the real windows.
#pragma once

#include "browser.h"
#include "forms.h"

#include <QString>
#include <QStringList>

namespace Quorvath::Testing {

// Answers the quit question as told and remembers what it was asked.
class ScriptedQuestion final : public Question {
public:
    bool answer = false;
    int asked = 0;
    QString text, caption;

    bool askYesNo(QWidget *, const QString &t, const QString &c) override
    {
        ++asked;
        text = t;
        caption = c;
        return answer;
    }
};

// A browser that is there or not, starts or fails, and records the pages.
class FakeBrowser final : public Browser {
public:
    bool available = true;
    bool starts = true;
    int checks = 0;
    QStringList opened;

    bool isAvailable() override
    {
        ++checks;
        return available;
    }
    bool open(const QString &url) override
    {
        opened << url;
        return starts;
    }
};

} // namespace Quorvath::Testing
