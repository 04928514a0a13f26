#include "PaperTestSupport.h"

#include "paper/PagePaths.h"
#include "paper/PageModel.h"
#include "paper/RaceSelection.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

namespace zorbe::test {

PaperDay::PaperDay()
    : card(makeRaceCard())
    , paper(*card, masters, labels)
{
    rebuildLabelTables(labels);
    TRaceCard &c = *card;
    c.MeetYear = "2024", c.MeetMonth = "06", c.MeetDay = "15", c.MeetKai = "03", c.MeetNichi = "05";
    c.MeetWeekday = "1";
    paper.settings.ozz = "2";
    masters.TrainerTable.push_back({"01001", sj("佐伯正人"), "1", 0.2});
    masters.TrainerTable.push_back({"01002", sj("高瀬浩二"), "2", 0.1});
}

void PaperDay::addRace(int runners)
{
    TRaceCard &c = *card;
    const int r = c.RaceCount++;
    const std::size_t ri = static_cast<std::size_t>(r);
    c.RaceVenue[ri] = "05";
    c.RaceNo[ri] = zeroPad(r + 1, 2);
    c.RaceName[ri] = std::string();
    for (int i = 0; i < 30; ++i)
        c.RaceName[ri] += "\x81\x40";
    c.RaceEdition[ri] = "0";
    c.RaceGrade[ri] = " ";
    c.RaceKind[ri] = "13";
    c.RaceSymbol[ri] = "000";
    c.RaceWeightRule[ri] = "4";
    c.RaceClass[ri] = {"", "000", "005", "005", "005", "000"};
    c.RaceDistance[ri] = "1600";
    c.RaceTrack[ri] = "11";
    c.RaceCourse[ri] = " ";
    c.RacePrize[ri] = {"", "0001000", "0000400", "0000250", "0000150", "0000100"};
    c.RaceRecordKind[ri] = "1";
    c.RaceRecordTime[ri] = "1321";
    c.RaceRecordHorse[ri] = sj("レコードホルダー　");
    c.RaceStartTime[ri] = "1025";
    c.RaceEntries[ri] = zeroPad(runners, 2);
    const int first = c.HorseCount;
    for (int k = 0; k < runners; ++k)
        fillHorse(first + k, r, k);
    c.HorseCount += runners;
}

void PaperDay::fillHorse(int h, int race, int k)
{
    TRaceCard &c = *card;
    const std::size_t hh = static_cast<std::size_t>(h);
    const std::size_t r = static_cast<std::size_t>(race);
    const std::size_t j = static_cast<std::size_t>(k + 1);
    c.EntryWeight[r][j] = "570";
    c.EntryBlinker[r][j] = "0";
    c.EntryJockeyCode[r][j] = "05001";
    c.EntryJockeyName[r][j] = sj("北原一郎");
    c.EntryApprentice[r][j] = "0";
    c.EntryTrainerCode[r][j] = k % 2 == 0 ? "01001" : "01002";
    c.EntryTrainerName[r][j] = k % 2 == 0 ? sj("佐伯正人") : sj("高瀬浩二");

    c.HorseName[hh] = sj("テストホース") + sj(k < 9 ? "１" : "２");
    c.HorseMark[hh] = "00";
    c.HorseSire[hh] = sj("サイアー");
    c.HorseDam[hh] = sj("ダム");
    c.HorseDamSire[hh] = sj("ダムサイアー");
    c.HorseOwner[hh] = sj("青嶺レーシング");
    c.HorseSex[hh] = "1";
    c.HorseBirthDate[hh] = "20210315";
    c.HorseColour[hh] = "03";
    c.HorseInviteRegion[hh] = std::string(24, ' ');
    c.HorsePrizeMain[hh] = "0001200";
    c.HorsePrizeEarned[hh] = {"", "0002345", "0000000"};
    for (std::size_t g = 1; g <= TRaceCard::kGroups; ++g)
        c.HorseResults[hh][g] = {"", "001", "000", "002", "003"};
    for (std::size_t p = 1; p <= TRaceCard::kPast; ++p) {
        c.PastYear[hh][p] = "2024";
        c.PastMonthDay[hh][p] = zeroPad(6 - static_cast<int>(p), 2) + "12";
        c.PastVenue[hh][p] = "05";
        c.PastKai[hh][p] = "02";
        c.PastNichi[hh][p] = "08";
        c.PastRaceNo[hh][p] = "11";
        c.PastRaceName[hh][p] = sj("　　　");
        c.PastGrade[hh][p] = " ";
        c.PastKind[hh][p] = "13";
        c.PastSymbol[hh][p] = "000";
        c.PastClass[hh][p] = "005";
        c.PastConditionName[hh][p] = std::string();
        for (int i = 0; i < 12; ++i)
            c.PastConditionName[hh][p] += "\x81\x40";
        c.PastDistance[hh][p] = "1600";
        c.PastTrack[hh][p] = "11";
        c.PastRegistered[hh][p] = "16";
        c.PastGoing[hh][p] = "1";
        c.PastHorseNo[hh][p] = zeroPad(k + 1, 2);
        c.PastWeight[hh][p] = "560";
        c.PastBlinker[hh][p] = "0";
        c.PastJockeyName[hh][p] = sj("北原一郎");
        c.PastAbnormal[hh][p] = "0";
        c.PastBodyWeight[hh][p] = "480";
        c.PastLast3F[hh][p] = "345";
        c.PastTime[hh][p] = "1345";
        c.PastArrival[hh][p] = zeroPad(k % 10 + 1, 2);
        c.PastFinish[hh][p] = zeroPad(k % 10 + 1, 2);
        c.PastPopularity[hh][p] = zeroPad(k % 10 + 1, 2);
        c.PastRivalName[hh][p] = sj("ライバルホース　　　");
        c.PastTimeDiff[hh][p] = "003";
        c.PastCorner[hh][p] = {"", "05", "04", "03", zeroPad(k % 16 + 1, 2)};
    }
}

void PaperDay::select()
{
    buildRaceSelection(paper);
}

const RecordingCanvas &PaperDay::drawScreen(int race, int zoom)
{
    canvas.clear();
    pageSpan() = makeRaceSpan(race, paper.RunnerCounts);
    const TPageContext ctx = DrawScreenPage(canvas, paper, zoom, 96);
    m_dpi = ctx.dpi, m_originX = ctx.originX, m_originY = ctx.originY;
    return canvas;
}

const RecordingCanvas &PaperDay::drawPrinted(int race)
{
    canvas.clear();
    pageSpan() = makeRaceSpan(race, paper.RunnerCounts);
    const TPageContext ctx{canvas, 0, 0, 600};
    DrawPrintedPage(ctx, paper, PrintPath::DisplayButton, {"100", "100", "7", "10"});
    m_dpi = 600, m_originX = 0, m_originY = 0;
    return canvas;
}

int PaperDay::x(int mm) const
{
    return mmToDevice(pageParams().leftMm + mm, m_dpi, pageParams().hFactor, m_originX);
}

int PaperDay::y(int mm) const
{
    return mmToDevice(pageParams().topMm + mm, m_dpi, pageParams().vFactor, m_originY);
}

int PaperDay::horse(int race, int k) const
{
    return makeRaceSpan(race, paper.RunnerCounts).start + k;
}

std::string textsOf(const RecordingCanvas &canvas)
{
    std::string out;
    for (const RecordedCall &call : canvas.texts())
        out += u8(call.text) + " @" + std::to_string(call.x) + "," + std::to_string(call.y) + "\n";
    return out;
}

const RecordedCall *findUtf8(const RecordingCanvas &canvas, const std::string &utf8)
{
    return canvas.findText(sj(utf8));
}

int countUtf8(const RecordingCanvas &canvas, const std::string &utf8)
{
    int count = 0;
    const std::string text = sj(utf8);
    for (const RecordedCall &call : canvas.texts())
        count += call.text == text ? 1 : 0;
    return count;
}

const RecordedCall *textAt(const PaperDay &day, const std::string &utf8, int xMm, int yMm)
{
    const std::string text = sj(utf8);
    for (const RecordedCall &call : day.canvas.calls())
        if ((call.kind == RecordedCall::Kind::Text || call.kind == RecordedCall::Kind::VText) && call.text == text &&
            call.x == day.x(xMm) && call.y == day.y(yMm))
            return &call;
    return nullptr;
}

bool lineAt(const PaperDay &day, int x1, int y1, int x2, int y2, int pen)
{
    for (const RecordedCall &c : day.canvas.calls())
        if (c.kind == RecordedCall::Kind::Line && c.x == day.x(x1) && c.y == day.y(y1) && c.x2 == day.x(x2) &&
            c.y2 == day.y(y2) && c.penWidth == pen)
            return true;
    return false;
}

} // namespace zorbe::test
