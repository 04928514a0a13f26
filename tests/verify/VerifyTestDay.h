#pragma once

#include "model/RaceCard.h"
#include "platform/Fields.h"
#include "shell/MasterTables.h"

#include <memory>
#include <string>
#include <vector>

namespace zorbe::test {

// A meeting day made by hand for the pick files: every horse has the same
// timed past race, so the runners' figures differ by their jockeys alone,
// and a runner's "score" (a larger one is a better jockey) decides its rank.
struct PickDay
{
    std::unique_ptr<TRaceCard> card = makeRaceCard();
    MasterTables masters;

    PickDay()
    {
        TRaceCard &c = *card;
        c.MeetYear = "2004", c.MeetMonth = "06", c.MeetDay = "27";
        c.MeetKai = "03", c.MeetNichi = "08", c.MeetWeekday = "2";
    }

    // Race card.RaceCount + 1 with one runner per score. Open class,
    // dirt, 1600 m, post 15:25 unless changed afterwards.
    int addRace(const std::vector<int> &scores)
    {
        TRaceCard &c = *card;
        const int r = c.RaceCount++;
        const int first = c.FirstHorse(r);
        c.RaceVenue[r] = "05";
        c.RaceNo[r] = zeroPad(r + 1, 2);
        c.RaceEntries[r] = zeroPad(static_cast<std::int64_t>(scores.size()), 2);
        c.RaceTrack[r] = "23";
        c.RaceKind[r] = "13";
        c.RaceClass[r] = {"", "000", "999", "999", "000", "000"};
        c.RaceDistance[r] = "1600";
        c.RaceStartTime[r] = "1525";
        for (std::size_t k = 0; k < scores.size(); ++k) {
            const int h = first + static_cast<int>(k);
            const int j = static_cast<int>(k) + 1;
            const std::string code = "J" + zeroPad(h, 4);
            c.EntryJockeyCode[r][j] = code;
            c.EntryTrainerCode[r][j] = "T0000";
            masters.JockeyTable.push_back({code, "", "", 0.2 + 0.001 * scores[k]});
            pastRace(h);
        }
        return r;
    }

    // One timed race at Tokyo two months before; corner 3 "00" takes the
    // corner positions away (the runner then counts as without history).
    void pastRace(int h, bool withCorners = true)
    {
        TRaceCard &c = *card;
        c.PastYear[h][1] = "2004", c.PastMonthDay[h][1] = "0425", c.PastVenue[h][1] = "05";
        c.PastKai[h][1] = "02", c.PastNichi[h][1] = "04", c.PastRaceNo[h][1] = "05";
        c.PastKind[h][1] = "13", c.PastClass[h][1] = "005", c.PastDistance[h][1] = "1600";
        c.PastTrack[h][1] = "23", c.PastRegistered[h][1] = "16", c.PastTime[h][1] = "1372";
        c.PastLast3F[h][1] = "368";
        c.PastCorner[h][1] = {"", "05", "05", withCorners ? "05" : "00", "04"};
    }
};

} // namespace zorbe::test

namespace zorbe::test {

// A results record (3048 bytes, digits where the payout table reads them):
// key yyyymmdd + venue + kai + nichi + race, weekday code, no payouts.
class ResultRecord
{
public:
    ResultRecord(const std::string &date, const std::string &venue, int race, const std::string &kai = "02",
                 const std::string &nichi = "05", char weekday = '1')
        : m_bytes(3048, '0')
    {
        put(0, date + venue + kai + nichi + zeroPad(race, 2));
        m_bytes[16] = weekday;
        m_bytes[3046] = '\r', m_bytes[3047] = '\n';
    }
    // Short payout entry e (1-based) of the block at offset: number, yen.
    ResultRecord &entry(std::size_t offset, int e, const std::string &number, std::int64_t yen)
    {
        put(offset + 11 * static_cast<std::size_t>(e - 1), number + zeroPad(yen, 7));
        return *this;
    }
    ResultRecord &win(int e, int horse, std::int64_t yen) { return entry(333, e, zeroPad(horse, 2), yen); }
    ResultRecord &place(int e, int horse, std::int64_t yen) { return entry(366, e, zeroPad(horse, 2), yen); }
    ResultRecord &bracket(int e, const std::string &frames, std::int64_t yen) { return entry(421, e, frames, yen); }
    ResultRecord &quinella(int e, int a, int b, std::int64_t yen)
    {
        put(454 + 15 * static_cast<std::size_t>(e - 1), zeroPad(a, 2) + zeroPad(b, 2) + zeroPad(yen, 8));
        return *this;
    }
    // A plain race: winner, second, third with their payouts.
    ResultRecord &plain(int first, int second, int third, const std::string &frames, std::int64_t winYen,
                        std::int64_t bracketYen, std::int64_t quinellaYen)
    {
        win(1, first, winYen).place(1, first, 150).place(2, second, 230).place(3, third, 310);
        return bracket(1, frames, bracketYen).quinella(1, std::min(first, second), std::max(first, second), quinellaYen);
    }
    ResultRecord &put(std::size_t offset, const std::string &text)
    {
        m_bytes.replace(offset, text.size(), text);
        return *this;
    }
    const std::string &bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

} // namespace zorbe::test
