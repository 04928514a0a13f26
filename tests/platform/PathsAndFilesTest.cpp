#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/WinPath.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>
#include <fstream>
#include <sys/stat.h>
#include <chrono>
#include <thread>
#include <unistd.h>

using namespace zorbe;
namespace fs = std::filesystem;

TEST(PathMapping, DrivesRelativeAndNativePaths)
{
    test::TempHome home;
    const fs::path h = home.path();
    EXPECT_EQ(toNative(WinPath("C:\\ZORBELAB\\txt")), h / "drives/c/ZORBELAB/txt");
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\dat\\")), h / "drives/d/zorbelab/dat");
    EXPECT_EQ(toNative(WinPath("\\DataLab.chm")), h / "drives/c/DataLab.chm");
    EXPECT_EQ(toNative(WinPath("zorbelab.Ini")), h / "zorbelab.Ini");
    EXPECT_EQ(toNative(WinPath("/tmp/feed")), fs::path("/tmp/feed"));
    EXPECT_EQ(toNative(WinPath("c:\\a\\.\\b\\..\\c")), h / "drives/c/a/c");
    // cp932 components become UTF-8 names; "表" ends in the byte 0x5C,
    // which must not split the name.
    EXPECT_EQ(toNative(WinPath(sj("d:\\zorbeLab\\JRA\\表東京20040627.RDT"))),
              h / "drives/d/zorbeLab/JRA/表東京20040627.RDT");
}

TEST(PathMapping, ExistingComponentsMatchWithoutRegardToCase)
{
    test::TempHome home;
    home.writeFile("drives/d/ZorbeLab/DAT/STIME.DAT", "x");
    home.writeFile("drives/d/ZorbeLab/JRA/東京20040627.rdt", "y");
    home.writeFile("drives/d/ZorbeLab/Ｆｕｌｌ.txt", "z");
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\dat\\STIME.dat")), home.path() / "drives/d/ZorbeLab/DAT/STIME.DAT");
    EXPECT_EQ(toNative(WinPath(sj("D:\\ZORBELAB\\jra\\東京20040627.RDT"))),
              home.path() / "drives/d/ZorbeLab/JRA/東京20040627.rdt");
    EXPECT_EQ(toNative(WinPath(sj("d:\\zorbelab\\ｆｕｌｌ.TXT"))), home.path() / "drives/d/ZorbeLab/Ｆｕｌｌ.txt");
    // A missing component keeps the given spelling, below the matched ones.
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\New\\Sub.DAT")), home.path() / "drives/d/ZorbeLab/New/Sub.DAT");
    EXPECT_TRUE(files::isFile(WinPath("D:\\ZORBELAB\\DAT\\stime.dat")));
}

// A run lists each folder once and must then see every file it makes,
// renames or removes itself, in whatever case it names them later.
TEST(PathMapping, AFolderNameCacheAnswersAsTheDiskAndFollowsTheProgramsOwnChanges)
{
    test::TempHome home;
    home.writeFile("drives/d/ZorbeLab/DAT/STIME.DAT", "x");
    home.writeFile("drives/d/ZorbeLab/Ｆｕｌｌ.txt", "z");
    const fs::path dat = home.path() / "drives/d/ZorbeLab/DAT";
    {
        FolderNameCache cache;
        EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\dat\\STIME.dat")), dat / "STIME.DAT");
        EXPECT_EQ(toNative(WinPath(sj("d:\\zorbelab\\ｆｕｌｌ.TXT"))), home.path() / "drives/d/ZorbeLab/Ｆｕｌｌ.txt");
        EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\New\\Sub.DAT")), home.path() / "drives/d/ZorbeLab/New/Sub.DAT");

        files::writeAll(WinPath("d:\\zorbelab\\dat\\New.DAT"), "1");
        EXPECT_EQ(toNative(WinPath("D:\\ZORBELAB\\DAT\\NEW.dat")), dat / "New.DAT");
        files::rename(WinPath("d:\\zorbelab\\dat\\new.dat"), WinPath("d:\\zorbelab\\dat\\Renamed.DAT"));
        EXPECT_FALSE(files::exists(WinPath("d:\\zorbelab\\dat\\NEW.DAT")));
        EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\dat\\renamed.dat")), dat / "Renamed.DAT");
        EXPECT_TRUE(files::remove(WinPath("d:\\zorbelab\\dat\\RENAMED.dat")));
        EXPECT_FALSE(files::isFile(WinPath("d:\\zorbelab\\dat\\Renamed.DAT")));

        // Folders made with their parents, and a file replaced through a
        // temporary name.
        files::makeDirectories(WinPath("d:\\zorbelab\\Fresh\\Sub"));
        files::writeAtomic(WinPath("d:\\zorbelab\\Fresh\\Sub\\Day.RDT"), "2");
        EXPECT_EQ(toNative(WinPath("d:\\ZORBELAB\\fresh\\SUB\\day.rdt")), home.path() / "drives/d/ZorbeLab/Fresh/Sub/Day.RDT");
        EXPECT_EQ(files::readAll(WinPath("d:\\zorbelab\\FRESH\\sub\\DAY.RDT")), "2");
        EXPECT_EQ(files::list(WinPath("d:\\zorbelab\\fresh\\sub")), std::vector<std::string>{"Day.RDT"});
    }
    // Without a cache, a file another program made is found at once.
    home.writeFile("drives/d/ZorbeLab/DAT/Other.DAT", "3");
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\dat\\OTHER.DAT")), dat / "Other.DAT");
}

