#include "link/feedgen/FeedSeason.h"

#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedNames.h"
#include "platform/Cp932.h"
#include "platform/Fields.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zorbe::feedgen {
namespace {

struct CourseDef
{
    Surface surface;
    const char *track;
    int distance;
};

// The courses of each racecourse that the programme draws from.
const std::vector<CourseDef> &coursesOf(int venue)
{
    using S = Surface;
    static const std::vector<CourseDef> table[10] = {
        // 01 札幌
        {{S::Turf, "17", 1200}, {S::Turf, "17", 1500}, {S::Turf, "17", 1800}, {S::Turf, "17", 2000},
         {S::Turf, "17", 2600}, {S::Dirt, "24", 1000}, {S::Dirt, "24", 1700}, {S::Dirt, "24", 2400}},
        // 02 函館
        {{S::Turf, "17", 1200}, {S::Turf, "17", 1800}, {S::Turf, "17", 2000}, {S::Turf, "17", 2600},
         {S::Dirt, "24", 1000}, {S::Dirt, "24", 1700}, {S::Dirt, "24", 2400}},
        // 03 福島
        {{S::Turf, "17", 1200}, {S::Turf, "17", 1800}, {S::Turf, "19", 2000}, {S::Turf, "17", 2600},
         {S::Dirt, "24", 1700}, {S::Dirt, "24", 2400}, {S::Jump, "51", 2750}, {S::Jump, "54", 3350}},
        // 04 新潟
        {{S::Turf, "10", 1000}, {S::Turf, "11", 1200}, {S::Turf, "11", 1400}, {S::Turf, "12", 1600},
         {S::Turf, "12", 1800}, {S::Turf, "11", 2000}, {S::Turf, "11", 2200}, {S::Turf, "11", 2400},
         {S::Turf, "13", 3000}, {S::Turf, "16", 3200}, {S::Dirt, "23", 1200}, {S::Dirt, "23", 1800},
         {S::Dirt, "23", 2500}, {S::Jump, "51", 2890}, {S::Jump, "52", 3250}},
        // 05 東京
        {{S::Turf, "11", 1400}, {S::Turf, "11", 1600}, {S::Turf, "11", 1800}, {S::Turf, "11", 2000},
         {S::Turf, "11", 2300}, {S::Turf, "11", 2400}, {S::Turf, "11", 2500}, {S::Turf, "15", 3400},
         {S::Dirt, "23", 1300}, {S::Dirt, "23", 1400}, {S::Dirt, "23", 1600}, {S::Dirt, "23", 2100},
         {S::Jump, "53", 3000}, {S::Jump, "54", 3110}},
        // 06 中山
        {{S::Turf, "18", 1200}, {S::Turf, "18", 1600}, {S::Turf, "17", 1800}, {S::Turf, "17", 2000},
         {S::Turf, "18", 2200}, {S::Turf, "17", 2500}, {S::Turf, "21", 3600}, {S::Dirt, "24", 1200},
         {S::Dirt, "24", 1800}, {S::Dirt, "24", 2400}, {S::Jump, "55", 2880}, {S::Jump, "56", 3200},
         {S::Jump, "59", 4100}},
        // 07 中京
        {{S::Turf, "11", 1200}, {S::Turf, "11", 1400}, {S::Turf, "11", 1600}, {S::Turf, "11", 2000},
         {S::Turf, "11", 2200}, {S::Turf, "14", 3000}, {S::Dirt, "23", 1200}, {S::Dirt, "23", 1400},
         {S::Dirt, "23", 1800}, {S::Dirt, "23", 1900}, {S::Jump, "52", 3000}, {S::Jump, "57", 3300}},
        // 08 京都
        {{S::Turf, "17", 1200}, {S::Turf, "17", 1400}, {S::Turf, "18", 1600}, {S::Turf, "18", 1800},
         {S::Turf, "17", 2000}, {S::Turf, "18", 2200}, {S::Turf, "18", 2400}, {S::Turf, "18", 3000},
         {S::Turf, "20", 3200}, {S::Dirt, "24", 1200}, {S::Dirt, "24", 1400}, {S::Dirt, "24", 1800},
         {S::Dirt, "24", 1900}, {S::Jump, "53", 2910}, {S::Jump, "58", 3930}},
        // 09 阪神
        {{S::Turf, "17", 1200}, {S::Turf, "17", 1400}, {S::Turf, "18", 1600}, {S::Turf, "18", 1800},
         {S::Turf, "17", 2000}, {S::Turf, "17", 2200}, {S::Turf, "18", 2400}, {S::Turf, "18", 2600},
         {S::Turf, "19", 3000}, {S::Turf, "22", 3200}, {S::Dirt, "24", 1200}, {S::Dirt, "24", 1400},
         {S::Dirt, "24", 1800}, {S::Dirt, "24", 2000}, {S::Jump, "51", 2970}, {S::Jump, "56", 3140},
         {S::Jump, "59", 3900}},
        // 10 小倉
        {{S::Turf, "17", 1200}, {S::Turf, "17", 1800}, {S::Turf, "17", 2000}, {S::Turf, "17", 2600},
         {S::Dirt, "24", 1000}, {S::Dirt, "24", 1700}, {S::Dirt, "24", 2400}, {S::Jump, "51", 2860},
         {S::Jump, "54", 3390}},
    };
    return table[venue - 1];
}

bool hasJump(int venue)
{
    for (const auto &c : coursesOf(venue))
        if (c.surface == Surface::Jump)
            return true;
    return false;
}

// Venue rotation: a meeting lasts four weeks, two racecourses at a time,
// so that every racecourse races over a season.
const int kRotation[5][2] = {{5, 8}, {6, 9}, {4, 10}, {1, 7}, {2, 3}};

std::vector<int> venuesOfBlock(int block, int count)
{
    std::vector<int> v;
    for (int k = 0; static_cast<int>(v.size()) < count && k < 5; ++k)
        for (int x : kRotation[(block + k) % 5])
            if (static_cast<int>(v.size()) < count)
                v.push_back(x);
    return v;
}

// (1 + x/64)^64: an exponential made of multiplications only, so that the
// odds are the same on every platform.
double expApprox(double x)
{
    if (x < -60)
        return 0;
    double r = 1 + x / 64;
    for (int i = 0; i < 6; ++i)
        r *= r;
    return r;
}

int roundInt(double x) { return static_cast<int>(std::floor(x + 0.5)); }

// Seconds per 200 m of a typical winner on good ground.
double secondsPerFurlong(Surface s, int distance)
{
    switch (s) {
    case Surface::Turf:
        return 11.1 + 0.9 * std::min(1.0, (distance - 1000) / 1400.0) + 0.25 * std::max(0, distance - 2400) / 1200.0;
    case Surface::Dirt:
        return 11.8 + 0.95 * std::min(1.0, (distance - 1000) / 1400.0) + 0.1 * std::max(0, distance - 2400) / 400.0;
    case Surface::Jump:
        return 13.2 + 0.6 * (distance - 2800) / 1300.0;
    }
    return 12;
}

double goingAllowance(Surface s, char going)
{
    const int g = going - '1';
    static const double turf[4] = {0, 0.10, 0.22, 0.40};
    static const double dirt[4] = {0, -0.05, -0.10, -0.08};
    static const double jump[4] = {0, 0.12, 0.25, 0.45};
    return s == Surface::Turf ? turf[g] : s == Surface::Dirt ? dirt[g] : jump[g];
}

char goingOf(const Race &r) { return r.surface == Surface::Dirt ? r.dirtGoing : r.turfGoing; }

std::string kindGroup(const std::string &kind)
{
    if (kind == "11")
        return "11";
    if (kind == "18" || kind == "19")
        return "19";
    return "13";
}

int age(const Horse &h, int date) { return date / 10000 - h.birthDate / 10000; }

class Simulator
{
public:
    explicit Simulator(const FeedOptions &o)
        : m_random(o.seed)
        , m_names(m_random.fork(1))
    {
        m_season.options = o;
        m_venues = std::clamp(o.venues * o.scale, 1, 10);
    }

