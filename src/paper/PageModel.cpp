#include "paper/PageModel.h"

#include "platform/Cp932.h"
#include "platform/Fields.h"
#include "shell/LabelTables.h"

#include <cmath>
#include <cstdint>

namespace zorbe {

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > 2147483647 || result < -2147483647)
        return -1;
    return static_cast<int>(result);
}

TRaceSpan makeRaceSpan(int race, const std::array<int, 12> &runnerCounts)
{
    auto count = [&](int r) { return r >= 0 && r < 12 ? runnerCounts[static_cast<std::size_t>(r)] : 0; };
    TRaceSpan span;
    span.race = race;
    for (int r = 0; r < race && r < 12; ++r)
        span.start += count(r);
    span.end = span.start + count(race);
    span.start2 = span.end;
    span.end2 = span.start2 + count(race + 1);
    return span;
}

TLayoutParams &pageParams()
{
    static TLayoutParams params;
    return params;
}

TRaceSpan &pageSpan()
{
    static TRaceSpan span;
    return span;
}

int mmToDevice(int mm, int dpi, double factor, int origin)
{
    // Extended precision and round-to-nearest-even, as the page
    // coordinates have always been computed.
    const long double units = static_cast<long double>(static_cast<std::int64_t>(mm) * dpi) / 25.4L *
                              static_cast<long double>(factor);
    return static_cast<int>(std::nearbyintl(units)) - origin;
}

int MmToX(const TPageContext &ctx, int mm)
{
    return mmToDevice(mm, ctx.dpi, pageParams().hFactor, ctx.originX);
}

int MmToY(const TPageContext &ctx, int mm)
{
    return mmToDevice(mm, ctx.dpi, pageParams().vFactor, ctx.originY);
}

bool isGothic(std::string_view fontSetting)
{
    return fontSetting != "0";
}

std::string pageFaceName(std::string_view fontSetting)
{
    return isGothic(fontSetting) ? sj("ＭＳ Ｐゴシック") : sj("ＭＳ Ｐ明朝");
}

void SelectPageFont(const TPageContext &ctx, int sizePt, bool vertical, std::string_view fontSetting)
{
    ctx.canvas.setFontResolution(ctx.dpi);
    const std::string face = vertical ? "@" + pageFaceName(fontSetting) : pageFaceName(fontSetting);
    ctx.canvas.createFont(face, -MulDiv(sizePt, ctx.dpi, 72), vertical ? 2700 : 0, 400);
}

void SelectHorizontalFont(const TPageContext &ctx, int sizePt, bool bold, std::string_view fontSetting)
{
    ctx.canvas.setFontName(pageFaceName(fontSetting));
    ctx.canvas.setFontSize(sizePt);
    ctx.canvas.setFontBold(bold);
}

std::array<Rgb, 9> BracketColours(std::string_view colorSetting, Rgb blueBracket)
{
    std::array<Rgb, 9> colours;
    colours.fill(kBlack);
    if (colorSetting != "1")
        return colours;
    colours[1] = {128, 128, 128};
    colours[2] = kBlack;
    colours[3] = {255, 0, 0};
    colours[4] = blueBracket;
    colours[5] = {255, 221, 0};
    colours[6] = {0, 128, 0};
    colours[7] = {255, 128, 0};
    colours[8] = {255, 0, 255};
    return colours;
}

const std::array<std::string, 9> &BracketWords()
{
    static const std::array<std::string, 9> words{"",        sj("白"), sj("黒"), sj("赤"), sj("青"),
                                                  sj("黄"), sj("緑"), sj("橙"), sj("桃")};
    return words;
}

std::string bracketLabel(const LabelTables &labels, int bracket)
{
    if (bracket < 1 || bracket > 8)
        return {};
    return labels.CircledNumberText[static_cast<std::size_t>(bracket)] + " " +
           BracketWords()[static_cast<std::size_t>(bracket)];
}

namespace {

// Runners in bracket b (1-8) of a field of n runners.
int bracketSize(int n, int b)
{
    if (n <= 0 || b < 1 || b > 8)
        return 0;
    if (n <= 8)
        return b <= n ? 1 : 0;
    if (n <= 16)
        return b <= 16 - n ? 1 : 2;
    if (n == 17)
        return b <= 7 ? 2 : 3;
    return b <= 6 ? 2 : 3;   // 18 (the most a field holds)
}

} // namespace

TBracketRunners bracketRunners(int runners, int bracket)
{
    const int size = bracketSize(runners, bracket);
    if (size == 0)
        return {};
    int first = 1;
    for (int b = 1; b < bracket; ++b)
        first += bracketSize(runners, b);
    return {first, first + size - 1};
}

int bracketOf(int runners, int number)
{
    for (int b = 1; b <= 8; ++b) {
        const TBracketRunners r = bracketRunners(runners, b);
        if (number >= r.first && number <= r.last)
            return b;
    }
    return 0;
}

std::optional<PageStyle> pageStyleOf(std::string_view sinbun)
{
    if (sinbun == "0")
        return PageStyle::Vertical;
    if (sinbun == "1")
        return PageStyle::Horizontal;
    if (sinbun == "2")
        return PageStyle::Programme;
    return std::nullopt;
}

