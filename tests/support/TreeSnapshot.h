#pragma once

#include "support/TempHome.h"

#include <filesystem>
#include <map>
#include <string>

namespace zorbe::test {

// Every file below a folder, by its path relative to the folder, with its
// bytes: two homes that must hold the same files compare as two of these.
using TreeSnapshot = std::map<std::string, std::string>;

// With foldCase the ASCII letters of the names are folded to lower case: the
// program's paths match without regard to case, so two homes may spell a
// folder differently ("zorbeLab", "zorbelab") and hold the same files.
inline TreeSnapshot snapshotTree(const std::filesystem::path &root, bool foldCase = false)
{
    TreeSnapshot files;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        std::string name = std::filesystem::relative(it->path(), root).string();
        if (foldCase)
            for (char &c : name)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c - 'A' + 'a');
        files[name] = readNative(it->path());
    }
    return files;
}

// The names of the files that differ, are missing or are extra, one a line
// ("" when the two are the same).
inline std::string differences(const TreeSnapshot &expected, const TreeSnapshot &actual)
{
    std::string out;
    for (const auto &[name, bytes] : expected) {
        const auto it = actual.find(name);
        if (it == actual.end())
            out += "missing: " + name + "\n";
        else if (it->second != bytes)
            out += "differs: " + name + " (" + std::to_string(bytes.size()) + " / " + std::to_string(it->second.size())
                   + " bytes)\n";
    }
    for (const auto &[name, bytes] : actual)
        if (!expected.count(name))
            out += "extra: " + name + "\n";
    return out;
}

} // namespace zorbe::test
