#pragma once

#include "link/JVLink.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zorbe {

// The data link built into the program: delivers the JV-Data files of a
// feed folder.
//
// Feed folder: every file whose name has at least 26 characters before its
// extension, the 13th to 26th of them digits, is a delivered file. Name
// characters 1-12 are the delivered name the download run routes by
// ("RAQW20040624"), 13-26 the time stamp yyyymmddhhmmss. Content: JV-Data
// records as delivered, cp932 lines ending in CR LF.
//
// The folder is $ZORBE_FEED when set, else the setting [JVLinkFeed] folder,
// else $ZORBE_HOME/feed. The clock is the one set with setNow(), else
// $ZORBE_FEED_NOW (yyyymmddhhmmss), else the local time.
//
// A delivered file counts as downloaded (jvlink/downloaded.lst, so that a
// later request does not download it again) only once it was read to its
// end and the caller came back for the next read or closed the request: a
// request that is cancelled, or a process that is killed, leaves the files
// it did not finish to be downloaded again.
//
// Return codes (the real component's numbering where it has one):
//   JVInit   -101 empty software identifier
//   JVOpen   -1 no file is newer than the from-time; -111 bad data spec;
//            -112 bad from-time; -115 bad option; -201 JVInit not called;
//            -202 a request is already open; -211 the feed folder is missing
//   JVStatus -203 no open request
//   JVRead   -1 end of a file; 0 all read; -3 files still downloading;
//            -203 no open request; -402 a delivered file cannot be read
//   JVSetUIProperties -1 no folder chooser (headless)
class LocalFeedLink : public IJVLink
{
public:
    // Asked by JVSetUIProperties: the folder to use, or nothing (cancel).
    using FolderChooser = std::function<std::optional<std::filesystem::path>(const std::filesystem::path &current)>;

    static constexpr const char *kVersion = "0121";

    LocalFeedLink();

    void setFolderChooser(FolderChooser chooser) { m_chooser = std::move(chooser); }
    // The clock the feed is read against (yyyymmddhhmmss); empty: the default.
    void setNow(std::string yyyymmddhhmmss) { m_now = std::move(yyyymmddhhmmss); }
    std::string now() const;

    std::filesystem::path feedFolder() const;
    const std::vector<DamagedRecord> &damagedRecords() const { return m_damaged; }
    std::vector<DamagedRecord> leftOutRecords() const override { return m_damaged; }

    int JVInit(const std::string &softwareId) override;
    int JVSetUIProperties() override;
    int JVOpen(const std::string &dataSpec, const std::string &fromTime, int option, int &readCount,
               int &downloadCount, std::string &lastFileTimestamp) override;
    int JVStatus() override;
    int JVRead(std::string &buffer, int size, std::string &fileName) override;
    int JVCancel() override;
    int JVClose() override;
    std::string version() const override { return kVersion; }

private:
    struct Delivered
    {
        std::string name;      // native file name (UTF-8)
        std::string timestamp; // 14 digits
    };

    std::filesystem::path stateFile() const;
    std::set<std::string> loadDownloaded() const;
    void markDownloaded(const Delivered &file);
    void markEndedFile();
    bool openNextFile(std::string &fileName);

    FolderChooser m_chooser;
    std::string m_now;
    bool m_initialised = false;
    bool m_open = false;

    std::filesystem::path m_folder;
    std::vector<Delivered> m_files;
    std::vector<std::size_t> m_toDownload; // indexes into m_files
    std::size_t m_downloaded = 0;
    std::set<std::string> m_done; // "<folder>\t<name>" of the files read to their end
    // The record of downloaded files, open for appending while a request
    // is: each line is flushed as it is added, as if the file were opened
    // for every line.
    std::ofstream m_state;
    // The file whose end the last JVRead reported; it counts as downloaded
    // once the caller comes back for more (or closes), having handled it.
    std::optional<std::size_t> m_ended;
    std::size_t m_current = 0; // index of the file being read
    bool m_fileLoaded = false;
    std::string m_content;         // the loaded file's bytes, at its start
    std::size_t m_contentSize = 0; // how many of them
    std::string m_currentName; // the loaded file's name, cp932
    std::size_t m_pos = 0;
    std::size_t m_line = 0;
    std::vector<DamagedRecord> m_damaged;
};

// True for yyyymmddhhmmss with a real month, day, hour, minute and second.
bool isValidTimestamp(std::string_view text);

} // namespace zorbe
