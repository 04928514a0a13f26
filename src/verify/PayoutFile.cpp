#include "verify/PayoutFile.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "verify/PickFiles.h"
#include "verify/Unlha.h"

namespace zorbe {
namespace {

constexpr std::size_t kRecordLength = 3048;
constexpr std::size_t kLineWidth = 78;
constexpr std::int64_t kLargestPayout = 999999;

// Where the payout entries of a results record are (0-based offsets).
constexpr std::size_t kWin1 = 333, kWin2 = 344;
constexpr std::size_t kPlace1 = 366, kPlace2 = 377, kPlace3 = 388;
constexpr std::size_t kBracket1 = 421, kBracket2 = 432;
constexpr std::size_t kQuinella1 = 454, kQuinella2 = 469;

const char *const kColumnHeader = "Race|  単 勝  |  複勝１ |  複勝２ |  複勝３ |  枠  連  |   馬  連   |返還&同着";
const char *const kClosingNotice = "※なお、各レースの成績、及び配当金は主催者発行のものとご照合下さい。m(__)m";

std::string rightAligned(std::int64_t n, std::size_t width)
{
    std::string s = std::to_string(n);
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

// A full-width digit (two bytes).
std::string wideDigit(int d)
{
    static const std::string kDigits = sj("０１２３４５６７８９");
    return kDigits.substr(static_cast<std::size_t>(d) * 2, 2);
}

// The number in a code field, or -1 when it is not all digits: codes
// outside the title tables only leave their text blank.
int codeNumber(std::string_view text)
{
    return isDigits(text) && text.size() <= 4 ? static_cast<int>(toInt(text, "")) : -1;
}

std::string yearText(std::string_view yy)
{
    const int y = codeNumber(yy);
    if (y == 9)
        return sj("　") + wideDigit(9);
    if (y >= 10 && y <= 27)
        return wideDigit(y / 10) + wideDigit(y % 10);
    return std::string(4, ' ');
}

std::string kaiText(std::string_view kai)
{
    const int k = codeNumber(kai);
    return k >= 1 && k <= 8 ? wideDigit(k) : std::string(2, ' ');
}

std::string dayText(std::string_view nichi)
{
    const int d = codeNumber(nichi);
    if (d >= 1 && d <= 9)
        return sj("　") + wideDigit(d);
    if (d >= 10 && d <= 20)
        return wideDigit(d / 10) + wideDigit(d % 10);
    return std::string(4, ' ');
}

std::string venueText(std::string_view code)
{
    const std::string name = code.size() == 2 ? venueNameOf(code) : std::string();
    return name.empty() ? std::string(4, ' ') : name;
}

std::string weekdayText(std::string_view code)
{
    static const char *const kDays[] = {"土", "日", "祝", "月", "火", "水", "木", "金"};
    if (code.size() == 1 && code[0] >= '1' && code[0] <= '8')
        return sj(kDays[code[0] - '1']);
    return std::string(2, ' ');
}

// The fields of one record, converted with the file and record named in
// every error.
class RecordFields
{
public:
    RecordFields(std::string_view record, const std::string &context, std::vector<TPayoutNotice> &notices)
        : m_record(record), m_context(context), m_notices(notices)
    {
    }

    std::int64_t number(std::size_t offset, std::size_t width, const char *name) const
    {
        return toInt(field(m_record, offset, width), m_context + name);
    }

    // A horse number, two characters; zero is " 0" or two blanks.
    std::string horse(std::size_t offset, bool zeroBlank, const char *name) const
    {
        const auto n = number(offset, 2, name);
        return n == 0 && zeroBlank ? "  " : rightAligned(n, 2);
    }

    // A payout in yen, six characters; zero is six blanks. A payout too
    // large for the column is written as the largest it holds, and said.
    std::string payout(std::size_t offset, std::size_t width, const char *name) const
    {
        const auto yen = number(offset, width, name);
        if (yen == 0)
            return std::string(6, ' ');
        if (yen > kLargestPayout) {
            m_notices.push_back({m_context + name + "が" + std::to_string(yen) + "円のため、" +
                                 std::to_string(kLargestPayout) + "と書きました"});
            return std::to_string(kLargestPayout);
        }
        return rightAligned(yen, 6);
    }

    // Quinella combination: "a-b", or five blanks when the first horse is 0.
    std::string quinella(std::size_t entry) const
    {
        if (number(entry, 2, "馬連1頭目") == 0)
            return std::string(5, ' ');
        return horse(entry, true, "馬連1頭目") + "-" + horse(entry + 2, true, "馬連2頭目");
    }

    // Bracket combination as stored: frame, "-", frame.
    std::string bracket(std::size_t entry) const
    {
        return padRight(field(m_record, entry, 1), 1) + "-" + padRight(field(m_record, entry + 1, 1), 1);
    }

    // Columns 46-68: bracket text, payout, quinella combination, payout.
    std::string bracketAndQuinella(const std::string &bracketText, std::size_t bracket, std::size_t quinella) const
    {
        return bracketText + "|" + payout(bracket + 2, 7, "枠連払戻金") + "|" + this->quinella(quinella) + "|" +
               payout(quinella + 4, 8, "馬連払戻金");
    }

    std::string_view record() const { return m_record; }

private:
    std::string_view m_record;
    const std::string &m_context;
    std::vector<TPayoutNotice> &m_notices;
};

std::string deadHeatLine(const RecordFields &f)
{
    const std::string tail = "|         ";
    if (f.number(kWin2, 2, "単勝同着馬番") != 0) {
        const bool sameFrame = field(f.record(), kBracket2, 1) == "0";
        const std::string bracketText = sameFrame ? "   " : f.bracket(kBracket2);
        return "*   |" + f.horse(kWin2, false, "単勝同着馬番") + "|" + f.payout(kWin2 + 2, 7, "単勝同着払戻金") + "|" +
               "  |      |  |      |  |      |" + f.bracketAndQuinella(bracketText, kBracket2, kQuinella2) + tail;
    }
    if (f.number(kBracket2, 2, "枠連同着組番") != 0)
        return "*   |  |      |  |      |  |      |  |      |" +
               f.bracketAndQuinella(f.bracket(kBracket2), kBracket2, kQuinella2) + tail;
    return {};
}

std::string raceLine(const RecordFields &f)
{
    std::string line = rightAligned(f.number(14, 2, "レース番号"), 3) + "R|";
    line += f.horse(kWin1, false, "単勝馬番") + "|" + f.payout(kWin1 + 2, 7, "単勝払戻金") + "|";
    line += f.horse(kPlace1, false, "複勝1馬番") + "|" + f.payout(kPlace1 + 2, 7, "複勝1払戻金") + "|";
    line += f.horse(kPlace2, false, "複勝2馬番") + "|" + f.payout(kPlace2 + 2, 7, "複勝2払戻金") + "|";
    line += f.horse(kPlace3, true, "複勝3馬番") + "|" + f.payout(kPlace3 + 2, 7, "複勝3払戻金") + "|";
    line += f.bracketAndQuinella(f.bracket(kBracket1), kBracket1, kQuinella1) + "|" + std::string(9, ' ');
    return line;
}

} // namespace

TPayoutSettings TPayoutSettings::read(const ProfileFile &s)
{
    return {s.readString("seisekidir", "seiseki", "c:\\zorbelab\\sei"),
            s.readString("Seisekifile", "seki", "c:\\zorbelab\\sei\\JracSei1.dat"),
            s.readString("kyousou", "kousin", "1")};
}

std::string payoutTitleLine(std::string_view r)
{
    const auto key = [&](std::size_t from, std::size_t n) { return padRight(field(r, from, n), n); };
    std::string line = sj("☆★払戻金情報★☆  ") + yearText(field(r, 2, 2)) + sj("年") + kaiText(field(r, 10, 2)) +
                       sj("回") + venueText(field(r, 8, 2)) + dayText(field(r, 12, 2)) + sj("日目") +
                       std::string(20, ' ');
    line += key(2, 2) + sj("年") + key(4, 2) + sj("月") + key(6, 2) + sj("日(") + weekdayText(field(r, 16, 1)) + ")";
    return line;
}

std::vector<std::string> payoutRaceLines(std::string_view record, const std::string &context,
                                         std::vector<TPayoutNotice> &notices)
{
    const RecordFields f(record, context, notices);
    std::vector<std::string> lines;
    std::string deadHeat = deadHeatLine(f);
    if (!deadHeat.empty())
        lines.push_back(std::move(deadHeat));
    lines.push_back(raceLine(f));
    return lines;
}

void TPayoutTable::appendTitleBlock(std::string_view r)
{
    m_venue = venueText(field(r, 8, 2));
    m_lines.push_back(std::string(kLineWidth, '-'));
    m_lines.push_back(payoutTitleLine(r));
    m_lines.push_back(std::string(kLineWidth, '='));
    m_lines.push_back(sj(kColumnHeader));
    m_lines.push_back(std::string(kLineWidth, '-'));
}

std::vector<TPayoutNotice> TPayoutTable::appendResults(std::string_view bytes, const std::string &fileLabel)
{
    std::vector<TPayoutNotice> notices;
    const std::size_t count = bytes.size() / kRecordLength;
    for (std::size_t n = 0; n < count; ++n) {
        const std::string_view record = bytes.substr(n * kRecordLength, kRecordLength);
        const std::string context = u8(fileLabel) + " " + std::to_string(n + 1) + "件目 ";
        m_lastDate = padRight(field(record, 2, 6), 6);
        if (field(record, 14, 2) == "01")
            appendTitleBlock(record);
        for (std::string &line : payoutRaceLines(record, context, notices))
            m_lines.push_back(std::move(line));
    }
    m_lines.push_back(std::string(kLineWidth, '-'));
    m_lines.push_back(sj(kClosingNotice));
    m_lines.push_back(std::string(kLineWidth, '='));
    return notices;
}

bool TPayoutTable::appendResultsFile(const WinPath &file, std::vector<TPayoutNotice> &notices)
{
    if (!files::isFile(file))
        return false;
    const std::string bytes = files::readAll(file);
    notices = appendResults(bytes, file.text());
    return true;
}

std::string TPayoutTable::bytes() const
{
    std::string out;
    for (const std::string &line : m_lines)
        out += line + "\r\n";
    return out;
}

std::string TPayoutTable::defaultSaveName() const
{
    return (isBlank(m_venue) ? std::string() : m_venue) + m_lastDate;
}

TPayoutSource payoutSourceFile(const TPayoutSettings &settings, const WinPath &chosen, lha::TUnlha &unlha)
{
    if (settings.kousin == "1")
        return {chosen, {}};
    TPayoutSource source{WinPath(settings.seki), {}};
    files::remove(source.file);
    std::vector<std::string> output;
    unlha.ARCFileName = chosen.text();
    unlha.BaseDirName = settings.seiseki;
    unlha.Command = lha::TCommand::cmdExtract;
    unlha.ARCPattern = "*.*";
    unlha.OutputLines = &output;
    const int result = unlha.Execute();
    unlha.OutputLines = nullptr;
    // Whether the archive held the file shows in the file itself; only the
    // members refused for their paths are worth a word to the user.
    if (result == lha::kErrorUnsafeMember)
        source.refused = std::move(output);
    return source;
}

WinPath savePayoutTable(const TPayoutTable &table, const WinPath &chosenName)
{
    const WinPath target(chosenName.text() + ".TXT");
    files::writeAtomic(target, table.bytes());
    return target;
}

} // namespace zorbe
