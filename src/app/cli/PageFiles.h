#pragma once

#include "paper/Newspaper.h"
#include "paper/PageModel.h"
#include "paper/PrintTarget.h"
#include "platform/WinPath.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

// Pictures and PDF files of the windows' pages, and the display window, for
// the subcommands. The desktop build draws them with Qt; a build without
// the desktop program has none of them (pagePicturesAvailable() is false
// and every function reports kNoPicturesMessage).
namespace zorbe::cli {

// The screen the subcommands draw for: the pixels per inch of a common
// desktop screen, so that a picture is the same on every machine.
inline constexpr int kScreenPpi = 96;

inline constexpr const char *kNoPicturesMessage
    = "このビルドにはデスクトップ版が含まれていないため、PNG と PDF は作れません（--out FILE.txt は使えます）";

bool pagePicturesAvailable();

// Runs `work` on a thread of its own while this thread starts what drawing
// needs (Qt's application, the page faces): the day's files load while Qt
// starts. Returns when both are done and throws what `work` threw. `work`
// must not touch Qt. Without pictures it only runs `work`.
void startDrawingAlongside(const std::function<void()> &work);

// What a window paints on its page box: drawn on the canvas of a picture.
using ScreenDrawing = std::function<void(PageCanvas &canvas)>;
// What a window's print button prints: drawn on the print job's page.
using PrintDrawing = std::function<void(const TPageContext &ctx)>;

// A picture of a window's page box, width × height pixels at dpi on white,
// as a PNG file. Returns "" or why not.
std::string writePagePng(int width, int height, int dpi, const ScreenDrawing &draw, const std::filesystem::path &file);

// One print job of the windows' printer (titled titleCp932), written as an
// A4 PDF file on a sheet turned as sheet says. Returns "" or why not.
std::string writePrintedPdf(const std::string &titleCp932, const PrintDrawing &draw, const std::filesystem::path &file,
                            SheetOrientation sheet = SheetOrientation::Landscape);

// The file a print job is written to in a PDF folder: its title (the
// batch titles are digits) with anything that could leave the folder or
// hide the file replaced, then ".pdf".
std::string pdfFileNameOf(const std::string &titleCp932);

// The windows' printer writing each job as <folder>/<job title>.pdf (A4,
// turned as each job's style asks), replacing a file of the same name.
// nullptr without pictures.
std::unique_ptr<TPrinter> makePdfFolderPrinter(const std::filesystem::path &folder);

// True when a display is there to open windows on.
bool displayAvailable();

// The desktop program opened on the newspaper of the race-day file; returns
// when the user ends it (its exit status).
int runDesktopOnDay(const WinPath &raceCardFile);

} // namespace zorbe::cli
