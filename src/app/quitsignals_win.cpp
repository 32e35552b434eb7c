// The quit signals on Windows: none. A program without a console gets no
// Ctrl+C, and the end of a session comes through the session manager
// (commitDataRequest, in main.cpp).
#include "quitsignals.h"

namespace Quorvath {

QuitSignals::QuitSignals(QObject *parent) : QObject(parent) {}

QuitSignals::~QuitSignals() = default;

} // namespace Quorvath
