// How a menu entry that opens a submenu presents itself to assistive
// technology: as Qt's own menu entries do, and reported collapsed while its
// submenu is closed, expanded while it is open. Qt reports neither, so over
// AT-SPI a screen reader said "Terminology" and nothing told the user that
// the entry opens anything; UI Automation already reports the same through
// its expand-collapse pattern, which Qt gives every entry with a submenu.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace Quorvath {

// The interface of a QAction with a submenu, in a menu bar or a menu; null
// for any other object. One of the factories of installAccessibleFactories().
QAccessibleInterface *submenuEntryAccessible(const QString &className, QObject *object);

} // namespace Quorvath