    Season run();

private:
    void makePeople();
    void makeHorses();
    Horse newHorse(int birthYear, int level, bool jumper);
    void makeRecords();
    void raceDay(int day, const std::vector<int> &venues, char weekday, bool published, FeedWeek *week);
    void programme(int day, int venue, char weekday, int meeting, int meetingDay, bool published, FeedWeek *week,
                   const std::vector<int> &jockeys);
    bool planRace(Race &r, int slot, int attempt);
    void nameRace(Race &r);
    std::vector<int> selectField(const Race &r, int size, int restDays);
    void runRace(Race &r, std::vector<int> &field, const std::vector<int> &jockeys, FeedWeek *week);
    void finish(Race &r);
    void retireAndRefresh(int day);

    Season m_season;
    FeedRandom m_random;
    FeedNames m_names;
    int m_venues = 2;
    std::map<std::pair<int, int>, std::pair<int, int>> m_meetings; // (year, venue) -> (block, meeting)
    std::map<int, int> m_meetingDays;                             // venue -> day of the current meeting
    int m_horseSerial = 0;
    std::vector<std::string> m_sires; // the stud book shared by all pedigrees
    std::map<std::string, int> m_currentRecord; // course -> index into recordHistory
};

void Simulator::makePeople()
{
    FeedRandom r = m_random.fork(2);
    auto &trainers = m_season.trainers;
    const int trainerCount = 60 * m_venues;
    for (int i = 0; i < trainerCount; ++i) {
        Person p;
        p.code = 1000 + i * 3;
        const PersonName n = m_names.person(false);
        p.name = n.full;
        p.kana = n.kana;
        p.shortName = n.shortName;
        p.affiliation = i % 2 ? '2' : '1';
        if (i % 37 == 36) {
            p.affiliation = '3';
            p.region = sj("北海道");
        }
        const int born = 1950 + r.range(0, 35);
        p.birthDate = born * 10000 + r.range(1, 12) * 100 + r.range(1, 28);
        p.licenceDate = (born + 30 + r.range(0, 8)) * 10000 + 301;
        p.skill = r.unit() * 2;
        for (int k = 0; k < 6; ++k) {
            const int runs = r.range(200, 2400);
            p.flatBefore[k] = runs * (k < 3 ? 1 : 1) / (k < 5 ? 10 + k * 2 : 2);
        }
        p.prizeBefore = r.range(100000, 4000000) * 10LL;
        trainers.push_back(p);
    }
    // Jockeys: per racecourse of a day, flat riders, riders of both and
    // jump specialists; a few apprentices, women and foreign riders.
    auto &jockeys = m_season.jockeys;
    const int perVenue = 38;
    for (int i = 0; i < perVenue * m_venues; ++i) {
        Person p;
        p.code = 100 + i * 7;
        const int slot = i % perVenue;
        const bool foreign = slot == 5 || (slot == 17 && i / perVenue % 2 == 0);
        const bool female = !foreign && (slot == 9 || slot == 29);
        const PersonName n = foreign ? m_names.foreignPerson() : m_names.person(female);
        p.name = n.full;
        p.kana = n.kana;
        p.shortName = n.shortName;
        p.latin = n.latin;
        p.sex = female ? 2 : 1;
        p.qualification = slot < 24 ? '2' : slot < 32 ? '1' : '3';
        p.affiliation = foreign ? '4' : (i % 2 ? '2' : '1');
        if (foreign)
            p.region = sj(i % 3 ? "フランス" : "イギリス");
        if (slot == 13) {
            p.affiliation = '3';
            p.region = sj("大井");
        }
        const bool young = female || slot % 8 == 7;
        const int born = young ? 2001 + r.range(0, 4) : 1975 + r.range(0, 22);
        p.birthDate = born * 10000 + r.range(1, 12) * 100 + r.range(1, 28);
        p.licenceDate = (born + 18 + r.range(0, 2)) * 10000 + 301;
        if (female)
            p.apprentice = '4';
        else if (young && !foreign)
            p.apprentice = "123"[r.below(3)];
        p.skill = foreign ? 2.5 + r.unit() : young ? r.unit() : r.unit() * 2.8;
        p.trainer = static_cast<int>(r.below(trainers.size()));
        if (!young) {
            for (int k = 0; k < 6; ++k)
                p.flatBefore[k] = r.range(20, 160) * (k == 5 ? 8 : 1);
            if (p.qualification != '2')
                for (int k = 0; k < 6; ++k)
                    p.jumpBefore[k] = r.range(2, 30) * (k == 5 ? 4 : 1);
            p.prizeBefore = r.range(50000, 9000000) * 10LL;
        }
        jockeys.push_back(p);
    }
    for (int i = 0; i < 30 * m_venues; ++i)
        m_season.owners.push_back(m_names.ownerName());
    for (int i = 0; i < 20 * m_venues; ++i)
        m_season.breeders.push_back(m_names.breederName());
}

Horse Simulator::newHorse(int birthYear, int level, bool jumper)
{
    FeedRandom &r = m_random;
    Horse h;
    h.id = std::to_string(birthYear) + "10" + zeroPad(++m_horseSerial, 4);
    h.name = m_names.horseName();
    h.kana = halfWidthKana(h.name);
    h.birthDate = birthYear * 10000 + r.range(2, 5) * 100 + r.range(1, 28);
    h.sex = r.chance(0.47) ? 2 : 1;
    if (h.sex == 1 && birthYear < m_season.options.start / 10000 - 4 && r.chance(0.2))
        h.sex = 3;
    static const char *coats[] = {"03", "04", "01", "05", "07", "02", "06", "11"};
    h.coat = coats[r.weighted({35, 20, 20, 8, 8, 4, 3, 1})];
    h.mark = r.chance(0.04) ? "03" : r.chance(0.03) ? "07" : "00";
    // Pedigree: sires from a shared stud book, some of them imported.
    std::vector<std::string> &sires = m_sires;
    if (sires.empty())
        for (int i = 0; i < 40; ++i)
            sires.push_back(m_names.ancestorName(i % 3 == 0));
    for (int k = 0; k < 14; ++k) {
        const bool male = k == 0 || k == 2 || k == 4 || (k >= 6 && k % 2 == 0);
        h.pedigreeName[k] = male ? sires[r.below(sires.size())] : m_names.horseName();
        h.pedigreeNumber[k] = zeroPad(static_cast<std::int64_t>(11000000 + r.below(8999999)), 8);
    }
    h.trainer = static_cast<int>(r.below(m_season.trainers.size()));
    h.owner = static_cast<int>(r.below(m_season.owners.size()));
    h.breeder = static_cast<int>(r.below(m_season.breeders.size()));
    h.birthplace = m_names.birthplace();
    if (h.birthplace.size() <= 2)
        h.mark = "07"; // bred abroad
    h.registrationDate = (birthYear + 2) * 10000 + r.range(1, 5) * 100 + r.range(1, 28);
    h.level = level;
    h.ability = 44 + 6.0 * level + 3.5 * r.normal() + (jumper ? 4 : 0);
    h.surface = jumper ? Surface::Jump : r.chance(0.5) ? Surface::Turf : Surface::Dirt;
    h.preferredDistance = 1200 + 200 * r.range(0, 7);
    h.style = r.range(1, 4);
    h.bodyWeight = 420 + 2 * r.range(0, 50) + (h.sex == 2 ? -10 : 10);
    h.blinker = r.chance(0.12);
    return h;
}

void Simulator::makeHorses()
{
    const int y0 = m_season.options.start / 10000 - 1;
    const int lastYear = dateOf(m_season.firstDay) / 10000 + 2 + m_season.options.weeks / 52;
    auto add = [&](int birthYear, int count, auto levelOf) {
        for (int i = 0; i < count; ++i) {
            const int level = levelOf();
            const bool jumper = birthYear <= y0 - 4 && m_random.chance(0.1);
            m_season.horses.push_back(newHorse(birthYear, jumper ? (level > 1 ? 4 : 0) : level, jumper));
        }
    };
    FeedRandom &r = m_random;
    const int v = m_venues;
    add(y0 - 3, 650 * v, [&] { return static_cast<int>(r.weighted({60, 30, 8, 0, 2})); });
    add(y0 - 4, 420 * v, [&] { return 1 + static_cast<int>(r.weighted({35, 30, 17, 18})); });
    add(y0 - 5, 330 * v, [&] { return 1 + static_cast<int>(r.weighted({30, 30, 20, 20})); });
    add(y0 - 6, 200 * v, [&] { return 1 + static_cast<int>(r.weighted({25, 30, 20, 25})); });
    add(y0 - 7, 90 * v, [&] { return 1 + static_cast<int>(r.weighted({20, 30, 20, 30})); });
    // The crops that come of racing age during the simulation.
    for (int y = y0 - 2; y <= lastYear; ++y)
        add(y, 620 * v, [] { return 0; });
}

void Simulator::makeRecords()
{
    // Records set before the simulation: a little faster than a typical
    // good winner of the course.
    FeedRandom r = m_random.fork(3);
    const int y0 = m_season.options.start / 10000 - 1;
    for (int venue = 1; venue <= 10; ++venue)
        for (const auto &c : coursesOf(venue)) {
            std::vector<std::string> kinds = {c.surface == Surface::Jump ? "19" : "13"};
            if (c.surface != Surface::Jump && c.distance <= 2000)
                kinds.push_back("11");
            for (const auto &kind : kinds) {
                CourseRecord rec;
                rec.venue = venue;
                rec.track = c.track;
                rec.distance = c.distance;
                rec.kind = kind;
                const double spf = secondsPerFurlong(c.surface, c.distance) - 0.14 + (kind == "11" ? 0.1 : 0);
                rec.time = roundInt(c.distance / 200.0 * spf * 10) - r.range(0, 3);
                const int year = y0 - 1 - r.range(0, 12);
                rec.raceKey = std::to_string(year) + zeroPad(r.range(4, 11), 2) + zeroPad(r.range(1, 28), 2)
                              + zeroPad(venue, 2) + zeroPad(r.range(1, 4), 2) + zeroPad(r.range(1, 8), 2)
                              + zeroPad(r.range(5, 11), 2);
                rec.horseId = std::to_string(year - (kind == "11" ? 2 : 4)) + "10" + zeroPad(r.range(9000, 9999), 4);
                rec.horseName = m_names.horseName();
                rec.sex = r.chance(0.3) ? 2 : 1;
                rec.carriedWeight = kind == "11" ? 550 : kind == "19" ? 600 : 570;
                rec.jockey = static_cast<int>(r.below(m_season.jockeys.size()));
                rec.trainer = static_cast<int>(r.below(m_season.trainers.size()));
                rec.jockeyName = m_season.jockeys[rec.jockey].name;
                rec.trainerName = m_season.trainers[rec.trainer].name;
                rec.weather = '1';
                rec.going = '1';
                m_currentRecord[courseRecordKey(venue, c.track, c.distance, kind)]
                    = static_cast<int>(m_season.recordHistory.size());
                m_season.recordHistory.push_back(rec);
            }
        }
}


bool Simulator::planRace(Race &r, int slot, int attempt)
{
    FeedRandom &rnd = m_random;
    const int month = r.date / 100 % 100;
    const bool twoYo = month >= 6;
    r.number = slot;
    r.surface = rnd.chance(0.5) ? Surface::Turf : Surface::Dirt;
    int level = 1;
    std::string kind = month <= 5 ? "14" : "13";
    r.debut = false;
    if (attempt == 0) {
        if (slot <= 3) {
            level = 0;
            kind = (twoYo && month >= 7 && slot == 2) || month >= 10 ? "11" : "12";
        } else if (slot == 4 && hasJump(r.venue) && rnd.chance(0.7)) {
            r.surface = Surface::Jump;
            kind = month <= 5 ? "19" : "18";
            level = rnd.chance(0.6) ? 0 : 4;
        } else if ((slot == 5 || slot == 6) && (twoYo || month <= 3)) {
            level = 0;
            r.debut = true;
            kind = twoYo ? "11" : "12";
        } else if (slot == 6 && month <= 5) {
            kind = "12";
        } else if (slot == 9) {
            level = 2;
        } else if (slot == 10) {
            level = r.weekday == '2' ? 3 : 2;
        } else if (slot == 11) {
            level = 4;
            if (month <= 5 && rnd.chance(0.4))
                kind = "12";
        } else if (slot == 12) {
            level = rnd.chance(0.5) ? 1 : 2;
        }
    } else if (attempt == 1) {
        level = 1;
    } else {
        level = 0;
        kind = month >= 10 ? "11" : "12";
    }
    r.kind = kind;
    r.level = level;
    r.fillies = level <= 1 && r.surface != Surface::Jump && rnd.chance(0.12);
    r.special = slot >= 8 && level >= 1 && r.surface != Surface::Jump && (slot != 8 || rnd.chance(0.4));
    r.grade = ' ';
    if (level == 4 && slot == 11 && r.surface != Surface::Jump) {
        const int g = static_cast<int>(rnd.weighted({30, 30, 22, 12, 6}));
        r.grade = " LCBA"[g];
        if (r.weekday != '2' && r.grade == 'A')
            r.grade = 'C';
    }
    if (r.surface == Surface::Jump && level == 4 && rnd.chance(0.15)) {
        r.grade = 'H';
        r.special = true;
    }
    if (r.debut)
        r.condition = "701";
    else
        r.condition = level == 0 ? "703" : level == 1 ? "005" : level == 2 ? "010" : level == 3 ? "016" : "999";
    // Course.
    std::vector<CourseDef> options;
    for (const auto &c : coursesOf(r.venue))
        if (c.surface == r.surface && (r.kind != "11" || c.distance <= 2000))
            options.push_back(c);
    if (options.empty())
        return false;
    std::vector<int> weights;
    for (const auto &c : options)
        weights.push_back(c.distance <= 2000 ? 4 : c.distance <= 2600 ? 2 : (level >= 3 ? 2 : 0) + (c.track[0] == '5' ? 2 : 0));
    for (auto &w : weights)
        w = std::max(w, 1);
    const CourseDef &c = options[rnd.weighted(weights)];
    r.track = c.track;
    r.distance = c.distance;
    r.corners = r.track == "10" ? 0 : r.surface == Surface::Jump ? 4 : r.distance < 1700 ? 2 : 4;
    r.courseDivision = r.surface == Surface::Turf && rnd.chance(0.3) ? std::string(1, "ABC"[rnd.below(3)]) + " " : "  ";
    return true;
}

void Simulator::nameRace(Race &r)
{
    FeedRandom &rnd = m_random;
    const bool jump = r.surface == Surface::Jump;
    std::string ages = r.kind == "11" ? "２歳" : r.kind == "12" ? "３歳" : r.kind == "13" || r.kind == "18" ? "３歳以上" : "４歳以上";
    std::string cls = r.debut ? "新馬" : r.level == 0 ? "未勝利" : r.level == 1 ? "１勝クラス" : r.level == 2 ? "２勝クラス" : r.level == 3 ? "３勝クラス" : "オープン";
    r.conditionName = sj((jump ? "障害" : "") + ages + cls);
    r.symbol = r.fillies ? (r.special ? "A24" : "A20") : r.grade != ' ' && r.grade != 'L' ? "N00" : r.special ? "A04" : jump ? "000" : rnd.chance(0.7) ? "A01" : "000";
    if (r.venue == 10 && r.kind == "11" && rnd.chance(0.3))
        r.symbol = "M01";
    if (!r.special) {
        r.name.clear();
        return;
    }
    static const std::vector<std::pair<const char *, int>> repaired = {
        {"小　特別", 1}, {"恵　特別", 1}, {"　飾特別", 1}, {"文知　特別", 1}, {"　坂山特別", 1},
        {"　上特別", 1}, {"　園特別", 2}, {"　　峡特別", 2}, {"飛　ステークス", 3}};
    std::string name;
    if (r.level <= 3 && rnd.chance(0.08)) {
        std::vector<const char *> fit;
        for (const auto &[n, l] : repaired)
            if (l == r.level)
                fit.push_back(n);
        if (!fit.empty())
            name = sj(fit[rnd.below(fit.size())]);
    }
    const std::string word = m_names.raceWord();
    const char *suffix = r.level <= 2 ? "特別" : r.level == 3 ? "ステークス" : r.grade == ' ' || r.grade == 'L' ? (rnd.chance(0.5) ? "ステークス" : "カップ") : (rnd.chance(0.5) ? "記念" : "賞");
    if (jump)
        suffix = "ジャンプステークス";
    if (name.empty())
        name = word + sj(suffix);
    r.name = name;
    if (r.grade != ' ' && r.grade != 'L')
        r.edition = rnd.range(10, 70);
    const std::string ste = sj("ステークス");
    std::string s3 = std::string(cp932::cutBytes(name, 6));
    if (name.size() > ste.size() && name.compare(name.size() - ste.size(), ste.size(), ste) == 0 && name.size() - ste.size() <= 4)
        s3 = name.substr(0, name.size() - ste.size()) + sj("Ｓ");
    if (s3.size() > 6)
        s3 = std::string(cp932::cutBytes(s3, 6));
    r.shortName3 = s3;
    r.shortName6 = std::string(cp932::cutBytes(name, 12));
    r.shortName10 = std::string(cp932::cutBytes(name, 20));
}

std::vector<int> Simulator::selectField(const Race &r, int size, int restDays)
{
    struct Cand { double score; int horse; };
    std::vector<Cand> cands;
    const int month = r.date / 100 % 100;
    for (int i = 0; i < static_cast<int>(m_season.horses.size()); ++i) {
        const Horse &h = m_season.horses[i];
        if (h.retired || h.lastRunDay > r.day - restDays)
            continue;
        const int a = age(h, r.date);
        if (a < 2 || (a == 2 && month < 6))
            continue;
        const bool jumper = h.surface == Surface::Jump;
        if (jumper != (r.surface == Surface::Jump))
            continue;
        if (r.kind == "11" && a != 2) continue;
        if (r.kind == "12" && a != 3) continue;
        if ((r.kind == "13" || r.kind == "18") && a < 3) continue;
        if ((r.kind == "14" || r.kind == "19") && a < 4) continue;
        if (r.fillies && h.sex != 2) continue;
        if (r.debut && !h.runs.empty()) continue;
        if (r.level == 0 && h.level != 0) continue;
        if (r.level > 0 && (h.level > r.level || h.level < r.level - 1 || h.level == 0)) continue;
        double score = m_random.unit() * 3 + (h.level == r.level ? 2.5 : 0);
        if (!jumper && h.surface == r.surface) score += 2;
        score -= std::abs(h.preferredDistance - r.distance) / 600.0;
        cands.push_back({score, i});
    }
    std::sort(cands.begin(), cands.end(), [](const Cand &a, const Cand &b) {
        return a.score != b.score ? a.score > b.score : a.horse < b.horse;
    });
    std::vector<int> out;
    for (int i = 0; i < size && i < static_cast<int>(cands.size()); ++i)
        out.push_back(cands[i].horse);
    return out;
}

void Simulator::finish(Race &r)
{
    FeedRandom &rnd = m_random;
    auto &runs = m_season.runs;
    // Winner's time from distance, surface, going and class.
    double spf = secondsPerFurlong(r.surface, r.distance) + goingAllowance(r.surface, goingOf(r));
    spf += r.debut ? 0.2 : r.level == 0 ? 0.12 : r.level == 1 ? 0.08 : r.level == 2 ? 0.05 : r.level == 3 ? 0.03 : (r.grade == ' ' || r.grade == 'L' ? 0 : -0.03);
    if (r.kind == "11") spf += 0.1;
    spf += 0.04 * rnd.normal();
    const int winnerTime = roundInt(r.distance / 200.0 * spf * 10);
    // Who starts: scratches, exclusions, non-finishers.
    std::vector<int> starters;
    for (int ri : r.runs) {
        Run &x = runs[ri];
        const double u = rnd.unit();
        x.abnormality = u < 0.012 ? '1' : u < 0.015 ? '2' : u < 0.017 ? '3' : u < 0.021 ? '4' : u < 0.0225 ? '5' : '0';
        if (x.abnormality == '0' || x.abnormality == '4' || x.abnormality == '5' || x.abnormality == '3')
            starters.push_back(ri);
    }
    // Market: chances from the expected performance.
    double best = -1e9;
    for (int ri : starters) best = std::max(best, runs[ri].performance);
    double sum = 0;
    std::vector<double> w;
    for (int ri : starters) {
        const double m = runs[ri].performance + 2.0 * rnd.normal();
        w.push_back(expApprox(0.42 * (m - best - 2)));
        sum += w.back();
    }
    for (std::size_t k = 0; k < starters.size(); ++k) {
        Run &x = runs[starters[k]];
        x.probability = w[k] / sum;
        x.odds = std::clamp(roundInt(7.8 / x.probability), 10, 9999);
    }
    std::vector<int> byOdds = starters;
    std::stable_sort(byOdds.begin(), byOdds.end(), [&](int a, int b) { return runs[a].odds < runs[b].odds; });
    for (std::size_t k = 0; k < byOdds.size(); ++k) runs[byOdds[k]].popularity = static_cast<int>(k + 1);
    // Finish: performance on the day.
    std::vector<int> finishers;
    for (int ri : starters) {
        Run &x = runs[ri];
        x.performance += 3.5 * rnd.normal();
        if (x.abnormality == '0' || x.abnormality == '5') finishers.push_back(ri);
    }
    std::stable_sort(finishers.begin(), finishers.end(), [&](int a, int b) { return runs[a].performance > runs[b].performance; });
    const int deadHeatAt = finishers.size() >= 3 && rnd.chance(0.02) ? rnd.range(0, std::min<int>(4, static_cast<int>(finishers.size()) - 2)) : -1;
    double lengths = 0;
    int place = 0, arrival = 0;
    for (std::size_t k = 0; k < finishers.size(); ++k) {
        Run &x = runs[finishers[k]];
        double gap = 0;
        if (k > 0) {
            gap = std::max(0.0, runs[finishers[k - 1]].performance - x.performance) * 0.3 + rnd.unit() * 0.15;
            if (static_cast<int>(k) == deadHeatAt + 1) gap = 0;
        }
        lengths += gap;
        x.time = winnerTime + roundInt(1.7 * lengths);
        const bool tie = k > 0 && static_cast<int>(k) == deadHeatAt + 1;
        arrival = tie ? arrival : static_cast<int>(k) + 1;
        x.arrival = arrival;
        if (x.abnormality == '0') {
            ++place;
            const Run *prevPlaced = nullptr;
            if (tie && runs[finishers[k - 1]].abnormality == '0') prevPlaced = &runs[finishers[k - 1]];
            x.placing = prevPlaced ? prevPlaced->placing : place;
            if (prevPlaced) { x.deadHeat = true; runs[finishers[k - 1]].deadHeat = true; x.deadHeatCount = 2; runs[finishers[k - 1]].deadHeatCount = 2; }
        }
        if (k == 0) x.margin = "   ";
        else if (tie) x.margin = "D  ";
        else {
            static const std::pair<double, const char *> m[] = {{0.1, "H  "}, {0.2, "A  "}, {0.35, "K  "}, {0.6, " 12"}, {0.85, " 34"}, {1.1, "1  "}, {1.35, "114"}, {1.6, "112"}, {1.85, "134"}, {2.25, "2  "}, {2.75, "212"}, {3.25, "3  "}, {3.75, "312"}, {4.5, "4  "}, {5.5, "5  "}, {6.5, "6  "}, {7.5, "7  "}, {8.5, "8  "}, {9.5, "9  "}, {10.5, "Z  "}};
            x.margin = "T  ";
            for (const auto &[limit, code] : m) if (gap < limit) { x.margin = code; break; }
        }
    }
    r.entries = static_cast<int>(r.runs.size());
    r.starters = 0;
    for (int ri : r.runs) if (runs[ri].abnormality == '0' || runs[ri].abnormality == '4' || runs[ri].abnormality == '5') ++r.starters;
    r.finishers = static_cast<int>(finishers.size());
    // Laps (flat races) adding up to the winner's time.
    r.laps.clear();
    int leaderLast3 = 0, leaderLast4 = 0;
    if (r.surface != Surface::Jump) {
        const int n = (r.distance + 199) / 200;
        const bool half = r.distance % 200 == 100;
        std::vector<double> wl(n);
        for (int i = 0; i < n; ++i) {
            double v = i == 0 ? (half ? 0.56 : 1.06) : i == 1 ? 0.92 : i == 2 ? 0.96 : i >= n - 3 ? (i == n - 1 ? 1.0 : 0.97) : 1.02;
            wl[i] = v * (1 + 0.012 * rnd.normal());
        }
        double tw = 0;
        for (double v : wl) tw += v;
        int acc = 0;
        double cum = 0;
        for (int i = 0; i < n; ++i) {
            cum += wl[i];
            const int upto = i == n - 1 ? winnerTime : roundInt(winnerTime * cum / tw);
            r.laps.push_back(upto - acc);
            acc = upto;
        }
        for (int i = 0; i < 3 && i < n; ++i) leaderLast3 += r.laps[n - 1 - i];
        for (int i = 0; i < 4 && i < n; ++i) leaderLast4 += r.laps[n - 1 - i];
        r.first3F = n >= 3 ? r.laps[0] + r.laps[1] + r.laps[2] + (half && n >= 4 ? roundInt(r.laps[3] / 2.0) : 0) : 0;
        r.first4F = n >= 4 ? r.first3F + (half ? r.laps[3] - roundInt(r.laps[3] / 2.0) + (n >= 5 ? roundInt(r.laps[4] / 2.0) : 0) : r.laps[3]) : 0;
    } else {
        leaderLast3 = roundInt(3 * (spf + 0.3) * 10);
        leaderLast4 = roundInt(4 * (spf + 0.25) * 10);
        r.jumpMileTime = roundInt(winnerTime * 1600.0 / r.distance);
    }
    r.last3F = leaderLast3;
    r.last4F = leaderLast4;
    // Corner positions from running style, closing towards the finish.
    std::vector<int> ran;
    for (int ri : r.runs) if (runs[ri].abnormality == '0' || runs[ri].abnormality == '4' || runs[ri].abnormality == '5') ran.push_back(ri);
    std::map<int, int> finalRank;
    for (std::size_t k = 0; k < finishers.size(); ++k) finalRank[finishers[k]] = static_cast<int>(k);
    std::map<int, double> early;
    for (int ri : ran) early[ri] = runs[ri].style * 2.5 + 1.5 * rnd.normal();
    static const double weight[4] = {0.1, 0.2, 0.4, 0.65};
    const int firstCorner = r.corners == 4 ? 0 : r.corners == 2 ? 2 : 4;
    for (int c = firstCorner; c < 4; ++c) {
        std::vector<std::pair<double, int>> order;
        for (int ri : ran) {
            const double fr = finalRank.count(ri) ? finalRank[ri] * 1.0 : static_cast<double>(ran.size());
            order.push_back({(1 - weight[c]) * early[ri] + weight[c] * fr * 0.7, ri});
        }
        std::stable_sort(order.begin(), order.end());
        std::string text;
        for (std::size_t k = 0; k < order.size(); ++k) {
            runs[order[k].second].corners[c] = static_cast<int>(k) + 1;
            if (k) text += ",";
            text += std::to_string(runs[order[k].second].horseNumber);
        }
        r.cornerOrder[c] = text;
    }
    for (int ri : finishers) {
        Run &x = runs[ri];
        const int pos4 = x.corners[3] ? x.corners[3] : finalRank[ri] + 1;
        const int pos3 = x.corners[2] ? x.corners[2] : pos4;
        const int lag4 = (pos4 - 1) * 10 / 8;
        const int lag3 = (pos3 - 1) * 12 / 8;
        x.last3F = std::clamp(x.time - (winnerTime - leaderLast3) - lag4, leaderLast3 - 12, leaderLast3 + 80);
        x.last4F = std::clamp(x.time - (winnerTime - leaderLast4) - lag3, leaderLast4 - 14, leaderLast4 + 100);
    }
    // Opponents, time differences and prizes.
    int winner = -1, second = -1;
    for (int ri : finishers) {
        if (runs[ri].placing == 1 && winner < 0) winner = ri;
        else if (second < 0 && runs[ri].placing >= 1) second = ri;
    }
    for (int ri : r.runs) {
        Run &x = runs[ri];
        if (winner < 0) break;
        const bool placed = x.abnormality == '0' || x.abnormality == '5';
        if (ri == winner) {
            x.opponents = {runs[second >= 0 ? second : winner].horse};
            x.timeDifference = "-" + zeroPad(second >= 0 ? runs[second].time - x.time : 0, 3);
        } else {
            x.opponents = {runs[winner].horse};
            x.timeDifference = placed ? "+" + zeroPad(std::min(999, x.time - runs[winner].time), 3) : "9999";
        }
        if (x.abnormality == '0' && x.placing >= 1 && x.placing <= 5) {
            const int k = x.placing - 1;
            const bool split = x.deadHeat && k + 1 < 5;
            x.mainPrize = split ? (r.mainPrize[k] + r.mainPrize[k + 1]) / 2 / 10 * 10 : r.mainPrize[k];
            if (k < 3) x.addedPrize = split && k + 1 < 3 ? (r.addedPrize[k] + r.addedPrize[k + 1]) / 2 : r.addedPrize[k];
        }
    }
    // Course record.
    if (winner >= 0) {
        const std::string key = courseRecordKey(r.venue, r.track, r.distance, kindGroup(r.kind));
        auto it = m_currentRecord.find(key);
        if (it != m_currentRecord.end() && runs[winner].time < m_season.recordHistory[it->second].time) {
            CourseRecord rec = m_season.recordHistory[it->second];
            rec.time = runs[winner].time;
            rec.race = static_cast<int>(&r - m_season.races.data());
            rec.setDay = r.day;
            rec.raceKey = r.key();
            const Horse &h = m_season.horses[runs[winner].horse];
            rec.horseId = h.id;
            rec.horseName = h.name;
            rec.sex = h.sex;
            rec.carriedWeight = runs[winner].carriedWeight;
            rec.jockey = runs[winner].jockey;
            rec.trainer = runs[winner].trainer;
            rec.jockeyName = m_season.jockeys[rec.jockey].name;
            rec.trainerName = m_season.trainers[rec.trainer].name;
            rec.weather = r.weather;
            rec.going = goingOf(r);
            it->second = static_cast<int>(m_season.recordHistory.size());
            m_season.recordHistory.push_back(rec);
            r.recordUpdate = true;
            runs[winner].recordUpdate = true;
        }
    }
}

void Simulator::runRace(Race &r, std::vector<int> &field, const std::vector<int> &jockeys, FeedWeek *)
{
    FeedRandom &rnd = m_random;
    rnd.shuffle(field);
    const int n = static_cast<int>(field.size());
    // Brackets: eight, the last ones doubled (or tripled) as the field grows.
    std::vector<int> bracket(n);
    if (n <= 8) {
        for (int i = 0; i < n; ++i) bracket[i] = i + 1;
    } else {
        const int q = n / 8, rem = n % 8;
        int h = 0;
        for (int b = 1; b <= 8; ++b)
            for (int k = 0; k < q + (b > 8 - rem ? 1 : 0); ++k) bracket[h++] = b;
    }
    // Jockeys: the better horses get the better riders, more or less.
    std::vector<int> byAbility(n);
    for (int i = 0; i < n; ++i) byAbility[i] = i;
    std::stable_sort(byAbility.begin(), byAbility.end(), [&](int a, int b) {
        return m_season.horses[field[a]].ability > m_season.horses[field[b]].ability;
    });
    std::vector<std::pair<double, int>> riders;
    for (int j : jockeys) {
        const char q = m_season.jockeys[j].qualification;
        if (r.surface == Surface::Jump ? q == '2' : q == '3') continue;
        riders.push_back({-(m_season.jockeys[j].skill + 1.2 * rnd.normal()), j});
    }
    std::sort(riders.begin(), riders.end());
    std::vector<int> riderOf(n, riders.empty() ? 0 : riders.back().second);
    for (int k = 0; k < n && k < static_cast<int>(riders.size()); ++k) riderOf[byAbility[k]] = riders[k].second;
    const int month = r.date / 100 % 100;
    for (int i = 0; i < n; ++i) {
        Horse &h = m_season.horses[field[i]];
        Run x;
        x.race = static_cast<int>(&r - m_season.races.data());
        x.horse = field[i];
        x.jockey = riderOf[i];
        x.trainer = h.trainer;
        x.horseNumber = i + 1;
        x.bracket = bracket[i];
        x.age = age(h, r.date);
        const Person &j = m_season.jockeys[x.jockey];
        const bool older = r.kind == "13" || r.kind == "14";
        int base = r.surface == Surface::Jump ? 600 : r.kind == "11" ? 550 : r.kind == "12" ? 570 : (x.age == 3 ? (month >= 10 ? 560 : 550) : 580);
        if (h.sex == 2) base -= 20;
        if (r.weightRule == '1') base = std::clamp(roundInt((h.ability - 40) * 1.2) * 10 / 10 * 10 / 10 + 500, 480, 590) / 5 * 5;
        if (r.weightRule == '2') base += 10 * std::max(0, h.level - 2);
        (void)older;
        if (j.apprentice != '0' && !r.special && r.surface != Surface::Jump) {
            x.apprentice = j.apprentice;
            base -= 10 * (j.apprentice - '0');
        } else if (j.apprentice == '4' && r.special) {
            x.apprentice = '9';
            base -= 20;
        }
        x.carriedWeight = base;
        x.blinker = h.blinker;
        x.firstRun = h.runs.empty();
        h.bodyWeight = std::clamp(h.bodyWeight + 2 * rnd.range(-4, 4), 380, 600);
        x.bodyWeight = h.bodyWeight;
        x.bodyWeightChange = x.firstRun ? 0 : 2 * rnd.range(-5, 5);
        x.style = h.style;
        const bool fitSurface = h.surface == r.surface || r.surface == Surface::Jump;
        x.performance = h.ability + (fitSurface ? 2 : -3) - std::abs(h.preferredDistance - r.distance) / 300.0 + j.skill;
        r.runs.push_back(static_cast<int>(m_season.runs.size()));
        m_season.runs.push_back(x);
    }
    finish(r);
    for (int ri : r.runs) {
        Run &x = m_season.runs[ri];
        Horse &h = m_season.horses[x.horse];
        if (x.abnormality == '1' || x.abnormality == '2') {
            h.lastRunDay = r.day - 7;
        } else {
            h.lastRunDay = r.day;
            if (x.age <= 3) h.ability += 0.4;
            if (x.age >= 7) h.ability -= 0.3;
        }
        h.runs.push_back(ri);
        if (x.placing == 1 && x.abnormality == '0') {
            h.level = std::min(4, h.level + 1);
            if (h.surface == Surface::Jump) h.level = 4;
        }
        if ((x.age >= 7 && rnd.chance(0.12)) || (x.age == 6 && rnd.chance(0.04)) || h.runs.size() > 40)
            h.retired = true;
    }
}

void Simulator::programme(int day, int venue, char weekday, int meeting, int meetingDay, bool published,
                          FeedWeek *week, const std::vector<int> &jockeys)
{
    FeedRandom &rnd = m_random;
    const int date = dateOf(day);
    const int month = date / 100 % 100;
    static const int post[12] = {950, 1020, 1050, 1120, 1215, 1245, 1315, 1345, 1420, 1455, 1530, 1610};
    char weather = "1111122233"[rnd.below(10)];
    if ((month <= 2 || month == 12) && rnd.chance(0.05)) weather = '6';
    const char going = weather == '3' ? "2334"[rnd.below(4)] : weather == '2' ? "1112"[rnd.below(4)] : '1';
    const int venueMax = (venue <= 3 || venue == 10) ? 16 : 18;
    for (int slot = 1; slot <= 12; ++slot) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Race r;
            r.date = date;
            r.day = day;
            r.venue = venue;
            r.meeting = meeting;
            r.meetingDay = meetingDay;
            r.weekday = weekday;
            r.weather = weather;
            r.turfGoing = going;
            r.dirtGoing = going == '1' ? '1' : static_cast<char>(std::min('4', static_cast<char>(going + 1)));
            if (!planRace(r, slot, attempt))
                continue;
            r.weightRule = r.kind == "11" || r.kind == "12" ? (r.level == 4 ? '2' : '3') : r.grade == 'A' ? '4' : r.level == 4 ? "21"[rnd.below(2)] : r.special && rnd.chance(0.35) ? '1' : '4';
            nameRace(r);
            static const std::int64_t prize[] = {56000, 80000, 110000, 160000, 230000};
            std::int64_t first = r.debut ? 73000 : prize[r.level];
            if (r.grade == 'L') first = 250000;
            if (r.grade == 'C' || r.grade == 'H') first = 400000;
            if (r.grade == 'B') first = 600000;
            if (r.grade == 'A') first = 2000000;
            if (r.surface == Surface::Jump) first = first * 13 / 10;
            static const int share[5] = {100, 40, 25, 15, 10};
            for (int k = 0; k < 5; ++k) r.mainPrize[k] = first * share[k] / 100 / 10 * 10;
            if (r.special || r.level == 4) {
                r.addedPrize[0] = first / 40 / 10 * 10;
                r.addedPrize[1] = r.addedPrize[0] * 35 / 100;
                r.addedPrize[2] = r.addedPrize[0] * 20 / 100;
            }
            r.postTime = post[slot - 1] + (venue % 3) * 5;
            int size = 5 + static_cast<int>(rnd.weighted({1, 1, 1, 3, 3, 3, 3, 5, 5, 5, 5, 6, 6, 6}));
            size = std::min(size, r.surface == Surface::Jump ? 14 : venueMax);
            std::vector<int> field = selectField(r, size, 14);
            if (field.size() < 5)
                field = selectField(r, size, 7);
            if (field.size() < 5)
                continue;
            m_season.races.push_back(r);
            Race &stored = m_season.races.back();
            runRace(stored, field, jockeys, week);
            if (published && week) {
                stored.cancelled = rnd.chance(0.004);
                week->races.push_back(static_cast<int>(m_season.races.size()) - 1);
            }
            break;
        }
    }
}