TEST(PathMapping, AFolderNameCacheKeepsOtherSpellingsOfARemovedName)
{
    // Two names that differ in case only: removing the one the cache
    // answered with leaves the other to be found; removing both, neither.
    test::TempHome home;
    home.writeFile("drives/d/zorbeLab/down/Day.DAT", "1");
    home.writeFile("drives/d/zorbeLab/down/DAY.DAT", "2");
    home.writeFile("drives/d/zorbeLab/down/Other.DAT", "3");
    const fs::path down = home.path() / "drives/d/zorbeLab/down";
    FolderNameCache cache;
    const fs::path first = toNative(WinPath("d:\\zorbelab\\down\\day.dat"));
    ASSERT_TRUE(first == down / "Day.DAT" || first == down / "DAY.DAT");
    const fs::path second = first == down / "Day.DAT" ? down / "DAY.DAT" : down / "Day.DAT";
    EXPECT_TRUE(files::remove(WinPath::fromNative(first)));
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\down\\day.dat")), second);
    EXPECT_TRUE(files::remove(WinPath("d:\\zorbelab\\down\\day.dat")));
    EXPECT_FALSE(files::exists(WinPath("d:\\zorbelab\\down\\day.dat")));
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\down\\day.dat")), down / "day.dat");
    // A folder that is there already keeps its listing, and what the program
    // changes in it is still followed.
    files::makeDirectories(WinPath("d:\\zorbelab\\DOWN"));
    files::writeAll(WinPath("d:\\zorbelab\\down\\New.DAT"), "4");
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\down\\NEW.dat")), down / "New.DAT");
    EXPECT_EQ(toNative(WinPath("d:\\zorbelab\\down\\other.dat")), down / "Other.DAT");
}

TEST(PathMapping, JoiningAndSplitting)
{
    EXPECT_EQ((WinPath("d:\\dat") / "STIME.DAT").text(), "d:\\dat\\STIME.DAT");
    EXPECT_EQ((WinPath("d:\\dat\\") / "STIME.DAT").text(), "d:\\dat\\STIME.DAT");
    // "表" is 95 5C: its trail byte is not a separator.
    EXPECT_EQ((WinPath(sj("d:\\表")) / "x").text(), sj("d:\\表\\x"));
    EXPECT_EQ(WinPath(sj("d:\\zorbeLab\\JRA\\東京.RDT")).fileName(), sj("東京.RDT"));
    EXPECT_EQ(WinPath("d:\\zorbeLab\\JRA\\a.RDT").parent().text(), "d:\\zorbeLab\\JRA");
    EXPECT_EQ(WinPath("d:\\a.RDT").parent().text(), "d:\\");
}

