#include "browser.h"

#include <QPointer>
#include <QProcess>

#include <memory>

namespace Quorvath {

Browser::~Browser() = default;

namespace {

// A reply that is given at most once, in the event loop, while its context
// lives.
class OneReply {
public:
    OneReply(QObject *context, Browser::Reply reply) : m_context(context), m_reply(std::move(reply)) {}

    void operator()(bool opened)
    {
        if (std::exchange(m_given, true) || !m_context)
            return;
        QMetaObject::invokeMethod(m_context, [reply = m_reply, opened] { reply(opened); },
                                  Qt::QueuedConnection);
    }

private:
    QPointer<QObject> m_context;
    Browser::Reply m_reply;
    bool m_given = false;
};

} // namespace

SystemBrowser::SystemBrowser(std::chrono::milliseconds bound) : m_bound(bound) {}

SystemBrowser::~SystemBrowser()
{
    for (QProcess *opener : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        opener->disconnect(this);
        opener->kill();
        opener->waitForFinished();
    }
}

bool SystemBrowser::isAvailable()
{
    return !program().isEmpty();
}

void SystemBrowser::open(const QString &url, QObject *context, Reply reply)
{
    const auto once = std::make_shared<OneReply>(context, std::move(reply));
    const Reply tell = [once](bool opened) { (*once)(opened); };
    const QString browser = program();
    if (browser.isEmpty()) {
        tell(false);
        return;
    }
    start(browser, url, tell);
}

} // namespace Quorvath
