#pragma once

#include "link/feedgen/FeedRandom.h"

#include <set>
#include <string>

// Fictional names for the simulated season, as cp932 bytes.
namespace zorbe::feedgen {

struct PersonName
{
    std::string full;      // family + "　" + given (kanji), or full-width Latin
    std::string kana;      // half-width katakana: family in 1-15, given from 16
    std::string shortName; // at most 8 bytes
    std::string latin;     // ASCII
};

// Half-width katakana of a full-width katakana text (both cp932); other
// characters are kept.
std::string halfWidthKana(const std::string &fullWidth);
// Full-width Latin letters, digits and blanks of an ASCII text (cp932).
std::string fullWidthLatin(const std::string &ascii);

class FeedNames
{
public:
    explicit FeedNames(FeedRandom random)
        : m_random(random)
    {
    }

    // A horse name of 2-9 katakana, unique within the feed.
    std::string horseName();
    // A sire or mare name; `foreign` gives a full-width Latin name.
    std::string ancestorName(bool foreign);
    PersonName person(bool female);
    PersonName foreignPerson();
    std::string ownerName();
    std::string breederName();
    std::string birthplace();
    // A word for a special race's name ("潮風" ...).
    std::string raceWord();

private:
    std::string unique(std::string candidate, int attempt);

    FeedRandom m_random;
    std::set<std::string> m_used;
};

} // namespace zorbe::feedgen