void Simulator::raceDay(int day, const std::vector<int> &venues, char weekday, bool published, FeedWeek *week)
{
    // Riders are shared out among the day's racecourses.
    std::vector<std::vector<int>> pools(venues.size());
    const int perVenue = 38;
    for (int j = 0; j < static_cast<int>(m_season.jockeys.size()); ++j)
        pools[static_cast<std::size_t>((j / perVenue + day) % static_cast<int>(venues.size()))].push_back(j);
    const int date = dateOf(day);
    const int block = (day - dayNumber(20000106)) / 28;
    for (std::size_t v = 0; v < venues.size(); ++v) {
        const int venue = venues[v];
        auto &m = m_meetings[{date / 10000, venue}];
        if (m.first != block + 1) {
            m.first = block + 1;
            ++m.second;
            m_meetingDays[venue] = 0;
        }
        const int meetingDay = ++m_meetingDays[venue];
        programme(day, venue, weekday, m.second, meetingDay, published, week, pools[v]);
    }
}

void Simulator::retireAndRefresh(int day)
{
    const int date = dateOf(day);
    for (Horse &h : m_season.horses)
        if (!h.retired && h.level == 0 && h.surface != Surface::Jump && age(h, date) >= 3 && date / 100 % 100 >= 9) {
            if (m_random.chance(0.15)) {
                h.surface = Surface::Jump;
                h.ability += 4;
            } else {
                h.retired = true;
            }
        }
}

