#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorbe {

// A line of a delivered file that the component left out because its length
// was not the length of its record kind (typically one byte lost in a
// Shift-JIS round trip). The download run reports these after reading.
struct DamagedRecord
{
    std::string fileName;      // the delivered file (cp932)
    std::size_t line = 0;      // 1-based line number in that file
    std::size_t length = 0;    // bytes of the line as found, CR LF included when present
    std::size_t expected = 0;  // the record kind's length
};

// The data-link component as the program uses it: the seven operations and
// the version property of JV-Link. Text crosses as cp932 bytes (a component
// that speaks UTF-16 converts at its own edge).
class IJVLink
{
public:
    virtual ~IJVLink() = default;

    virtual int JVInit(const std::string &softwareId) = 0;
    virtual int JVSetUIProperties() = 0;
    virtual int JVOpen(const std::string &dataSpec, const std::string &fromTime, int option, int &readCount,
                       int &downloadCount, std::string &lastFileTimestamp)
        = 0;
    virtual int JVStatus() = 0;
    // > 0: buffer holds one record (text ending in CR LF) and fileName the
    // delivered file it came from; 0: all read; -1: a file ended; < -1: error.
    virtual int JVRead(std::string &buffer, int size, std::string &fileName) = 0;
    virtual int JVCancel() = 0;
    virtual int JVClose() = 0;

    // The version property: a string of decimal digits.
    virtual std::string version() const = 0;

    // The lines of the last request that were left out as damaged. A
    // component that never leaves anything out has none.
    virtual std::vector<DamagedRecord> leftOutRecords() const { return {}; }
};

// The component instance of the main window (JVLink1): forwards to whatever
// component is put behind it.
class TJVLink
{
public:
    explicit TJVLink(std::unique_ptr<IJVLink> component);

    int JVInit(const std::string &softwareId) { return m_component->JVInit(softwareId); }
    int JVSetUIProperties() { return m_component->JVSetUIProperties(); }
    int JVOpen(const std::string &dataSpec, const std::string &fromTime, int option, int &readCount,
               int &downloadCount, std::string &lastFileTimestamp)
    {
        return m_component->JVOpen(dataSpec, fromTime, option, readCount, downloadCount, lastFileTimestamp);
    }
    int JVStatus() { return m_component->JVStatus(); }
    int JVRead(std::string &buffer, int size, std::string &fileName)
    {
        return m_component->JVRead(buffer, size, fileName);
    }
    int JVCancel() { return m_component->JVCancel(); }
    int JVClose() { return m_component->JVClose(); }
    std::string m_JVLinkVersion() const { return m_component->version(); }
    std::vector<DamagedRecord> leftOutRecords() const { return m_component->leftOutRecords(); }

    IJVLink &component() { return *m_component; }

private:
    std::unique_ptr<IJVLink> m_component;
};

// The program's software identifier: 33 characters, four parts separated by
// "/", the last a version.
inline constexpr std::string_view kSoftwareId = "ZORBE/DATALAB/NEWSPAPER/VER000001";

// The version text shown in the status bar and the download window's caption:
// the digits made an integer and back (leading zeros dropped), then
// " JV-Link Ver." and the digits joined by "." for four, three or two digits;
// any other length (or a property that is not digits) gives "".
std::string JVLinkVersionText(std::string_view versionDigits);

// The digits as kept for the download window: leading zeros removed.
std::string JVLinkVersionDigits(std::string_view versionDigits);

} // namespace zorbe
