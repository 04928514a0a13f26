#include "shell/MasterTables.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include "support/ScriptedDesktop.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;

namespace {

// A summary master line: code, 32-byte name, four 3-digit counts, region.
std::string line(const std::string &code, const std::string &nameUtf8, const std::string &counts, char region)
{
    std::string name = sj(nameUtf8);
    name.resize(32, ' ');
    return code + name + counts + region + "\r\n";
}

class MasterTablesTest : public ::testing::Test
{
protected:
    void SetUp() override { files::makeDirectories(file.parent()); }
    MasterLoad load() { return loadMasterFile(file, table, desktop, "missing"); }

    test::TempHome home;
    test::ScriptedDesktop desktop;
    WinPath file{"d:\\zorbelab\\KISYU.DAT"};
    std::vector<TMasterEntry> table;
};

} // namespace

TEST_F(MasterTablesTest, ReadsCodeNameRegionAndTheTopTwoRate)
{
    files::writeAll(file, line("01001", "武蔵　太郎", "010005003002", '1')
                              + line("01002", "ＬＡＲＳＳＯＮ", "000000004007", '2')
                              + line("01003", "北野　一", "003001000000", '3'));
    ASSERT_EQ(load(), MasterLoad::Loaded);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].Code, "01001");
    EXPECT_EQ(table[0].Name.size(), 32u);
    EXPECT_EQ(table[0].Name.substr(0, 10), sj("武蔵　太郎"));
    EXPECT_EQ(table[0].Region, "1");
    EXPECT_DOUBLE_EQ(table[0].TopTwoRate, 15.0 / 20.0);
    // No firsts or seconds: 0, whatever the other counts are.
    EXPECT_DOUBLE_EQ(table[1].TopTwoRate, 0.0);
    // Only firsts and seconds: 1.
    EXPECT_DOUBLE_EQ(table[2].TopTwoRate, 1.0);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
}

TEST_F(MasterTablesTest, EmptyFileAndPartialLastLine)
{
    files::writeAll(file, "");
    EXPECT_EQ(load(), MasterLoad::Loaded);
    EXPECT_TRUE(table.empty());
    EXPECT_TRUE(desktop.messages.empty());

    files::writeAll(file, line("01001", "a", "001001001001", '1') + "0100");
    EXPECT_EQ(load(), MasterLoad::Loaded);
    EXPECT_EQ(table.size(), 1u);
}

TEST_F(MasterTablesTest, MissingFileShowsTheMessage)
{
    EXPECT_EQ(load(), MasterLoad::Missing);
    EXPECT_EQ(desktop.messages, std::vector<std::string>{"missing"});
    EXPECT_TRUE(table.empty());
}

TEST_F(MasterTablesTest, ACountThatIsNotANumberStopsTheLoadAndKeepsWhatWasRead)
{
    files::writeAll(file, line("01001", "a", "001001001001", '1') + line("01002", "b", "00 001001001", '1')
                              + line("01003", "c", "001001001001", '1'));
    table.push_back({}); // an earlier load's content is replaced
    EXPECT_EQ(load(), MasterLoad::Stopped);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].Code, "01001");
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("2 件目"), std::string::npos);
    EXPECT_NE(desktop.errors[0].find("00 "), std::string::npos);
}

TEST_F(MasterTablesTest, NeverMoreThanTheCapacity)
{
    std::string all;
    for (int i = 0; i < 805; ++i)
        all += line("1" + zeroPad(i, 4), "x", "001000000000", '1');
    files::writeAll(file, all);
    EXPECT_EQ(load(), MasterLoad::Loaded);
    EXPECT_EQ(table.size(), MasterTables::kCapacity);
    EXPECT_EQ(table.back().Code, "10800");
}

TEST_F(MasterTablesTest, AFileOfAnotherKindStopsAtItsFirstRecordNamingIt)
{
    // Time-correction lines are not 52 bytes: no record ends in CR LF.
    files::writeAll(file, "2004050308" + std::string(120, '0') + "\r\n");
    EXPECT_EQ(load(), MasterLoad::Stopped);
    EXPECT_TRUE(table.empty());
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("KISYU.DAT」の 1 件目"), std::string::npos) << desktop.errors[0];

    // Names that are not Shift-JIS are kept as stored.
    files::writeAll(file, std::string("01001\xff\xfe\x81") + std::string(29, ' ') + "001001001001" + "1\r\n");
    EXPECT_EQ(load(), MasterLoad::Loaded);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].Name.substr(0, 3), "\xff\xfe\x81");
}
