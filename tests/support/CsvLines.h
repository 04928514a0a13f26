#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorbe::test {

// The lines of a CSV file, each without its CR LF. A line that does not
// end in CR LF fails the test.
inline std::vector<std::string> csvLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "a line without CR LF at byte " << at;
            break;
        }
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// The fields of a line (a comma never is a byte of a cp932 character).
inline std::vector<std::string> csvFields(const std::string &line)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (auto comma = line.find(','); comma != std::string::npos; comma = line.find(',', at)) {
        fields.push_back(line.substr(at, comma - at));
        at = comma + 1;
    }
    fields.push_back(line.substr(at));
    return fields;
}

} // namespace zorbe::test
