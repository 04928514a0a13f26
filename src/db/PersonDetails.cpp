#include "db/PersonDetails.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "platform/Files.h"

#include <span>

namespace zorbe {
namespace {

using formats::Field;
using formats::Kind;

// The name path of the first element of fields (and the blocks nested in
// them) that must hold digits but does not, with its bytes; "" when all do.
std::string firstNonDigits(std::string_view record, std::span<const Field *const> fields, std::size_t base,
                           std::string &bytes)
{
    for (const Field *f : fields) {
        for (std::size_t i = 0; i < f->count; ++i) {
            const std::size_t at = base + f->offset + f->width * i;
            const std::string_view element = record.substr(at, f->width);
            if (f->kind == Kind::Digits && !isDigits(element)) {
                bytes = std::string(element);
                return std::string(f->name);
            }
            if (f->kind == Kind::Block) {
                const std::string inner = firstNonDigits(record, f->sub->fields, at, bytes);
                if (!inner.empty())
                    return std::string(f->name) + "の" + inner;
            }
        }
    }
    return {};
}

// Dates the pages compute with: eight digits.
std::string firstBadDate(std::string_view record, const std::vector<const Field *> &dates, std::string &bytes)
{
    for (const Field *f : dates) {
        const std::string_view date = record.substr(f->offset, f->width);
        if (date.size() != 8 || !isDigits(date)) {
            bytes = std::string(date);
            return std::string(f->name);
        }
    }
    return {};
}

// The fields a line must hold digits in: the counts and amounts (with the
// blocks of counts in them) and the dates.
struct Checks
{
    std::vector<const Field *> counts;
    std::vector<const Field *> dates;
};

template <class Rec>
TDetailFile<Rec> readDetails(std::string_view bytes, std::string_view fileName, std::size_t capacity,
                             const Checks &checks, const char *person)
{
    TDetailFile<Rec> out;
    const std::string file(fileName);
    std::size_t lineNo = 0, overflow = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t newline = bytes.find('\n', pos);
        const std::size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        ++lineNo;
        if (out.records.size() >= capacity) {
            ++overflow;
            continue;
        }
        const std::string where = file + " " + std::to_string(lineNo) + "行目: ";
        if (line.size() != Rec::kLength || line.substr(Rec::kLength - 2) != "\r\n") {
            out.problems.push_back(where + "1行が " + std::to_string(Rec::kLength) + " バイト（改行を含む）ではありません（" +
                                   std::to_string(line.size()) + " バイト）。この行は読み飛ばしました。");
            continue;
        }
        std::string value;
        std::string bad = firstNonDigits(line, checks.counts, 0, value);
        if (bad.empty())
            bad = firstBadDate(line, checks.dates, value);
        if (!bad.empty()) {
            out.problems.push_back(where + bad + "が数字ではありません（「" + cp932::toUtf8(value) + "」）。この" + person +
                                   "は一覧に入れませんでした。");
            continue;
        }
        out.records.push_back(Rec::fromBytes(line));
    }
    if (overflow > 0)
        out.problems.push_back(file + ": " + std::to_string(capacity) + "人を超える " + std::to_string(overflow) +
                               " 行は読み込みませんでした（" + std::to_string(capacity) + "人まで）。");
    return out;
}

} // namespace

TJockeyDetails ReadJockeyDetails(std::string_view bytes, std::string_view fileName)
{
    using F = formats::JockeyDetailFields;
    const Checks checks{{&F::ThisYearPrize, &F::LastYearPrize, &F::CareerFlat, &F::CareerJump, &F::ThisYear,
                         &F::LastYear},
                        {&F::DataDate, &F::BirthDate}};
    return readDetails<formats::TJockeyDetailRec>(bytes, fileName, kJockeyCapacity, checks, "騎手");
}

TTrainerDetails ReadTrainerDetails(std::string_view bytes, std::string_view fileName)
{
    using F = formats::TrainerDetailFields;
    const Checks checks{{&F::ThisYearPrize, &F::LastYearPrize, &F::CareerFlat, &F::CareerJump, &F::ThisYear,
                         &F::LastYear},
                        {&F::DataDate, &F::BirthDate}};
    return readDetails<formats::TTrainerDetailRec>(bytes, fileName, kTrainerCapacity, checks, "調教師");
}

namespace {

template <class Details, class Reader>
std::optional<Details> loadDetails(const WinPath &dataFolder, const char *name, Reader read)
{
    const WinPath file = dataFolder / name;
    const auto bytes = files::readIfExists(file);
    if (!bytes)
        return std::nullopt;
    return read(*bytes, name);
}

} // namespace

std::optional<TJockeyDetails> LoadJockeyDetails(const WinPath &dataFolder)
{
    return loadDetails<TJockeyDetails>(dataFolder, kJockeyDetailFile, ReadJockeyDetails);
}

std::optional<TTrainerDetails> LoadTrainerDetails(const WinPath &dataFolder)
{
    return loadDetails<TTrainerDetails>(dataFolder, kTrainerDetailFile, ReadTrainerDetails);
}

std::string problemsText(const std::vector<std::string> &problems)
{
    std::string text;
    for (const std::string &p : problems)
        text += (text.empty() ? "" : "\n") + p;
    return text;
}

} // namespace zorbe