TEST(FileOperations, ThroughTheBoundary)
{
    test::TempHome home;
    const WinPath dir("d:\\zorbeLab\\down");
    files::makeDirectories(dir);
    const WinPath a = dir / sj("東京120040627.RLB");
    files::append(a, "one\r\n");
    files::append(a, "two\r\n");
    EXPECT_EQ(files::readAll(a), "one\r\ntwo\r\n");
    EXPECT_EQ(files::fileSize(a), 10u);

    const WinPath b = dir / sj("東京20040627.RLB");
    files::writeAll(b, "old");
    files::rename(a, b); // replaces the finished file of an earlier run
    EXPECT_EQ(files::readAll(b), "one\r\ntwo\r\n");
    EXPECT_FALSE(files::exists(a));
    EXPECT_EQ(files::list(dir), std::vector<std::string>{sj("東京20040627.RLB")});

    files::writeAtomic(b, "new");
    EXPECT_EQ(files::readAll(b), "new");
    EXPECT_EQ(files::list(dir).size(), 1u); // no temporary file left behind

    EXPECT_TRUE(files::remove(b));
    EXPECT_FALSE(files::remove(b));
    EXPECT_THROW(files::readAll(b), files::FileError);
    EXPECT_TRUE(files::list(WinPath("d:\\nowhere")).empty());
}

TEST(FileOperations, AFileLongerThanItsReportedSizeIsReadToItsEnd)
{
    // A pipe has no size to report, as a file that grows while it is read
    // has more than it reported: everything is read all the same, in
    // pieces past the first small buffer.
    test::TempHome home;
    const fs::path fifo = home.path() / "growing.DAT";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes;
    for (int n = 0; bytes.size() < 100000; ++n)
        bytes += std::to_string(n) + "\r\n";
    std::thread writer([&] {
        std::ofstream out(fifo, std::ios::binary);
        out << bytes;
    });
    const std::string read = files::readAll(WinPath::fromNative(fifo));
    writer.join();
    EXPECT_EQ(read, bytes);
}

TEST(FileOperations, AtomicWriteLeavesTheOldFileWholeOnFailure)
{
    test::TempHome home;
    const WinPath file("c:\\m\\KISYU.DAT");
    files::makeDirectories(file.parent());
    files::writeAll(file, "whole");
    // The folder becomes read-only: the temporary file cannot be created.
    fs::permissions(toNative(file.parent()), fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) { // root ignores permissions
        EXPECT_THROW(files::writeAtomic(file, "partial"), files::FileError);
        EXPECT_EQ(files::readAll(file), "whole");
    }
    fs::permissions(toNative(file.parent()), fs::perms::owner_all);
}

