#pragma once

#include "platform/WinPath.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zorbe {

// A settings file of the classic kind: "[section]" lines and "key=value"
// lines, cp932 text with CR LF line ends; ';' starts a comment line.
//
// - Sections and keys match case-insensitively ([OZZ] is [ozz]).
// - readString returns the value as stored (only the blanks around "=" and
//   at the line's end belong to the syntax), or the default when the key is
//   absent. Every read looks at the file as it is now, so a value written
//   through another object on the same file is seen at once.
// - writeString and eraseSection take effect in the file at once. The file
//   is rewritten through a temporary file and a rename, so a crash never
//   leaves it half written; a file that cannot be written loses the write
//   silently, as the settings of the program have always behaved.
// - Lines the object does not change (comments, unknown keys) are kept.
class ProfileFile
{
public:
    explicit ProfileFile(std::filesystem::path nativePath);

    // The program's settings file: $ZORBE_HOME/zorbelab.Ini.
    static std::filesystem::path defaultPath();

    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void eraseSection(std::string_view section);
    // eraseSection followed by writeString of one key in that section, in
    // one rewrite of the file: the file ends as after the two calls, and a
    // crash leaves it as before them or after them, never in between.
    void replaceSection(std::string_view section, std::string_view key, std::string_view value);
    // replaceSection of each entry in turn, in one rewrite of the file.
    struct SectionValue
    {
        std::string_view section, key, value;
    };
    void replaceSections(const std::vector<SectionValue> &entries);

    bool sectionExists(std::string_view section) const;
    bool keyExists(std::string_view section, std::string_view key) const;

    const std::filesystem::path &path() const { return m_path; }

private:
    std::vector<std::string> loadLines() const;
    void storeLines(const std::vector<std::string> &lines);

    std::filesystem::path m_path;
};

} // namespace zorbe