namespace {

enum class PastRaces { Three, Four, Five };

// Insatu "1" five past races, "0" four, "2" three; any other value is
// taken as the setting's default, five.
PastRaces pastRacesOf(std::string_view insatu)
{
    if (insatu == "0")
        return PastRaces::Four;
    if (insatu == "2")
        return PastRaces::Three;
    return PastRaces::Five;
}

void setGeometry(TLayoutParams &p, PastRaces past)
{
    switch (past) {
    case PastRaces::Five:
        p.pastLast = 4, p.pastBase = 237, p.pastShift = 0, p.pageBottom = 240;
        break;
    case PastRaces::Four:
        p.pastLast = 3, p.pastBase = 209, p.pastShift = 28, p.pageBottom = 212;
        break;
    case PastRaces::Three:
        p.pastLast = 2, p.pastBase = 181, p.pastShift = 56, p.pageBottom = 184;
        break;
    }
}

// The vertical print scale k that fits the page's height on the sheet.
long double verticalK(PastRaces past)
{
    switch (past) {
    case PastRaces::Five:
        return 0.85L;
    case PastRaces::Four:
        return 0.965L;
    case PastRaces::Three:
        return 1.1L;
    }
    return 0.85L;
}

int editValue(const std::string &text, std::string_view name)
{
    return static_cast<int>(toInt(text, name));
}

// Scale and margins of a print path; the factors are formed in extended
// precision and stored as doubles.
void setPrintScale(TLayoutParams &p, const TPrintEdits &edits, long double hK, long double vK)
{
    const int vScale = editValue(edits.vScale, "縦 拡大/縮小（％）");
    const int hScale = editValue(edits.hScale, "横 拡大/縮小（％）");
    p.hFactor = static_cast<double>(hScale * hK * 0.01L);
    p.vFactor = static_cast<double>(vScale * vK * 0.01L);
    p.topMm = editValue(edits.topMm, "上余白");
    p.leftMm = editValue(edits.leftMm, "左余白");
}

int programmeFontReduce(const TPageSettings &s)
{
    return isGothic(s.font) ? 1 : 0;
}

} // namespace

TScreenSetup screenPageSetup(PageStyle style, const TPageSettings &settings, int zoom, int screenPpi)
{
    TScreenSetup setup;
    TLayoutParams &p = setup.params;
    p.hFactor = 1.0;
    p.vFactor = 0.985;
    p.thickPen = 2, p.thinPen = 1, p.rulePen = 2;
    p.blueBracket = {0, 0, 255};
    setGeometry(p, pastRacesOf(settings.insatu));
    setup.dpi = MulDiv(screenPpi, zoom, 72);
    const bool large = zoom > 75;
    if (style == PageStyle::Vertical) {
        p.topMm = 7, p.leftMm = 23;
        p.fontReduce = 1;
        setup.originX = large ? 86 : 80;
        setup.originY = large ? 22 : 18;
    } else {
        p.topMm = 22, p.leftMm = 7;
        p.fontReduce = style == PageStyle::Horizontal ? 0 : programmeFontReduce(settings);
        p.pastFont = 7;
        setup.originX = 15;
        setup.originY = large ? 87 : 77;
    }
    return setup;
}

namespace {

// The print button's parameters, with the pens and bracket colour of the
// path left to the caller.
TLayoutParams printParams(PageStyle style, const TPageSettings &settings, const TPrintEdits &edits)
{
    TLayoutParams p;
    const PastRaces past = pastRacesOf(settings.insatu);
    setGeometry(p, past);
    switch (style) {
    case PageStyle::Vertical:
        setPrintScale(p, edits, 1.0L, verticalK(past));
        if (past == PastRaces::Five)
            p.fontReduce = isGothic(settings.font) ? 2 : 1;
        else
            p.fontReduce = isGothic(settings.font) ? 0 : 1;
        break;
    case PageStyle::Horizontal:
        setPrintScale(p, edits, 0.8L, 0.9L);
        p.fontReduce = 1;
        p.pastFont = 6;
        break;
    case PageStyle::Programme:
        setPrintScale(p, edits, 0.98L, 0.9L);
        p.fontReduce = programmeFontReduce(settings);
        p.pastFont = 6;
        break;
    }
    return p;
}

} // namespace

TLayoutParams displayPrintParams(PageStyle style, const TPageSettings &settings, const TPrintEdits &edits)
{
    TLayoutParams p = printParams(style, settings, edits);
    p.thickPen = 6, p.thinPen = 2, p.rulePen = 6;
    p.blueBracket = {0, 0, 255};
    return p;
}

TLayoutParams batchPrintParams(PageStyle style, const TPageSettings &settings, const TPrintEdits &edits)
{
    TLayoutParams p = printParams(style, settings, edits);
    p.thickPen = 5, p.thinPen = 2, p.rulePen = 6;
    p.pastFont = 6;
    p.blueBracket = {0, 255, 255};
    return p;
}

TPopupPrint popupPrintParams(std::optional<PageStyle> style, const TPageSettings &settings,
                             const TPrintEdits &edits)
{
    TPopupPrint result;
    TLayoutParams &p = result.params;
    const PastRaces past = settings.insatu == "1" ? PastRaces::Five : PastRaces::Four;
    setGeometry(p, past);
    p.thickPen = 6, p.thinPen = 2, p.rulePen = 6;
    p.blueBracket = {0, 0, 255};
    if (style == PageStyle::Vertical) {
        result.printedStyle = PageStyle::Vertical;
        setPrintScale(p, edits, 1.0L, verticalK(past));
        if (past == PastRaces::Five)
            p.fontReduce = isGothic(settings.font) ? 3 : 2;
        else
            p.fontReduce = isGothic(settings.font) ? 2 : 1;
    } else {
        result.printedStyle = PageStyle::Horizontal;
        setPrintScale(p, edits, 0.8L, 0.9L);
        p.fontReduce = 1;
        p.pastFont = 6;
    }
    return result;
}

} // namespace zorbe
