#pragma once

#include "data/formats/MasterFormats.h"
#include "data/formats/ResultFormats.h"
#include "model/Results.h"
#include "paper/RecordingCanvas.h"

#include <memory>
#include <string>
#include <vector>

// Results and detailed master records for the tests of the results and
// database pages, built through the file layouts.
namespace zorbe::test {

// One runner of a results record. Texts are UTF-8.
struct ResultRunner
{
    int horseNo = 1;
    int finish = 1;          // 0: no finishing position
    int popularity = 1;
    std::string name = "テストホース";
    std::string margin = "   ";
    std::string time = "1345";
    std::string last3F = "345";
    std::string corners = "03030201";
    std::string abnormal = "0";
    std::string horseId = "2001104027";
    std::string sex = "1";
    int weight = 570;
    std::string jockey = "騎手一";
    std::string trainer = "調教一";
    int bodyWeight = 480;
    std::string bodyChange = "+04";
    int arrival = 0;         // 0: the finishing position
};

// A race of 2004-06-27 at Tokyo (meeting 3, day 8) without runners; its
// name is 30 full-width blanks.
formats::TResultRec resultRace(int raceNo, const std::string &classCode = "703");
void setRaceName(formats::TResultRec &race, const std::string &utf8Name);
// Appends a runner in the next slot and counts it in the entries.
void addRunner(formats::TResultRec &race, const ResultRunner &runner);
// A payout entry of a group (Win, Place, BracketQuinella, Quinella, Wide).
void setPayout(formats::TResultRec &race, const formats::Field &group, std::size_t entry, const std::string &number,
               long payout, int popularity);

// The records as a results file below the test's home, loaded as the
// results window shows them (the path in ResultFileName).
std::unique_ptr<TResults> loadResults(const std::vector<formats::TResultRec> &races,
                                      const char *name = "d:\\zorbeLab\\sei\\test.SDT");

// A detailed master line of a person: code, name (family and given name,
// UTF-8), half-width kana name, creation date 20240613, born 19800405.
formats::TJockeyDetailRec jockeyDetail(const std::string &code, const std::string &family, const std::string &given,
                                       const std::string &kana);
formats::TTrainerDetailRec trainerDetail(const std::string &code, const std::string &family,
                                         const std::string &given, const std::string &kana);
// The counts of one placing group of a section.
template <class Rec>
void setCounts(Rec &rec, const formats::Field &year, const formats::Field &group, std::size_t element, int wins,
               int seconds, int thirds, int others)
{
    using C = formats::ResultCountsFields;
    auto section = rec.section(year);
    auto counts = section.template blockAs<formats::TResultCounts>(group, element);
    counts.setNumber(C::Wins, wins);
    counts.setNumber(C::Seconds, seconds);
    counts.setNumber(C::Thirds, thirds);
    counts.setNumber(C::Others, others);
    section.setBlock(group, element, counts);
    rec.setBlock(year, section);
}

// The text calls at device y, in drawing order.
std::vector<RecordedCall> textsAt(const RecordingCanvas &canvas, int y);
// The first text call at (x, y), or nullptr.
const RecordedCall *textAt(const RecordingCanvas &canvas, int x, int y);
// The text of the first call at (x, y), UTF-8 ("" when there is none).
std::string utf8At(const RecordingCanvas &canvas, int x, int y);

} // namespace zorbe::test
