#pragma once

#include "app/cli/Cli.h"
#include "app/cli/PageFiles.h"
#include "platform/WinPath.h"

#include <optional>
#include <string>

// How the page subcommands write a window's page: `--out FILE.png` the
// picture of its page box, `FILE.pdf` what its print button prints,
// `FILE.txt` every drawing call of the screen page.
namespace zorbe::cli {

enum class PageOutput
{
    Png,
    Pdf,
    Text,
};

// By the file's extension (any letter case); nothing for another one.
std::optional<PageOutput> pageOutputOf(const std::string &file);

// A window's page for the subcommands.
struct WindowPage
{
    int width = 0;          // the page box, in screen pixels
    int height = 0;
    int dpi = kScreenPpi;   // the screen's pixels per inch
    ScreenDrawing screen;   // what the window paints
    std::string printTitle; // the print job's title (cp932)
    PrintDrawing printed;   // what the print button prints
    SheetOrientation printSheet = SheetOrientation::Landscape; // how its sheet is turned
};

// Writes the page into file. A file that could not be written whole is
// removed. Returns "" or why it failed.
std::string writeWindowPage(const WindowPage &page, PageOutput output, const WinPath &file);

// The checks every page subcommand makes of its --out argument: given, of
// a known kind, and (for PNG and PDF) a build that can draw pictures.
// Returns the kind, or sets exitCode to the usage error or failure it
// printed.
std::optional<PageOutput> checkPageOutput(const std::string &out, const char *usage, Streams &streams, int &exitCode);

} // namespace zorbe::cli
