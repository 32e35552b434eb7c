// What main() settles before the window system is opened: descriptors a
// launcher left closed.
#pragma once

namespace Quorvath {

// Opens /dev/null on each of standard input, output and error that is
// closed. Left closed, the next file or socket opened (the X connection)
// would take its number, and the first warning would be written into it.
// Nothing to do on Windows.
void openClosedStandardStreams();

} // namespace Quorvath
