#pragma once

#include "platform/WinPath.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zorbe::test {

// A fresh $ZORBE_HOME for one test: created empty, set in the environment,
// removed (and the previous value restored) at the end of the test.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome &) = delete;
    TempHome &operator=(const TempHome &) = delete;

    const std::filesystem::path &path() const { return m_path; }

    // Writes a native file below the home (parents created); returns its path.
    std::filesystem::path writeFile(const std::filesystem::path &relative, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
    std::string m_previous;
    bool m_hadPrevious = false;
};

// Reads a native file whole.
std::string readNative(const std::filesystem::path &path);

} // namespace zorbe::test
