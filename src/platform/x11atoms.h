// The few EWMH requests Qt has no API for go to the X server directly; these
// are what they share. Only the X11 sources (*_xcb.cpp) include it.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace Quorvath::X11 {

// A reply of the server's, freed as xcb asks.
struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

// The program's X connection; null on any other platform (offscreen may
// answer for X11 without one of its own).
xcb_connection_t *connection();

// The atom of `name`; XCB_ATOM_NONE if the server gives none.
xcb_atom_t atom(xcb_connection_t *connection, const char *name);

// Whether the atom list `property` of `window` holds `atom`.
bool listHolds(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t atom);

} // namespace Quorvath::X11
