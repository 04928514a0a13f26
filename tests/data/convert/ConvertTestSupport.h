#pragma once

#include "data/convert/ConversionSupport.h"
#include "data/jvdata/JVData_Structure.h"
#include "platform/Desktop.h"

#include "support/TempHome.h"

#include <string>
#include <vector>

namespace zorbe::test {

// Hand-built JV-Data records: a race key "2004" + MMDD + venue "05",
// meeting "03", day "08" and the race number, and the fields a test sets.
std::string raceKey(const std::string &monthDay, int race, const std::string &venue = "05");

jv::RecordBuilder raceRecord(const std::string &key, char kind = '2');
jv::RecordBuilder runnerRecord(const std::string &key, const std::string &horseId, int horseNumber, char kind = '2');
jv::RecordBuilder horseRecord(const std::string &horseId, int raceCount);

std::string joined(const std::vector<std::string> &records);

// Desktop that keeps the messages.
class MessageDesktop : public ConsoleDesktop
{
public:
    void showMessage(const std::string &text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// The folders of the settings' defaults, below the test's home.
ConversionFolders defaultFolders();
void putFile(const WinPath &path, const std::string &bytes);
std::string fileBytes(const WinPath &path);

} // namespace zorbe::test
