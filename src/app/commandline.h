// The command line, read before any window system is touched, so that
// --help and --version work without a display.
#pragma once

#include <optional>

namespace Quorvath {

// Answers --help and --version on standard output and a wrong command line
// with an error and the usage on standard error. Returns the exit code when
// the program is to end there (0 for help and version, 1 when writing them
// failed, 2 for a wrong command line), nothing when it is to run. Qt's own options (-platform,
// -style, -reverse, ...) are let through for QApplication to take: `argc`
// and `argv` are then those to hand it, with each Qt option given as
// --name=value or -name=value split into -name value.
std::optional<int> handleCommandLine(int &argc, char **&argv);

} // namespace Quorvath
