#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zorbe;
namespace fs = std::filesystem;

namespace {

class ProfileFileTest : public ::testing::Test
{
protected:
    test::TempHome home;
    ProfileFile ini{ProfileFile::defaultPath()};
    std::string contents() const { return test::readNative(ini.path()); }
};

} // namespace

TEST_F(ProfileFileTest, LivesInTheHomeAndIsFoundWhateverItsCase)
{
    EXPECT_EQ(ini.path(), home.path() / "zorbelab.Ini");
    home.writeFile("ZORBELAB.INI", "[Kako]\r\nKako=3\r\n");
    EXPECT_EQ(ProfileFile(ProfileFile::defaultPath()).readString("Kako", "Kako", "0"), "3");
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(ini.readString("Kako", "Kako", "5"), "5");
    ini.writeString("Kako", "Other", "1");
    EXPECT_EQ(ini.readString("Kako", "Kako", "5"), "5");
    EXPECT_EQ(ini.readString("Nope", "Kako", ""), "");
}

TEST_F(ProfileFileTest, SectionsAndKeysMatchWithoutRegardToCase)
{
    ini.writeString("OZZ", "ozz", "2");
    ini.writeString("Insatu", "Insatu", "0");
    ini.writeString("Sinbun", "sinbun", "2");
    EXPECT_EQ(ini.readString("ozz", "ozz", "1"), "2");
    EXPECT_EQ(ini.readString("Insatu", "insatu", "1"), "0");
    EXPECT_EQ(ini.readString("sinbun", "Sinbun", "0"), "2");
    // Writing through another spelling replaces the key, it does not add one.
    ini.writeString("ozz", "OZZ", "0");
    EXPECT_EQ(contents(), "[OZZ]\r\nozz=0\r\n\r\n[Insatu]\r\nInsatu=0\r\n\r\n[Sinbun]\r\nsinbun=2\r\n");
}

TEST_F(ProfileFileTest, JapaneseSectionsAndValuesAreCp932)
{
    ini.writeString(sj("拡大縮小"), sj("縦縦"), "100");
    ini.writeString("Lzhdir", "lzhdat", sj("d:\\競馬\\表"));
    EXPECT_EQ(ini.readString(sj("拡大縮小"), sj("縦縦"), "0"), "100");
    EXPECT_EQ(ini.readString("lzhdir", "LZHDAT", ""), sj("d:\\競馬\\表"));
    EXPECT_NE(contents().find(sj("[拡大縮小]\r\n縦縦=100\r\n")), std::string::npos);
}

TEST_F(ProfileFileTest, ValuesComeBackUnchangedAndEmptyValuesArePresent)
{
    ini.writeString("PATWIN", "PATWIN", "");
    EXPECT_TRUE(ini.keyExists("PATWIN", "PATWIN"));
    EXPECT_EQ(ini.readString("PATWIN", "PATWIN", "C:\\patwin"), "");
    ini.writeString("LastFileTime", "LastFileTime", "20040627123456");
    EXPECT_EQ(ini.readString("LastFileTime", "LastFileTime", ""), "20040627123456");
    ini.writeString("x", "v", "a=b;c");
    EXPECT_EQ(ini.readString("x", "v", ""), "a=b;c");
    // A value cannot break the file's structure.
    ini.writeString("x", "w", "one\r\n[Kako]\r\nKako=9");
    EXPECT_EQ(ini.readString("Kako", "Kako", "0"), "0");
}

TEST_F(ProfileFileTest, EraseSectionRemovesAllItsKeysAndKeepsTheRest)
{
    home.writeFile("zorbelab.Ini", "; hand-edited\r\n[Yosou]\r\nYosou=1\r\nOld=2\r\n\r\n[Font]\r\nFont=0\r\n");
    ini.eraseSection("YOSOU");
    EXPECT_FALSE(ini.sectionExists("Yosou"));
    EXPECT_EQ(ini.readString("Yosou", "Old", "none"), "none");
    ini.writeString("Yosou", "Yosou", "0");
    EXPECT_EQ(contents(), "; hand-edited\r\n[Font]\r\nFont=0\r\n\r\n[Yosou]\r\nYosou=0\r\n");
    ini.eraseSection("NotThere"); // nothing happens
    EXPECT_EQ(ini.readString("Font", "Font", "1"), "0");
}

