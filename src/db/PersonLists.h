#pragma once

#include "data/formats/MasterFormats.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The name lists of the jockey and trainer databases: the kana index
// buttons, which people each lists, and the list entries the user picks
// from (cp932).
namespace zorbe {

// Which people a kana button lists: those whose half-width katakana name
// begins with one of the characters, or (the foreigners' button) those
// whose display name begins with a full-width capital "Ａ" … "Ｚ".
struct TKanaFilter
{
    std::string firstChars; // single cp932 bytes (half-width katakana)
    bool foreign = false;
};

// One kana button: its caption (UTF-8) and what it lists; a button with
// no action only shows itself pressed.
struct TKanaButton
{
    std::string caption;
    std::optional<TKanaFilter> filter;
};

// The buttons in the order they stand, the foreigners' button last.
const std::vector<TKanaButton> &JockeyKanaButtons();
const std::vector<TKanaButton> &TrainerKanaButtons();

// One line of the name list: its text and the person it stands for
// (index into the records).
struct TListEntry
{
    std::string text;
    std::size_t person = 0;
};

// True when the display name begins with "Ａ" … "Ｚ".
bool isLatinName(std::string_view displayName);
bool matchesFilter(std::string_view kanaName, std::string_view displayName, const TKanaFilter &filter);

// The list text of a person: bytes 1-6 of the display name, a blank and
// bytes 17-22 (family and given name), or the first 14 bytes of a name in
// Latin letters; a jockey's ends with his affiliation code.
std::string jockeyListEntry(const formats::TJockeyDetailRec &jockey);
std::string trainerListEntry(const formats::TTrainerDetailRec &trainer);

// The people the filter lists, sorted by their list text (people with the
// same text in file order).
std::vector<TListEntry> FillJockeyList(const std::vector<formats::TJockeyDetailRec> &jockeys,
                                       const TKanaFilter &filter);
std::vector<TListEntry> FillTrainerList(const std::vector<formats::TTrainerDetailRec> &trainers,
                                        const TKanaFilter &filter);

// The first person whose list text is text, letter case ignored.
std::optional<std::size_t> findJockey(const std::vector<formats::TJockeyDetailRec> &jockeys, std::string_view text);
std::optional<std::size_t> findTrainer(const std::vector<formats::TTrainerDetailRec> &trainers,
                                       std::string_view text);

// The person with the code (5 bytes); the first of them.
std::optional<std::size_t> findJockeyByCode(const std::vector<formats::TJockeyDetailRec> &jockeys,
                                            std::string_view code);
std::optional<std::size_t> findTrainerByCode(const std::vector<formats::TTrainerDetailRec> &trainers,
                                             std::string_view code);

// A window caption from a list text: its first 12 bytes, never half a
// character.
std::string listCaption(std::string_view listText);

} // namespace zorbe
