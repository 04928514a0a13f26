#include "app/cli/PageFiles.h"

#include "app/cli/Cli.h"

// A build without the desktop program: no pictures, no PDF, no windows.
namespace zorbe::cli {

bool pagePicturesAvailable()
{
    return false;
}

void startDrawingAlongside(const std::function<void()> &work)
{
    work();
}

std::string writePagePng(int, int, int, const ScreenDrawing &, const std::filesystem::path &)
{
    return kNoPicturesMessage;
}

std::string writePrintedPdf(const std::string &, const PrintDrawing &, const std::filesystem::path &, SheetOrientation)
{
    return kNoPicturesMessage;
}

std::unique_ptr<TPrinter> makePdfFolderPrinter(const std::filesystem::path &)
{
    return nullptr;
}

std::string pdfFileNameOf(const std::string &titleCp932)
{
    return titleCp932 + ".pdf";
}

bool displayAvailable()
{
    return false;
}

int runDesktopOnDay(const WinPath &)
{
    return kExitFailure;
}

} // namespace zorbe::cli
