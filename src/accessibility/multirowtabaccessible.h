// How the multi-row tab control presents itself to assistive technology
// (AT-SPI on Linux, through Qt's accessibility bridge): a page tab list whose
// children are one page tab per caption and nothing else, the selected one
// reported as selected and focused, each selectable by its "press" action.
// Each tab holds its page, a pane named after it, so the lists on the pages
// stay reachable and a reader counts the tabs alone ("2 of 11").
//
// Qt has no interface for a widget it does not know, so without this the
// control would be an anonymous client area with eleven unnamed panes.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace Quorvath {

// The interface of a MultiRowTabWidget or of one of its pages; null for any
// other object. One of the factories of installAccessibleFactories().
QAccessibleInterface *multiRowTabAccessible(const QString &className, QObject *object);

} // namespace Quorvath
