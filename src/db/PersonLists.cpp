#include "db/PersonLists.h"

#include "db/DbPage.h"
#include "platform/Cp932.h"

#include <algorithm>

namespace zorbe {
namespace {

using formats::JockeyDetailFields;
using formats::TrainerDetailFields;

TKanaButton button(const char *caption, const char *chars)
{
    return {caption, TKanaFilter{sj(chars), false}};
}

TKanaButton foreignButton(const char *caption)
{
    return {caption, TKanaFilter{{}, true}};
}

TKanaButton inactiveButton(const char *caption)
{
    return {caption, std::nullopt};
}

std::string cut(std::string_view text, std::size_t from1, std::size_t count)
{
    return dbpage::bytesOf(text, from1, count);
}

std::string personEntry(std::string_view displayName)
{
    if (isLatinName(displayName))
        return cut(displayName, 1, 14);
    return cut(displayName, 1, 6) + " " + cut(displayName, 17, 6);
}

template <class Rec, class EntryOf>
std::vector<TListEntry> fillList(const std::vector<Rec> &people, const TKanaFilter &filter, EntryOf entryOf)
{
    std::vector<TListEntry> list;
    for (std::size_t i = 0; i < people.size(); ++i)
        if (matchesFilter(people[i].get(Rec::KanaName), people[i].get(Rec::DisplayName), filter))
            list.push_back({entryOf(people[i]), i});
    std::stable_sort(list.begin(), list.end(),
                     [](const TListEntry &a, const TListEntry &b) { return a.text < b.text; });
    return list;
}

template <class Rec, class EntryOf>
std::optional<std::size_t> findByEntry(const std::vector<Rec> &people, std::string_view text, EntryOf entryOf)
{
    for (std::size_t i = 0; i < people.size(); ++i)
        if (cp932::equalsIgnoreCase(entryOf(people[i]), text))
            return i;
    return std::nullopt;
}

template <class Rec>
std::optional<std::size_t> findByCode(const std::vector<Rec> &people, std::string_view code)
{
    for (std::size_t i = 0; i < people.size(); ++i)
        if (people[i].get(Rec::Code) == code)
            return i;
    return std::nullopt;
}

} // namespace

const std::vector<TKanaButton> &JockeyKanaButtons()
{
    static const std::vector<TKanaButton> buttons{
        button("ア", "ｱ"),          button("イ", "ｲ"),          button("ウ", "ｳ"),          button("エ", "ｴ"),
        button("オ", "ｵ"),          button("カ", "ｶ"),          button("キ", "ｷ"),          button("ク", "ｸｹ"),
        button("ケ", "ｸｹ"),         button("コ", "ｺ"),          button("サ", "ｻ"),          button("シ", "ｼ"),
        button("ス", "ｽ"),          button("セ", "ｾｿ"),         button("ソ", "ｾｿ"),         button("タ", "ﾀ"),
        button("チ", "ﾁ"),          button("ツ", "ﾂ"),          button("テ", "ﾃ"),          button("ト", "ﾄ"),
        button("ナ", "ﾅ"),          button("ニ", "ﾆﾇ"),         button("ヌ", "ﾆﾇ"),         button("ネ", "ﾈ"),
        button("ノ", "ﾉ"),          button("ハ", "ﾊ"),          button("ヒ", "ﾋ"),          button("フ", "ﾌﾍ"),
        button("ヘ", "ﾌﾍ"),         button("ホ", "ﾎ"),          button("マ", "ﾏ"),          button("ミ", "ﾐ"),
        button("ム", "ﾑﾒ"),         button("メ", "ﾑﾒ"),         button("モ", "ﾓ"),          button("ヤ", "ﾔﾕ"),
        button("ユ", "ﾔﾕ"),         button("ヨ", "ﾗﾘﾙﾚﾛﾖ"),     button("ラ", "ﾗﾘﾙﾚﾛﾖ"),     button("リ", "ﾗﾘﾙﾚﾛﾖ"),
        button("ル", "ﾗﾘﾙﾚﾛﾖ"),     button("レ", "ﾗﾘﾙﾚﾛﾖ"),     button("ロ", "ﾗﾘﾙﾚﾛﾖ"),     button("ワ", "ﾜ"),
        foreignButton("外　人"),
    };
    return buttons;
}

const std::vector<TKanaButton> &TrainerKanaButtons()
{
    static const std::vector<TKanaButton> buttons{
        button("ア", "ｱ"),     button("イ", "ｲ"),    button("ウ", "ｳ"),     button("エ", "ｴ"),    button("オ", "ｵ"),
        button("カ", "ｶ"),     button("キ", "ｷ"),    button("ク", "ｸｹ"),    button("ケ", "ｸｹ"),   button("コ", "ｺ"),
        button("サ", "ｻ"),     button("シ", "ｼ"),    button("ス", "ｽ"),     button("セ", "ｾ"),    button("ソ", "ｿ"),
        button("タ", "ﾀ"),     button("チ", "ﾁ"),    button("ツ", "ﾂ"),     button("テ", "ﾃ"),    button("ト", "ﾄ"),
        button("ナ", "ﾅ"),     button("ニ", "ﾆﾇﾈ"),  inactiveButton("ヌ"),  inactiveButton("ネ"), button("ノ", "ﾉ"),
        button("ハ", "ﾊ"),     button("ヒ", "ﾋ"),    button("フ", "ﾌﾍ"),    button("ヘ", "ﾌﾍ"),   button("ホ", "ﾎ"),
        button("マ", "ﾏ"),     button("ミ", "ﾐ"),    button("ム", "ﾑ"),     button("メ", "ﾒ"),    button("モ", "ﾓ"),
        button("ヤ", "ﾔ"),     button("ユ", "ﾕ"),    button("ヨ", "ﾖ"),     button("ラ", "ﾗﾘﾙﾚﾛ"), inactiveButton("リ"),
        inactiveButton("ル"),  inactiveButton("レ"), inactiveButton("ロ"),  button("ワ", "ﾜ"),    foreignButton("外人"),
    };
    return buttons;
}

bool isLatinName(std::string_view displayName)
{
    static const std::string a = sj("Ａ"), z = sj("Ｚ");
    const std::string_view head = displayName.substr(0, 2);
    return head.size() == 2 && head >= a && head <= z;
}

bool matchesFilter(std::string_view kanaName, std::string_view displayName, const TKanaFilter &filter)
{
    if (filter.foreign)
        return isLatinName(displayName);
    return !kanaName.empty() && filter.firstChars.find(kanaName.front()) != std::string::npos;
}

std::string jockeyListEntry(const formats::TJockeyDetailRec &jockey)
{
    return personEntry(jockey.get(JockeyDetailFields::DisplayName)) +
           std::string(jockey.get(JockeyDetailFields::Affiliation));
}

std::string trainerListEntry(const formats::TTrainerDetailRec &trainer)
{
    return personEntry(trainer.get(TrainerDetailFields::DisplayName));
}

std::vector<TListEntry> FillJockeyList(const std::vector<formats::TJockeyDetailRec> &jockeys,
                                       const TKanaFilter &filter)
{
    return fillList(jockeys, filter, jockeyListEntry);
}

std::vector<TListEntry> FillTrainerList(const std::vector<formats::TTrainerDetailRec> &trainers,
                                        const TKanaFilter &filter)
{
    return fillList(trainers, filter, trainerListEntry);
}

std::optional<std::size_t> findJockey(const std::vector<formats::TJockeyDetailRec> &jockeys, std::string_view text)
{
    return findByEntry(jockeys, text, jockeyListEntry);
}

std::optional<std::size_t> findTrainer(const std::vector<formats::TTrainerDetailRec> &trainers,
                                       std::string_view text)
{
    return findByEntry(trainers, text, trainerListEntry);
}

std::optional<std::size_t> findJockeyByCode(const std::vector<formats::TJockeyDetailRec> &jockeys,
                                            std::string_view code)
{
    return findByCode(jockeys, code);
}

std::optional<std::size_t> findTrainerByCode(const std::vector<formats::TTrainerDetailRec> &trainers,
                                             std::string_view code)
{
    return findByCode(trainers, code);
}

std::string listCaption(std::string_view listText)
{
    return std::string(cp932::cutBytes(listText, 12));
}

} // namespace zorbe
