#include "app/cli/PageOutput.h"

#include "paper/RecordingCanvas.h"
#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

namespace zorbe::cli {

std::optional<PageOutput> pageOutputOf(const std::string &file)
{
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos)
        return std::nullopt;
    std::string ext = file.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == "png")
        return PageOutput::Png;
    if (ext == "pdf")
        return PageOutput::Pdf;
    if (ext == "txt")
        return PageOutput::Text;
    return std::nullopt;
}

namespace {

std::string writeOutput(const WindowPage &page, PageOutput output, const WinPath &file)
{
    switch (output) {
    case PageOutput::Text: {
        RecordingCanvas canvas(page.dpi);
        page.screen(canvas);
        files::writeAll(file, canvas.toText());
        return {};
    }
    case PageOutput::Png:
        return writePagePng(page.width, page.height, page.dpi, page.screen, toNative(file));
    case PageOutput::Pdf:
        return writePrintedPdf(page.printTitle, page.printed, toNative(file), page.printSheet);
    }
    return {};
}

} // namespace

std::string writeWindowPage(const WindowPage &page, PageOutput output, const WinPath &file)
{
    std::string error;
    try {
        error = writeOutput(page, output, file);
    } catch (const std::exception &e) {
        error = e.what();
    }
    if (!error.empty()) {
        // A page that could not be drawn whole is not left behind.
        std::error_code ec;
        std::filesystem::remove(toNative(file), ec);
    }
    return error;
}

std::optional<PageOutput> checkPageOutput(const std::string &out, const char *usage, Streams &streams, int &exitCode)
{
    if (out.empty()) {
        exitCode = usageError(streams, usage, "--out がありません");
        return std::nullopt;
    }
    const auto output = pageOutputOf(out);
    if (!output) {
        exitCode = usageError(streams, usage, "出力ファイルは .png、.pdf または .txt にしてください: " + out);
        return std::nullopt;
    }
    if (*output != PageOutput::Text && !pagePicturesAvailable()) {
        streams.err << "zorbe: " << kNoPicturesMessage << '\n';
        exitCode = kExitFailure;
        return std::nullopt;
    }
    return output;
}

} // namespace zorbe::cli
