#pragma once

#include "data/formats/MasterFormats.h"
#include "platform/WinPath.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The detailed master files of the jockey and trainer databases
// ("JracKisi.dat", "JracChok.dat" in the data folder), read line by line.
// A line that is not whole, or whose counts or dates are not digits, is
// left out and reported with the file and line number; the lines after it
// are still read. At most the capacity is kept; the rest is reported.
namespace zorbe {

inline constexpr std::size_t kJockeyCapacity = 600;
inline constexpr std::size_t kTrainerCapacity = 800;
inline constexpr const char *kJockeyDetailFile = "JracKisi.dat";
inline constexpr const char *kTrainerDetailFile = "JracChok.dat";

template <class Rec>
struct TDetailFile
{
    std::vector<Rec> records;          // in file order
    std::vector<std::string> problems; // what was left out and why (UTF-8)
};
using TJockeyDetails = TDetailFile<formats::TJockeyDetailRec>;
using TTrainerDetails = TDetailFile<formats::TTrainerDetailRec>;

// The file's bytes; fileName (UTF-8) names it in the problems.
TJockeyDetails ReadJockeyDetails(std::string_view bytes, std::string_view fileName);
TTrainerDetails ReadTrainerDetails(std::string_view bytes, std::string_view fileName);

// The file in the data folder; nothing when it is not there. Throws
// files::FileError when it cannot be read.
std::optional<TJockeyDetails> LoadJockeyDetails(const WinPath &dataFolder);
std::optional<TTrainerDetails> LoadTrainerDetails(const WinPath &dataFolder);

// All problems as one message (one line each), "" when there are none.
std::string problemsText(const std::vector<std::string> &problems);

} // namespace zorbe