namespace {

std::string readNativeFile(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(WriteBehind, PendingFilesAreThereForTheProgramAndOnTheDiskBeforeAnyOtherChange)
{
    test::TempHome home;
    const WinPath dir("c:\\w");
    files::makeDirectories(dir);
    files::WriteBehind writeBehind(2); // a short queue: the writer is behind more often
    for (int n = 0; n < 20; ++n)
        files::writeAtomic(dir / ("F" + std::to_string(n) + ".DAT"), std::to_string(n));
    files::writeAtomic(dir / "F3.DAT", "again"); // while the first may still be pending
    EXPECT_EQ(files::readAll(dir / "F3.DAT"), "again");
    EXPECT_EQ(files::readAll(dir / "f19.dat"), "19");
    EXPECT_TRUE(files::isFile(dir / "F18.DAT"));
    EXPECT_EQ(files::fileSize(dir / "F17.DAT"), 2u);
    files::writeAtomic(dir / "LAST.DAT", "last");
    EXPECT_EQ(files::list(dir).size(), 21u); // the files, no temporary ones

    // The program sees every pending change as made.
    files::rename(dir / "F1.DAT", dir / "G1.DAT");
    EXPECT_FALSE(files::exists(dir / "F1.DAT"));
    EXPECT_TRUE(files::isFile(dir / "G1.DAT"));
    EXPECT_TRUE(files::remove(dir / "F2.DAT"));
    EXPECT_FALSE(files::remove(dir / "F2.DAT"));
    EXPECT_FALSE(files::exists(dir / "F2.DAT"));
    files::writeAll(dir / "LOG.TXT", "x");
    files::append(dir / "LOG.TXT", "y");
    EXPECT_EQ(files::readAll(dir / "LOG.TXT"), "xy");
    files::writeAll(dir / "Later.TXT", "q"); // found in another case before it is on the disk
    EXPECT_TRUE(files::exists(dir / "LATER.txt"));
    EXPECT_EQ(files::readAll(dir / "later.TXT"), "q");

    // The changes reach the disk in the order of the calls: once the file
    // removed after an atomic write is gone, that file is there.
    files::writeAtomic(dir / "A.DAT", "a");
    files::remove(dir / "F4.DAT");
    for (int n = 0; n < 5000 && fs::exists(toNative(dir / "F4.DAT")); ++n)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(readNativeFile(toNative(dir / "A.DAT")), "a");

    // A settings write and finish() wait for everything before them.
    files::writeAtomic(dir / "C.DAT", "c");
    ProfileFile(home.path() / "zorbelab.Ini").writeString("S", "K", "V");
    EXPECT_EQ(readNativeFile(toNative(dir / "C.DAT")), "c");
    files::writeAtomic(dir / "D.DAT", "d");
    files::append(dir / "LOG.TXT", "z");
    writeBehind.finish();
    EXPECT_EQ(readNativeFile(toNative(dir / "D.DAT")), "d");
    EXPECT_EQ(readNativeFile(toNative(dir / "LOG.TXT")), "xyz");
}

TEST(WriteBehind, AFailedRenameIsThrownOnceAndTheFilesAfterItAreDropped)
{
    test::TempHome home;
    const WinPath dir("c:\\w");
    // A folder that is not empty cannot be replaced by a file.
    files::makeDirectories(dir / "X.DAT");
    files::writeAll(dir / "X.DAT" / "inside", "");
    files::WriteBehind writeBehind;
    std::string message;
    try {
        files::writeAtomic(dir / "X.DAT", "x");
        files::writeAtomic(dir / "Y.DAT", "y");
        writeBehind.finish();
    } catch (const files::FileError &e) {
        message = e.what();
    }
    EXPECT_NE(message.find("ファイルを置き換えられません"), std::string::npos) << message;
    EXPECT_NE(message.find("X.DAT"), std::string::npos) << message;
    writeBehind.finish(); // told once
    EXPECT_FALSE(files::exists(dir / "Y.DAT"));
    EXPECT_EQ(files::list(dir), std::vector<std::string>{"X.DAT"}); // no temporary file left

    // The writes after the failure go on as usual.
    files::writeAtomic(dir / "Z.DAT", "z");
    writeBehind.finish();
    EXPECT_EQ(readNativeFile(toNative(dir / "Z.DAT")), "z");
}

TEST(WriteBehind, AFailedWriteIsThrownByTheNextChangeAndNothingAfterItIsMade)
{
    test::TempHome home;
    const WinPath dir("c:\\w");
    files::makeDirectories(dir);
    files::writeAll(dir / "KEEP.DAT", "kept");
    files::WriteBehind writeBehind;
    // A folder that is not there: the write fails when it is made.
    files::append(dir / "missing" / "LOG.TXT", "x");
    std::string message;
    try {
        writeBehind.finish();
    } catch (const files::FileError &e) {
        message = e.what();
    }
    EXPECT_NE(message.find("ファイルを作成できません"), std::string::npos) << message;

    // Whichever change comes after the failure throws it.
    EXPECT_THROW(
        {
            files::append(dir / "missing" / "LOG.TXT", "x");
            files::remove(dir / "KEEP.DAT");
            files::writeAtomic(dir / "NEW.DAT", "new");
            for (int n = 0; n < 100; ++n) {
                files::rename(dir / "NEW.DAT", dir / "NEWER.DAT");
                files::rename(dir / "NEWER.DAT", dir / "NEW.DAT");
            }
            writeBehind.finish();
        },
        files::FileError);
    EXPECT_EQ(readNativeFile(toNative(dir / "KEEP.DAT")), "kept");
    EXPECT_FALSE(fs::exists(toNative(dir / "NEW.DAT")));
    writeBehind.finish(); // nothing more: what was behind the failure is dropped
    EXPECT_EQ(files::list(dir), std::vector<std::string>{"KEEP.DAT"}); // no temporary file left
}
