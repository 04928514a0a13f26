#include "support/TempHome.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace zorbe::test {
namespace fs = std::filesystem;

TempHome::TempHome()
{
    if (const char *prev = std::getenv("ZORBE_HOME")) {
        m_previous = prev;
        m_hadPrevious = true;
    }
    std::random_device rd;
    m_path = fs::temp_directory_path() / ("zorbe-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(m_path);
    ::setenv("ZORBE_HOME", m_path.c_str(), 1);
}

TempHome::~TempHome()
{
    std::error_code ec;
    fs::remove_all(m_path, ec);
    if (m_hadPrevious)
        ::setenv("ZORBE_HOME", m_previous.c_str(), 1);
    else
        ::unsetenv("ZORBE_HOME");
}

fs::path TempHome::writeFile(const fs::path &relative, std::string_view bytes) const
{
    const fs::path p = m_path / relative;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

std::string readNative(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace zorbe::test
