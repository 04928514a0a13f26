#pragma once

#include "paper/Newspaper.h"
#include "paper/PageModel.h"
#include "paper/PrintTarget.h"
#include "platform/WinPath.h"

#include <filesystem>
#include <memory>
#include <string>

// Pictures and PDF files of newspaper pages, and the display window, for
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

// The page of the selected race as the display window paints it at zoom
// percent, as a PNG of the window's page size. Returns "" or why not.
std::string writeScreenPng(TNewspaper &paper, int zoom, const std::filesystem::path &file);

// The page as the display window's print button prints it: one A4 page,
// on its side for the vertical style and upright for the others, job
// "Zorbe Print". Returns "" or why not.
std::string writeDisplayPrintPdf(TNewspaper &paper, const TPrintEdits &edits, const std::filesystem::path &file);

// The file a print job is written to in a PDF folder: its title (the
// batch titles are digits) with anything that could leave the folder or
// hide the file replaced, then ".pdf".
std::string pdfFileNameOf(const std::string &titleCp932);

// The windows' printer writing each job as <folder>/<job title>.pdf (A4,
// turned as each job's style asks), replacing a file of the same name. nullptr without pictures.
std::unique_ptr<TPrinter> makePdfFolderPrinter(const std::filesystem::path &folder);

// True when a display is there to open windows on.
bool displayAvailable();

// The desktop program opened on the newspaper of the race-day file; returns
// when the user ends it (its exit status).
int runDesktopOnDay(const WinPath &raceCardFile);

} // namespace zorbe::cli
