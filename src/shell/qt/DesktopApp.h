#pragma once

namespace zorbe {

// Starts the desktop program: the windows, then the message loop.
int runDesktopApp(int argc, char **argv);

} // namespace zorbe
