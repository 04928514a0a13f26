#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "app/cli/PageFiles.h"
#include "paper/PagePaths.h"
#include "paper/RaceSelection.h"
#include "paper/RecordingCanvas.h"
#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "render RDTFILE --race N --out FILE.png|FILE.pdf|FILE.txt [--zoom Z]";

enum class Output { Png, Pdf, Text };

std::optional<Output> outputOf(const std::string &file)
{
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos)
        return std::nullopt;
    std::string ext = file.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == "png")
        return Output::Png;
    if (ext == "pdf")
        return Output::Pdf;
    if (ext == "txt")
        return Output::Text;
    return std::nullopt;
}

// What the recording canvas saw of the screen page, one line per call.
void writeRecording(NewspaperDay &day, int zoom, const WinPath &file)
{
    RecordingCanvas canvas(ScreenSetupFor(*day.paper, zoom, kScreenPpi).dpi);
    DrawScreenPage(canvas, *day.paper, zoom, kScreenPpi);
    files::writeAll(file, canvas.toText());
}

// Draws the page into the file; "" or why it failed.
std::string writePage(NewspaperDay &day, Output output, int zoom, const WinPath &file)
{
    switch (output) {
    case Output::Text:
        writeRecording(day, zoom, file);
        return {};
    case Output::Png:
        return writeScreenPng(*day.paper, zoom, toNative(file));
    case Output::Pdf:
        return writeDisplayPrintPdf(*day.paper, readPrintEdits(day.settingsFile, day.paper->settings.style()),
                                    toNative(file));
    }
    return {};
}

} // namespace

// One newspaper page in the style of the settings: as the display window
// paints it (PNG, or the drawing calls as text) or as its print button
// prints it (PDF). A race-programme page is race N and race N + 1, so N
// must be odd there.
int runRender(Args args, Streams &streams)
{
    std::string file, out;
    std::optional<int> race;
    int zoom = 110;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &opt = args[i];
        if (opt.starts_with("--") && i + 1 >= args.size())
            return usageError(streams, kUsage, "値がありません: " + opt);
        if (opt == "--race") {
            race = parseInt(args[++i], 1, TRaceCard::kRaces);
            if (!race)
                return usageError(streams, kUsage, "レース番号は 1 から 12 で指定してください: " + args[i]);
        } else if (opt == "--zoom") {
            const auto z = parseInt(args[++i], 65, 110);
            if (!z)
                return usageError(streams, kUsage, "表示倍率は 65 から 110 で指定してください: " + args[i]);
            zoom = *z;
        } else if (opt == "--out") {
            out = args[++i];
        } else if (file.empty() && !opt.starts_with("--")) {
            file = opt;
        } else {
            return usageError(streams, kUsage, "不明な指定です: " + opt);
        }
    }
    if (file.empty())
        return usageError(streams, kUsage, "出馬表ファイルがありません");
    if (!race)
        return usageError(streams, kUsage, "--race がありません");
    if (out.empty())
        return usageError(streams, kUsage, "--out がありません");
    const auto output = outputOf(out);
    if (!output)
        return usageError(streams, kUsage, "出力ファイルは .png、.pdf または .txt にしてください: " + out);
    if (*output != Output::Text && !pagePicturesAvailable()) {
        streams.err << "zorbe: " << kNoPicturesMessage << '\n';
        return kExitFailure;
    }

    const WinPath rdt = pathArgument(file);
    if (!files::isFile(rdt)) {
        streams.err << "zorbe: 出馬表ファイルがありません: " << file << '\n';
        return kExitFailure;
    }
    const WinPath target = pathArgument(out);
    StreamDesktop desktop(streams.err);
    std::unique_ptr<NewspaperDay> day;
    try {
        day = loadNewspaperDay(rdt, desktop);
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    // A race-programme page starts from an odd race and holds the next.
    if (day->paper->settings.style() == PageStyle::Programme && *race % 2 == 0)
        return usageError(streams, kUsage,
                          "JRAプログラム風の新聞は奇数レースとその次のレースで1ページです。--race には奇数を指定してください（" +
                              std::to_string(*race - 1) + "R が " + std::to_string(*race) + "R も載せます）: " +
                              std::to_string(*race));
    if (*race > day->card->RaceCount) {
        streams.err << "zorbe: " << *race << "レースはこのファイルにありません（" << day->card->RaceCount
                    << "レースまで）\n";
        return kExitFailure;
    }
    day->selectRace(*race);
    std::string error;
    try {
        error = writePage(*day, *output, zoom, target);
    } catch (const std::exception &e) {
        error = e.what();
    }
    if (!error.empty()) {
        // A page that could not be drawn whole is not left behind.
        std::error_code ec;
        std::filesystem::remove(toNative(target), ec);
        streams.err << "zorbe: " << error << '\n';
        return kExitFailure;
    }
    streams.out << "書き出しました: " << out << '\n';
    return kExitOk;
}

} // namespace zorbe::cli
