#pragma once

#include "verify/LhaLibrary.h"

#include <functional>
#include <string>
#include <vector>

namespace zorbe::lha {

enum class TCommand
{
    cmdAdd, cmdComment, cmdDelete, cmdExtract, cmdFreshen, cmdList, cmdMove,
    cmdRename, cmdPrint, cmdSfx, cmdTest, cmdUpdate, cmdView, cmdDirExtract
};
enum class TExecMode { exForeGround, exBackGround };
enum class TOpCompType { ctLH0, ctLH1, ctLH5, ctLH6, ctLH7 };
enum class TOpLogDisp { ldFileOnly, ldPathName, ldDetail };
enum class TOpNameCheck { ncNormal, ncFullCompare, ncSubTree };
enum class TOpReSearch { rsCurrent, rsFileSearch, rsAllSearch };
enum class TOpUpdFile { ufNoUpdate, ufToLatest, ufToOld };
enum class TOpUpperCase { ucNoTrans, ucToUpper, ucToLower };
enum class TOpWinSfx { wsNone, wsDialog, wsNoDialog, wsDialog32, wsNoDialog32 };

// The "answer yes" dialogs, as a set.
struct TOpDlgYes
{
    bool dyDirectory = false, dyFileDelete = false, dyDiskSpace = false, dyNewFileName = false,
         dyReplaceFile = false;
    bool empty() const { return !(dyDirectory || dyFileDelete || dyDiskSpace || dyNewFileName || dyReplaceFile); }
};

struct TOptions
{
    bool OpAllAttr = false;
    TOpCompType OpCompType = TOpCompType::ctLH5;
    bool OpDictHalf = false;
    bool OpDirEffect = false;
    TOpDlgYes OpDlgYes;
    bool OpDskChk = true;
    TOpLogDisp OpLogDisp = TOpLogDisp::ldFileOnly;
    TOpNameCheck OpNameCheck = TOpNameCheck::ncNormal;
    TOpReSearch OpReSearch = TOpReSearch::rsCurrent;
    bool OpROot = true;
    bool OpShortFile = false;
    bool OpTmCheck = true;
    TOpUpdFile OpUpdFile = TOpUpdFile::ufToLatest;
    TOpUpperCase OpUpperCase = TOpUpperCase::ucNoTrans;
    TOpWinSfx OpWinSfx = TOpWinSfx::wsNone;
};

// The archiver's dialogs; a dialog switched off adds its switch.
struct TDlgOptions
{
    bool OpExtDlg = true, OpSkipDlg = true, OpErrorDlg = true, OpProcessDlg = true;
};

// An archive command (command, archive, destination folder, member pattern,
// options) that turns itself into the archiver's command line and runs it.
class TUnlha
{
public:
    // binding: the archiver to run on (the program's one by default).
    explicit TUnlha(TUnlhaBinding *binding = nullptr);

    std::string ARCFileName;
    std::string ARCPattern = "*.*";
    std::string BaseDirName;
    TCommand Command = TCommand::cmdList;
    bool Debug = false;
    bool DisplayCSR = true;
    TDlgOptions DlgOptions;
    TExecMode ExecMode = TExecMode::exForeGround;
    TOptions Options;
    std::string WorkDirName;
    std::string ExtraSwitches;
    // Receives the archiver's output text line by line when set.
    std::vector<std::string> *OutputLines = nullptr;

    // The owner window handed to the archiver in the foreground mode.
    const void *ApplicationWindow = nullptr;
    // Asked before running when Debug is on: (command line, caption
    // "Execute Wait"); true for OK. Without it nothing is run.
    std::function<bool(const std::string &, const std::string &)> AskOkCancel;

    // The archiver version the component was told of; the LH7 method switch
    // is written only above 69. Nothing sets it by default.
    int ArchiverVersionHeld = 0;

    std::string Version() const { return "Version 0.00"; }

    // Runs the command: -1 without an archive name, -999 when the Debug
    // question was not answered OK, else the archiver's result code.
    // The archiver's ArchiverError (library missing) passes through.
    int Execute();

    // The switches of Options and DlgOptions, in their order.
    std::string BuildSwitches() const;
    // The whole command line Execute hands to the archiver.
    std::string CommandLine() const;
    void SetDefaultOptions();

private:
    TUnlhaBinding &binding() const;

    TUnlhaBinding *m_binding;
};

// The command letter of a command ("E" for cmdExtract).
char commandLetter(TCommand command);

// The text before the first NUL or LF, repeatedly, until the buffer is
// empty or starts with a NUL.
std::vector<std::string> splitOutputLines(std::string_view buffer);

} // namespace zorbe::lha
