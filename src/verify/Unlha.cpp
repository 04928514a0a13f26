#include "verify/Unlha.h"

namespace zorbe::lha {
namespace {

constexpr std::size_t kOutputBufferSize = 65535;

std::string withBackslash(const std::string &folder)
{
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

const char *compTypeSwitch(TOpCompType t, int version)
{
    switch (t) {
    case TOpCompType::ctLH0: return " -jm0";
    case TOpCompType::ctLH1: return " -jm1";
    case TOpCompType::ctLH6: return " -jm3";
    case TOpCompType::ctLH7: return version > 69 ? " -jm4" : "";
    default: return "";
    }
}

std::string dlgYesSwitch(const TOpDlgYes &y)
{
    if (y.empty())
        return {};
    std::string s = " -jy";
    if (y.dyDirectory) s += 'c';
    if (y.dyFileDelete) s += 'd';
    if (y.dyDiskSpace) s += 'k';
    if (y.dyNewFileName) s += 'n';
    if (y.dyReplaceFile) s += 'o';
    return s;
}

const char *logDispSwitch(TOpLogDisp d)
{
    return d == TOpLogDisp::ldPathName ? " -l1" : d == TOpLogDisp::ldDetail ? " -l2" : "";
}

const char *nameCheckSwitch(TOpNameCheck n)
{
    return n == TOpNameCheck::ncFullCompare ? " -p1" : n == TOpNameCheck::ncSubTree ? " -p2" : "";
}

const char *reSearchSwitch(TOpReSearch r)
{
    return r == TOpReSearch::rsFileSearch ? " -r1" : r == TOpReSearch::rsAllSearch ? " -r2" : "";
}

const char *updFileSwitch(TOpUpdFile u)
{
    return u == TOpUpdFile::ufNoUpdate ? " -u0" : u == TOpUpdFile::ufToOld ? " -u2" : "";
}

const char *upperCaseSwitch(TOpUpperCase u)
{
    return u == TOpUpperCase::ucToUpper ? " -i1" : u == TOpUpperCase::ucToLower ? " -i2" : "";
}

const char *winSfxSwitch(TOpWinSfx w)
{
    switch (w) {
    case TOpWinSfx::wsDialog: return " -jw1";
    case TOpWinSfx::wsNoDialog: return " -jw2";
    case TOpWinSfx::wsDialog32: return " -gw1";
    case TOpWinSfx::wsNoDialog32: return " -gw2";
    default: return "";
    }
}

} // namespace

char commandLetter(TCommand command)
{
    static constexpr char kLetters[] = "ACDEFLMNPSTUVX";
    return kLetters[static_cast<int>(command)];
}

TUnlha::TUnlha(TUnlhaBinding *binding)
    : m_binding(binding)
{
    SetDefaultOptions();
}

TUnlhaBinding &TUnlha::binding() const
{
    return m_binding ? *m_binding : archiver();
}

void TUnlha::SetDefaultOptions()
{
    Options = TOptions{};
    DlgOptions = TDlgOptions{};
}

std::string TUnlha::BuildSwitches() const
{
    const TOptions &o = Options;
    std::string s;
    if (o.OpAllAttr) s += " -a1";
    s += compTypeSwitch(o.OpCompType, ArchiverVersionHeld);
    if (o.OpDictHalf) s += " -e1";
    if (o.OpDirEffect) s += " -x1";
    s += dlgYesSwitch(o.OpDlgYes);
    if (!o.OpDskChk) s += " -f1";
    s += logDispSwitch(o.OpLogDisp);
    s += nameCheckSwitch(o.OpNameCheck);
    s += reSearchSwitch(o.OpReSearch);
    if (!o.OpROot) s += " -jf0";
    if (o.OpShortFile) s += " -ji1";
    if (!o.OpTmCheck) s += " -c1";
    s += updFileSwitch(o.OpUpdFile);
    s += upperCaseSwitch(o.OpUpperCase);
    s += winSfxSwitch(o.OpWinSfx);
    const TDlgOptions &d = DlgOptions;
    if (!d.OpExtDlg) s += " -n1";
    if (!d.OpSkipDlg) s += " -s1";
    if (!d.OpErrorDlg) s += " -gm1";
    if (!d.OpProcessDlg) s += " -gn2";
    return s;
}

std::string TUnlha::CommandLine() const
{
    std::string line(1, commandLetter(Command));
    line += " -+" + BuildSwitches();
    if (!WorkDirName.empty())
        line += " \"-w" + withBackslash(WorkDirName) + "\" ";
    if (!ExtraSwitches.empty())
        line += " " + ExtraSwitches;
    line += " \"" + ARCFileName + "\"";
    if (!BaseDirName.empty())
        line += " \"" + withBackslash(BaseDirName) + "\"";
    line += " \"" + ARCPattern + "\"";
    return line;
}

int TUnlha::Execute()
{
    if (ARCFileName.empty())
        return -1;
    TUnlhaBinding &lib = binding();
    lib.UnlhaSetCursorMode(DisplayCSR);
    const void *owner = ExecMode == TExecMode::exForeGround ? ApplicationWindow : nullptr;
    const std::string line = CommandLine();
    if (Debug && !(AskOkCancel && AskOkCancel(line, "Execute Wait")))
        return -999;
    std::string buffer;
    const int result = lib.Unlha(owner, line, buffer, kOutputBufferSize);
    if (OutputLines)
        for (std::string &l : splitOutputLines(buffer))
            OutputLines->push_back(std::move(l));
    return result;
}

std::vector<std::string> splitOutputLines(std::string_view buffer)
{
    std::vector<std::string> lines;
    while (!buffer.empty() && buffer.front() != '\0') {
        const std::size_t cut = std::min(buffer.find('\0'), buffer.find('\n'));
        if (cut == std::string_view::npos) {
            lines.emplace_back(buffer);
            break;
        }
        lines.emplace_back(buffer.substr(0, cut));
        buffer.remove_prefix(cut + 1);
    }
    return lines;
}

} // namespace zorbe::lha
