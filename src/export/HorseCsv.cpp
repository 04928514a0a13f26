#include "export/HorseCsv.h"

#include "data/formats/Codes.h"
#include "data/formats/RaceDayFormats.h"
#include "export/CsvText.h"
#include "export/RaceTitle.h"
#include "model/RecordFields.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <algorithm>

namespace zorbe::csvexport {

using formats::codes::CodeTable;
using F = formats::RaceCardFields;
using E = formats::RaceEntryFields;

namespace {

// ------------------------------------------------------------ code texts

std::string_view horseMarkText(std::string_view code)
{
    static const CodeTable t("馬記号", {{"01", "〇抽"},       {"02", "□抽"},     {"03", "〇父"},
                                        {"04", "〇市"},       {"05", "〇地"},     {"06", "〇外"},
                                        {"07", "〇父〇抽"},   {"08", "〇父〇市"}, {"09", "〇父〇地"},
                                        {"10", "〇市〇地"},   {"11", "〇外〇地"}, {"12", "〇父〇市〇地"},
                                        {"15", "〇招"},       {"16", "〇招〇外"}, {"17", "〇招〇父"},
                                        {"18", "〇招〇市"},   {"19", "〇招〇父〇市"}, {"20", "〇父〇外"},
                                        {"21", "□地"},       {"22", "〇外□地"}, {"23", "〇父□地"},
                                        {"24", "〇市□地"},   {"25", "〇父〇市□地"}, {"26", "□外"},
                                        {"27", "〇父□外"}});
    return t.name(code);
}

// A breed the code list does not name is written as its code.
std::string breedText(std::string_view code)
{
    const std::string_view name = formats::codes::breeds().name(code);
    return std::string(name.empty() ? code : name);
}

std::string_view pastVenueName(std::string_view venue)
{
    static const CodeTable t(
        "競馬場",
        {{"01", "札幌"},   {"02", "函館"},   {"03", "福島"},   {"04", "新潟"},   {"05", "東京"},
         {"06", "中山"},   {"07", "中京"},   {"08", "京都"},   {"09", "阪神"},   {"10", "小倉"},
         {"30", "門別"},   {"31", "北見"},   {"32", "岩見沢"}, {"33", "帯広"},   {"34", "旭川"},
         {"35", "盛岡"},   {"36", "水沢"},   {"37", "上山"},   {"38", "三条"},   {"39", "足利"},
         {"40", "宇都宮"}, {"41", "高崎"},   {"42", "浦和"},   {"43", "船橋"},   {"44", "大井"},
         {"45", "川崎"},   {"46", "金沢"},   {"47", "笠松"},   {"48", "名古屋"}, {"49", "紀三井"},
         {"50", "園田"},   {"51", "姫路"},   {"52", "益田"},   {"53", "福山"},   {"54", "高知"},
         {"55", "佐賀"},   {"56", "荒尾"},   {"57", "中津"},   {"58", "札幌地"}, {"59", "函館地"},
         {"60", "新潟地"}, {"61", "中京地"},
         {"A4", "米"},     {"A6", "英"},     {"A8", "仏"},     {"B2", "愛"},     {"B4", "新"},
         {"B6", "豪"},     {"B8", "加"},     {"C0", "伊"},     {"C2", "独"},     {"C4", "アラ"},
         {"E2", "アル"},   {"F2", "チリ"},   {"G0", "香港"},   {"H0", "西ド"},
         // The other foreign countries have one name.
         {"A0", "外"}, {"A2", "外"}, {"B0", "外"}, {"C5", "外"}, {"C6", "外"}, {"C7", "外"}, {"C8", "外"},
         {"D0", "外"}, {"D2", "外"}, {"D4", "外"}, {"D6", "外"}, {"D8", "外"}, {"E0", "外"}, {"E4", "外"},
         {"E6", "外"}, {"E8", "外"}, {"F0", "外"}, {"F1", "外"}, {"F4", "外"}, {"F6", "外"}, {"F8", "外"},
         {"G2", "外"}, {"G4", "外"}, {"G6", "外"}, {"G8", "外"}, {"H2", "外"}});
    return t.name(venue);
}

std::string_view pastTrackText(std::string_view track)
{
    static const CodeTable t("トラック", {{"10", "芝直線"},   {"11", "芝左"},     {"12", "芝左外"},
                                          {"13", "芝左内外"}, {"14", "芝左外内"}, {"15", "芝左内"},
                                          {"16", "芝左外"},   {"17", "芝右"},     {"18", "芝右外"},
                                          {"19", "芝右内外"}, {"20", "芝右外内"}, {"21", "芝右内"},
                                          {"22", "芝右外"},   {"23", "ダ左"},     {"24", "ダ右"},
                                          {"51", "障害"},     {"52", "障害"},     {"53", "障害"},
                                          {"54", "障害"},     {"55", "障害"},     {"56", "障害"},
                                          {"57", "障害"},     {"58", "障害"},     {"59", "障害"}});
    return t.name(track);
}

std::string_view pastClassText(std::string_view condition, std::string_view track)
{
    static const CodeTable flat("競走条件", {{"999", "オープン"}, {"016", "3勝ｸﾗｽ "}, {"015", "150万下"},
                                             {"010", "2勝ｸﾗｽ "},  {"090", "2勝ｸﾗｽ "}, {"009", "900万下"},
                                             {"005", "1勝ｸﾗｽ "},  {"004", "400万下"}, {"701", "新馬"},
                                             {"702", "未出走"},   {"703", "未勝利"}});
    static const CodeTable jump("障害競走条件",
                                {{"999", "障害ＯＰ"}, {"004", "障害400万下"}, {"703", "障害未勝利"}});
    if (isJumpTrack(track))
        if (const std::string_view text = jump.name(condition); !text.empty())
            return text;
    return flat.name(condition);
}

std::string_view pastGoingText(std::string_view going)
{
    static const CodeTable t("馬場状態", {{"1", "良"}, {"2", "稍"}, {"3", "重"}, {"4", "不"}});
    return t.name(going);
}

std::string_view pastAbnormalText(std::string_view code)
{
    static const CodeTable t("異常区分",
                             {{"1", "取消"}, {"2", "発外"}, {"3", "競外"}, {"4", "中止"}, {"5", "失格"}});
    return t.name(code);
}

// ------------------------------------------------------------ profile

// The owner's name with the run of full-width spaces inside it removed:
// a name that starts with two is written from byte 5; one with only
// full-width spaces from byte 5 (or 3) to 16 keeps bytes 1-4 and 17-40.
std::string ownerText(std::string_view owner)
{
    const auto allWideSpaces = [&](std::size_t from, std::size_t to) {
        if (owner.size() < to)
            return false;
        for (std::size_t at = from; at < to; at += 2)
            if (owner.substr(at, 2) != formats::kWideSpace)
                return false;
        return true;
    };
    if (allWideSpaces(0, 4))
        return std::string(owner.substr(4));
    if (allWideSpaces(2, 16) || allWideSpaces(4, 16))
        return std::string(owner.substr(0, 4)) + std::string(owner.substr(16));
    return std::string(owner);
}

// The trainer as the master table knows him: the first three characters
// of family and given name and the training centre (or, for an invited
// trainer, the region of the horse record); the code when he is unknown.
std::string trainerText(const TRaceCard &c, int h, const MasterTables &masters)
{
    const std::string &code = c.HorseTrainerCode[h];
    const auto found = std::find_if(masters.TrainerTable.begin(), masters.TrainerTable.end(),
                                    [&](const TMasterEntry &t) { return t.Code == code; });
    if (found == masters.TrainerTable.end())
        return code;
    const std::string_view name = found->Name;
    std::string out = std::string(bytesOf(name, 0, 6)) + std::string(bytesOf(name, 16, 6));
    if (found->Region == "1")
        return out + sj("（美浦）");
    if (found->Region == "2")
        return out + sj("（栗東）");
    return out + sj("（") + std::string(bytesOf(c.HorseInviteRegion[h], 0, 6)) + sj("）");
}

// ------------------------------------------------------------ past races

bool isBlankOrZero(std::string_view stored)
{
    return isBlank(stored) || stored.find_first_not_of('0') == std::string_view::npos;
}

// 開催回日: venue, meeting and day numbers and the track, two spaces apart;
// the venue alone when the meeting number is not there.
std::string meetingText(const TRaceCard &c, int h, int k)
{
    std::string out(pastVenueName(c.PastVenue[h][k]));
    if (isBlankOrZero(c.PastKai[h][k]))
        return out;
    out += "  " + withoutLeadingZeros(c.PastKai[h][k]);
    out += "  " + withoutLeadingZeros(c.PastNichi[h][k]);
    out += "  ";
    out += pastTrackText(c.PastTrack[h][k]);
    return out;
}

std::string emptyWhen(std::string_view stored, std::string_view none)
{
    return stored == none ? std::string() : std::string(stored);
}

std::string cornersText(const TRaceCard &c, int h, int k, const LabelTables &labels)
{
    std::string out;
    for (int n = 1; n <= 4; ++n) {
        const std::string &corner = c.PastCorner[h][k][n];
        if (!isBlankOrZero(corner))
            out += circledNumber(labels, corner);
    }
    return out;
}

void addPastRace(CsvLine &line, const TRaceCard &c, int h, int k, const LabelTables &labels)
{
    if (isBlank(c.PastYear[h][k])) {
        line.empty(21);
        return;
    }
    line.field(slashDate(c.PastYear[h][k], c.PastMonthDay[h][k]));
    line.field(meetingText(c, h, k));
    line.field(isBlankOrZero(c.PastKai[h][k]) ? std::string() : withoutLeadingZeros(c.PastRaceNo[h][k]));
    line.field(pastClassText(c.PastClass[h][k], c.PastTrack[h][k]));
    const std::string &finish = c.PastFinish[h][k];
    line.field(isBlankOrZero(finish) ? std::string(pastAbnormalText(c.PastAbnormal[h][k]))
                                     : withoutLeadingZeros(finish));
    line.field(emptyWhen(c.PastBracket[h][k], "0"));
    line.field(emptyWhen(c.PastHorseNo[h][k], "00"));
    line.field(c.PastWeight[h][k] == "000" ? std::string() : tenthsText(c.PastWeight[h][k]));
    line.field(emptyWhen(c.PastPopularity[h][k], "00"));
    line.field(emptyWhen(c.PastBodyWeight[h][k], "000"));
    if (c.PastTime[h][k] == "0000") {
        line.empty(2);
    } else {
        // The margin: its sign, then its two digits of tenths as "0.5".
        const std::string &diff = c.PastTimeDiff[h][k];
        std::string margin(bytesOf(diff, 0, 2));
        margin += '.';
        margin += bytesOf(diff, 2, 1);
        line.field(c.PastTime[h][k]);
        line.field(margin);
    }
    line.field(isBlank(c.PastLast3F[h][k]) ? std::string() : tenthsText(c.PastLast3F[h][k]));
    line.field(cornersText(c, h, k, labels));
    line.field(c.PastJockeyName[h][k]);
    line.field(c.PastRaceName[h][k]);
    line.field(formats::codes::grades().name(c.PastGrade[h][k]));
    line.field(isBlank(c.PastDistance[h][k]) ? std::string() : c.PastDistance[h][k]);
    line.field(isBlank(c.PastRegistered[h][k]) ? std::string() : c.PastRegistered[h][k]);
    line.field(pastGoingText(c.PastGoing[h][k]));
    line.field(c.PastRivalName[h][k]);
}

// ------------------------------------------------------------ lines

std::string runnerRow(const RecordFields &race, const RecordFields &entry, const TRaceCard &c, int h,
                      const MasterTables &masters, const LabelTables &labels)
{
    CsvLine line;
    line.field(entry(E::Bracket)).field(entry(E::HorseNo)).field(blinkerText(entry(E::Blinker)));
    line.field(tenthsText(entry(E::Weight))).field(apprenticeMark(entry(E::Apprentice))).field(entry(E::JockeyName));

    line.field(c.HorseId[h]).field(c.HorseName[h]).field(trainerText(c, h, masters));
    const std::string &birth = c.HorseBirthDate[h];
    line.field(slashDate(bytesOf(birth, 0, 4), bytesOf(birth, 4, 4)));
    line.field(formats::codes::coatColours().name(c.HorseColour[h])).field(horseMarkText(c.HorseMark[h]));
    line.field(breedText(c.HorseBreed[h]));
    static const std::string gelding = sj("せん");
    line.field(sexAndAge(c.HorseSex[h], race(F::Key, formats::RaceKeyFields::Year), bytesOf(birth, 0, 4), gelding));
    line.field(ownerText(c.HorseOwner[h])).field(c.HorseBreeder[h]).field(c.HorseBirthplace[h]);
    line.field(c.HorseSire[h]).field(c.HorseDam[h]).field(c.HorseDamSire[h]).field(c.HorseDamDam[h]);
    line.field(c.HorsePrizeMain[h]).field(c.HorsePrizeAdded[h]);
    line.field(c.HorsePrizeEarned[h][1]).field(c.HorsePrizeEarned[h][2]);

    // The placing counts after the total of the ten courses, in header order.
    for (int g = 2; g <= TRaceCard::kGroups; ++g)
        for (int n = 1; n <= 4; ++n)
            line.field(c.HorseResults[h][g][n]);
    for (int k = 1; k <= TRaceCard::kPast; ++k)
        addPastRace(line, c, h, k, labels);
    return line.end(c.HorseDataDate[h]);
}

} // namespace

const std::string &horseCsvHeader()
{
    static const std::string header = [] {
        std::string utf8 = "枠,馬番,ﾌﾞﾘﾝｶｰ,重量,減量,騎手,"
                           "血統登録番号,馬名,厩舎,生年月日,毛色,馬記号,品種,性齢,馬主名,生産者名,産地,父馬名,母馬名,"
                           "母父馬名,母母馬名,本賞金,付加賞,取得賞金,障害総賞金,";
        for (const char *group : {"芝右", "芝左", "ダ右", "ダ左", "障害", "芝良", "芝稍", "芝重", "芝不", "ダ良", "ダ稍",
                                  "ダ重", "ダ不", "障良", "障稍", "障重", "障不", "芝短", "芝中", "芝長", "ダ短", "ダ中",
                                  "ダ長"})
            for (const char *place : {"１着", "２着", "３着", "着外"})
                utf8 += std::string(group) + place + ",";
        for (int k = 0; k < 5; ++k)
            utf8 += "年月日,開催回日,レースNo,条件,確定順位,枠番,馬番,斤量,人気,馬体重,タイム,タイム差,後３Ｆ,"
                    "通過順位１/２/３/４,騎手名,競争名,グレード,距離,頭数,馬場,１・２着馬名,";
        return sj(utf8 + "データ作成月日\r\n");
    }();
    return header;
}

void appendHorseCsv(std::string_view raceCardFile, const TRaceCard &horses, const MasterTables &masters,
                    const LabelTables &labels, std::string_view fileName, std::string &out)
{
    const RecordFile file(std::string(raceCardFile), formats::TRaceCardRec::kLength);
    int h = 0; // the next horse of the horse tables
    for (std::size_t r = 0; r < file.count(); ++r) {
        atRecord(fileName, r + 1, [&] {
            const RecordFields race(file.record(r));
            const auto n = std::clamp<std::int64_t>(storedNumber(race(F::Entries), "登録頭数"), 0, F::kEntryCount);
            out += CsvLine().end(raceTitleLine(race, r + 1, labels, TitleStyle::WithName));
            out += horseCsvHeader();
            for (int j = 1; j <= n; ++j, ++h) {
                if (h >= horses.HorseCount)
                    throw std::runtime_error("競走馬ファイル " + WinPath(horses.HorseFileName).utf8() + " に "
                                             + std::to_string(h + 1) + " 頭目の馬がありません");
                out += runnerRow(race, race.block(F::Entry, static_cast<std::size_t>(j)), horses, h, masters, labels);
            }
        });
    }
}

} // namespace zorbe::csvexport
