// How the program's top-level windows present themselves to assistive
// technology (AT-SPI on Linux, through Qt's accessibility bridge).
//
// Qt presents a plain QWidget made a window as an anonymous client area
// ("filler"), lists every top-level window it has made, shown or not, and
// gives every QFrame, a bare line too, an entry of its own.
#pragma once

#include <QAccessible>

class QWidget;

namespace Quorvath {

// A window class declares the role its windows, and those of the classes
// derived from it, present themselves with, named by their title:
//     Q_CLASSINFO("accessibleRole", "Dialog")
// with the name of a QAccessible::Role: "Window" ("frame" over AT-SPI) or
// "Dialog" ("dialog"). The class itself says it, so the role holds from the
// first time anything asks for a window's interface.
inline constexpr char AccessibleRoleInfo[] = "accessibleRole";

// The interface of a window whose class declares its role as above, or of
// the program's accessible root, which lists only the windows that show: a
// window built ahead and hidden is none a user can meet. Null for anything
// else. One of the factories of installAccessibleFactories().
QAccessibleInterface *windowAccessible(const QString &className, QObject *object);

// Keeps `widget`, a child of a window presented as above, out of the
// accessible tree: for purely decorative parts such as separator lines.
void markDecorative(QWidget *widget);

} // namespace Quorvath
