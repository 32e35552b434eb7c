// A function run when an object receives an event of one type, before the
// object handles it, which it then does as ever: for reacting to another
// object's events without deriving from its class.
#pragma once

#include <QEvent>

#include <functional>

class QObject;

namespace Quorvath {

enum class Repeat { EachTime, FirstTimeOnly };

// The hook is a child of `watched` and goes with it.
void onEvent(QObject *watched, QEvent::Type type, std::function<void()> act,
             Repeat repeat = Repeat::EachTime);

} // namespace Quorvath
