#pragma once

#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/WinPath.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorbe {

class ProfileFile;

// What the conversions show while they work: the progress bar, the horse
// being processed as the caption, and the notes about damaged input. The
// conversion window is one view; the headless `zorbe download` prints the
// same. Texts are UTF-8.
class ConversionView
{
public:
    virtual ~ConversionView() = default;
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void setCaption(const std::string &text) = 0;
    // A note for the user about the input (a file with stray bytes).
    virtual void report(const std::string &text) = 0;
    // Lets pending user-interface events run (repaints the window).
    virtual void processEvents() {}
};

// A view that shows nothing and keeps the notes.
class SilentConversionView : public ConversionView
{
public:
    void setProgressMaximum(int maximum) override { m_maximum = maximum; }
    void setProgressPosition(int position) override { m_position = position; }
    void setCaption(const std::string &) override {}
    void report(const std::string &text) override { m_reports.push_back(text); }

    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    const std::vector<std::string> &reports() const { return m_reports; }

private:
    int m_maximum = 0;
    int m_position = 0;
    std::vector<std::string> m_reports;
};

// The folders the conversions work in, as the settings name them.
struct ConversionFolders
{
    WinPath down;    // [downdir] down: the raw downloads
    WinPath lzhdat;  // [Lzhdir] lzhdat: race card and horse files
    WinPath seiseki; // [seisekidir] seiseki: results files
    WinPath racedat; // [listdir] racedat: master and time-correction files

    static ConversionFolders fromSettings(const ProfileFile &settings);
};

// Everything a conversion step needs besides its inputs.
struct ConversionContext
{
    ConversionFolders folders;
    ConversionView &view;
};

// Reads a file of fixed-length input records (a missing file has none).
// A file whose size is not a multiple of the record length is read up to
// its last whole record, and the stray bytes are reported to the view, so
// that a damaged download never shifts the records after it unnoticed.
RecordFile readInputRecords(const WinPath &path, std::size_t recordLength, ConversionView &view);

// The Japanese note for a file with stray bytes.
std::string strayBytesReport(const WinPath &path, std::size_t strayBytes, std::size_t recordLength);

// Index of the first record in file order for every key: the joins of the
// conversions look a key up instead of scanning a file per runner.
using FirstIndex = std::unordered_map<std::string, std::size_t>;
// Every record of a key, in file order.
using AllIndex = std::unordered_map<std::string, std::vector<std::size_t>>;

// The day part (last two digits) of a yyyymmdd number.
constexpr int dayPart(std::int64_t yyyymmdd) { return static_cast<int>(yyyymmdd % 100); }

// A file name's base for the race-day files: the venue name (4 bytes) and
// the date (8 digits) of a finished download name such as 東京20040627.RLB.
std::string dayBaseName(const std::string &finishedName);
// The 8-digit race date of a finished download name (bytes 5-12).
std::string dayDate(const std::string &finishedName);

// The short name (8 bytes) of a 34-byte name whose family and given names
// are separated by a full-width space: the family name and the first
// characters of the given name.
std::string shortPersonName(std::string_view name34);

} // namespace zorbe
