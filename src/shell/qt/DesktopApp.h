#pragma once

#include <memory>

class QApplication;

namespace zorbe {

class IJVLink;

// Starts the desktop program: the windows, then the message loop.
int runDesktopApp(int argc, char **argv);

// What the program sets on the application before any window exists: its
// name and title, the help file, the style and the default font. Windows
// are not closed by the last one hiding: the main window's "終　了" ends
// the program.
void setupApplication(QApplication &app);

// The data link of the desktop program: the local feed, whose settings
// dialog asks for the feed folder.
std::unique_ptr<IJVLink> makeDesktopDataLink();

} // namespace zorbe
