#include "startup.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QMutex>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace Quorvath {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category, file, function;
    int line;
    QString text;
};

QtMessageHandler passOn = nullptr;
QMutex heldLock;
QList<HeldMessage> held;

// A null context string stays null: a message without a category is not
// one of the category "".
const char *orNull(const QByteArray &bytes) { return bytes.isNull() ? nullptr : bytes.constData(); }

void releaseHeld()
{
    for (const HeldMessage &m : std::as_const(held)) {
        const QMessageLogContext context(orNull(m.file), m.line, orNull(m.function), orNull(m.category));
        passOn(m.type, context, m.text);
    }
    held.clear();
}

void holdOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QMutexLocker locker(&heldLock);
    // Qt's last word when no platform plugin started: no platform is named
    // yet, and the message is about the plugin.
    if (type == QtFatalMsg && QGuiApplication::platformName().isEmpty()
        && text.contains(QLatin1String("platform plugin"), Qt::CaseInsensitive)) {
        // Qt's own account, for whoever asked Qt for it.
        if (qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS"))
            releaseHeld();
        std::fputs("QuorvathItemlist: no display to open; run it in a desktop session (over ssh: ssh -X), "
                   "or name a display with DISPLAY or -display\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (type == QtFatalMsg) {
        releaseHeld();
        passOn(type, context, text);
        return;
    }
    held.append({type, context.category, context.file, context.function, context.line, text});
}

} // namespace

WindowSystemStart::WindowSystemStart()
{
    passOn = qInstallMessageHandler(holdOrEnd);
}

WindowSystemStart::~WindowSystemStart()
{
    qInstallMessageHandler(passOn);
    const QMutexLocker locker(&heldLock);
    releaseHeld();
}

} // namespace Quorvath