Season Simulator::run()
{
    const FeedOptions &o = m_season.options;
    const int startDay = dayNumber(o.start);
    const int jan1 = dayNumber((o.start / 10000 - 1) * 10000 + 101);
    const int warmupWeeks = (startDay - jan1) / 7;
    m_season.firstDay = startDay - 7 * warmupWeeks;
    makePeople();
    makeHorses();
    makeRecords();
    for (int w = -warmupWeeks; w < o.weeks; ++w) {
        const int thursday = startDay + 7 * w;
        const bool published = w >= 0;
        FeedWeek week;
        week.thursday = dateOf(thursday);
        const int block = (thursday + 2 - dayNumber(20000106)) / 28;
        const std::vector<int> venues = venuesOfBlock(block, m_venues);
        const int weekIndex = (thursday - dayNumber(20000106)) / 7;
        const bool holiday = weekIndex % 6 == 3;
        std::vector<std::pair<int, char>> days = {{thursday + 2, '1'}, {thursday + 3, '2'}};
        if (holiday)
            days.push_back({thursday + 4, '3'});
        if (thursday % 7 == 0 || dateOf(thursday) / 100 % 100 == 9)
            retireAndRefresh(thursday);
        for (const auto &[day, code] : days) {
            week.raceDays.push_back(dateOf(day));
            raceDay(day, venues, code, published, published ? &week : nullptr);
        }
        if (published)
            m_season.weeks.push_back(week);
    }
    return std::move(m_season);
}

} // namespace

std::string Race::key() const
{
    return zeroPad(date, 8) + zeroPad(venue, 2) + zeroPad(meeting, 2) + zeroPad(meetingDay, 2) + zeroPad(number, 2);
}

std::string venueName(int venue)
{
    static const char *names[] = {"札幌", "函館", "福島", "新潟", "東京", "中山", "中京", "京都", "阪神", "小倉"};
    return venue >= 1 && venue <= 10 ? sj(names[venue - 1]) : std::string();
}

std::string courseRecordKey(int venue, const std::string &track, int distance, const std::string &kind)
{
    return zeroPad(venue, 2) + track + zeroPad(distance, 4) + kind;
}

std::vector<CourseRecord> Season::recordsBefore(int day) const
{
    std::map<std::string, CourseRecord> latest;
    for (const auto &rec : recordHistory)
        if (rec.setDay < day)
            latest[courseRecordKey(rec.venue, rec.track, rec.distance, rec.kind)] = rec;
    std::vector<CourseRecord> out;
    for (auto &[key, rec] : latest)
        out.push_back(rec);
    return out;
}

Season simulateSeason(const FeedOptions &options)
{
    Simulator sim(options);
    return sim.run();
}

} // namespace zorbe::feedgen