TEST_F(ProfileFileTest, ReplaceSectionEndsAsEraseAndWriteInOneRewrite)
{
    // Two sections of the name (both go), a comment, a section after them,
    // and no blank line at the end.
    const std::string before = "; kept\r\n[SRace]\r\nSRace=old1\r\nOther=x\r\n[Font]\r\nFont=0\r\n"
                               "[srace]\r\nSRace=old2\r\n[Zoom]\r\nScale=85";
    home.writeFile("zorbelab.Ini", before);
    ini.eraseSection("SRace");
    ini.writeString("SRace", "SRace", "new");
    const std::string twoCalls = contents();

    home.writeFile("zorbelab.Ini", before);
    ini.replaceSection("SRace", "SRace", "new");
    EXPECT_EQ(contents(), twoCalls);
    EXPECT_EQ(ini.readString("SRace", "Other", "none"), "none");

    // Several sections in one rewrite end as the calls one after another,
    // a section named twice included.
    home.writeFile("zorbelab.Ini", before);
    ini.replaceSection("Zoom", "Scale", "95");
    ini.replaceSection("SRace", "SRace", "new");
    ini.replaceSection("Zuma", "Zuma", "z");
    ini.replaceSection("zoom", "Scale", "100");
    const std::string oneByOne = contents();
    home.writeFile("zorbelab.Ini", before);
    ini.replaceSections({{"Zoom", "Scale", "95"}, {"SRace", "SRace", "new"}, {"Zuma", "Zuma", "z"},
                         {"zoom", "Scale", "100"}});
    EXPECT_EQ(contents(), oneByOne);
    ini.replaceSections({});
    EXPECT_EQ(contents(), oneByOne);

    // Without the file, the section is its only content.
    fs::remove(ini.path());
    ini.replaceSection("UM", "UM", "d:\\zorbeLab\\down\\UMPW20240613.DAT");
    EXPECT_EQ(contents(), "[UM]\r\nUM=d:\\zorbeLab\\down\\UMPW20240613.DAT\r\n");
}

TEST_F(ProfileFileTest, AWriteIsSeenAtOnceByAnotherObjectOnTheSameFile)
{
    ProfileFile other(ProfileFile::defaultPath());
    ini.writeString("Zoom", "Scale", "85");
    EXPECT_EQ(other.readString("zoom", "scale", "110"), "85");
    other.writeString("Zoom", "Scale", "95");
    EXPECT_EQ(ini.readString("Zoom", "Scale", "110"), "95");
}

TEST_F(ProfileFileTest, HandWrittenFilesWithLfAndBlanksAroundTheEqualsSign)
{
    home.writeFile("zorbelab.Ini", "[downdir]\ndown = d:\\dl  \n[ozz]\nozz=2");
    EXPECT_EQ(ini.readString("downdir", "down", ""), "d:\\dl");
    EXPECT_EQ(ini.readString("ozz", "ozz", ""), "2");
}

TEST_F(ProfileFileTest, AnUnwritableFileLosesTheWriteSilently)
{
    // The parent is a file, so nothing can be created below it.
    home.writeFile("blocker", "");
    ProfileFile blocked(home.path() / "blocker" / "zorbelab.Ini");
    EXPECT_NO_THROW(blocked.writeString("a", "b", "c"));
    EXPECT_EQ(blocked.readString("a", "b", "default"), "default");
}

TEST_F(ProfileFileTest, DamagedFilesGiveTheDefaultsAndStayWritable)
{
    // Bytes of another kind of file, without a line break, NUL bytes, a
    // section header never closed, a key without "=".
    for (const std::string &bytes : {std::string("\xff\xd8\xff\xe0\x00\x10JFIF\x00", 11), std::string(70000, 'x'),
                                     std::string("[LastFileTime\r\nLastFileTime=1\r\n"),
                                     std::string("[LastFileTime]\r\nLastFileTime\r\n\x82"), std::string()}) {
        test::TempHome fresh;
        fresh.writeFile("zorbelab.Ini", bytes);
        ProfileFile f(ProfileFile::defaultPath());
        EXPECT_EQ(f.readString("LastFileTime", "LastFileTime", "default"), "default");
        f.writeString("LastFileTime", "LastFileTime", "20240607170000");
        EXPECT_EQ(f.readString("lastfiletime", "LASTFILETIME", ""), "20240607170000");
        f.eraseSection("LastFileTime");
        EXPECT_FALSE(f.sectionExists("LastFileTime"));
    }
}
