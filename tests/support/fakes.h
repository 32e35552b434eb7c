// Stand-ins for the seams through which the windows ask the user a question
// and start the web browser, for tests that drive the real windows.
#pragma once

#include "browser.h"
#include "forms.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <utility>

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
// It replies at once, or, while `waits` is set, holds the reply until told
// to give it with answer().
class FakeBrowser final : public Browser {
public:
    bool available = true;
    bool starts = true;
    bool waits = false;
    int checks = 0;
    QStringList opened;

    bool isAvailable() override
    {
        ++checks;
        return available;
    }
    void open(const QString &url, QObject *context, Reply reply) override
    {
        opened << url;
        if (waits) {
            m_context = context;
            m_reply = std::move(reply);
        } else {
            reply(starts);
        }
    }
    bool holdsReply() const { return bool(m_reply); }
    void answer(bool opens)
    {
        if (Reply reply = std::exchange(m_reply, {}); reply && m_context)
            reply(opens);
    }

private:
    QPointer<QObject> m_context;
    Reply m_reply;
};

} // namespace Quorvath::Testing
