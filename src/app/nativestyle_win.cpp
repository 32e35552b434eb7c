#include "nativestyle.h"

#include "stylelog.h"

#include <QApplication>
#include <QStyle>

#include <cstring>

namespace Quorvath {

namespace {

constexpr char NativeStyle[] = "windowsvista";
bool requested = false;

// Whether the command line names a style as QGuiApplication reads it:
// -style NAME or -style=NAME, with one dash or two; an empty name is none.
bool styleNamed(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (arg[0] != '-')
            continue;
        if (arg[1] == '-')
            ++arg;
        const char *name = nullptr;
        if (std::strncmp(arg, "-style=", 7) == 0)
            name = arg + 7;
        else if (std::strcmp(arg, "-style") == 0 && i + 1 < argc)
            name = argv[++i];
        if (name && *name)
            return true;
    }
    return false;
}

} // namespace

// Asked through QT_STYLE_OVERRIDE, which QApplication reads where the
// command line names no style: the user's -style still wins, and only the
// one style is made (QApplication::setStyle() afterwards would make Qt's
// choice first).
void requestNativeStyle(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE") || styleNamed(argc, argv))
        return;
    qputenv("QT_STYLE_OVERRIDE", NativeStyle);
    requested = true;
}

void withdrawNativeStyleRequest()
{
    if (!requested)
        return;
    qunsetenv("QT_STYLE_OVERRIDE");
    requested = false;
    const QString made = QApplication::style()->name();
    if (made != QLatin1String(NativeStyle))
        qCWarning(lcStyle, "The %s style could not be made; the windows are drawn in the %s style, "
                         "whose controls may not keep their designed places",
                  NativeStyle, qPrintable(made));
}

} // namespace Quorvath
