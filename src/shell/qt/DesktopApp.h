#pragma once

#include "platform/WinPath.h"

#include <chrono>
#include <memory>
#include <optional>

class QApplication;
class QCoreApplication;

namespace zorbe {

class IJVLink;

// How the desktop program starts. By default on the main window; with a
// newspaper day it loads that race-day file as "レース選択" does and opens
// the newspaper of its first race.
struct DesktopStart
{
    std::optional<WinPath> newspaperDay;
    // Measures the start: once the main window has been painted for the
    // first time, prints the seconds since `startedAt` and quits.
    bool reportStartTime = false;
    std::chrono::steady_clock::time_point startedAt = std::chrono::steady_clock::now();
};

// Starts the desktop program: the windows, then the message loop.
int runDesktopApp(int argc, char **argv, const DesktopStart &start = {});

// What the program sets on the application before any window exists: its
// name and title, the help file, the style and the default font. Windows
// are not closed by the last one hiding: the main window's "終　了" ends
// the program.
void setupApplication(QApplication &app);

// Qt's own Japanese texts (qtbase_ja), whatever the system locale.
void loadJapaneseTranslations(QCoreApplication &app);

// The data link of the desktop program: the local feed, whose settings
// dialog asks for the feed folder.
std::unique_ptr<IJVLink> makeDesktopDataLink();

} // namespace zorbe
