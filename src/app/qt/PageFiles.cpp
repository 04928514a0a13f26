#include "app/cli/PageFiles.h"

#include "paper/qt/QtPages.h"
#include "paper/qt/QtPrinter.h"
#include "platform/Cp932.h"
#include "platform/qt/QtFonts.h"
#include "shell/qt/DesktopApp.h"

#include <QApplication>
#include <QFontMetrics>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>
#include <string_view>

namespace zorbe::cli {
namespace {

QString qtPath(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}

// A subcommand prints only its own messages: Qt's notes about the
// platform, the runtime folder or fonts are not the user's business on the
// command line. Critical and fatal messages still reach standard error.
void headlessMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "zorbe: %s\n", text.toLocal8Bit().constData());
}

// Drawing needs an application object (fonts, painters). A subcommand
// never needs a window, so it draws on the offscreen platform unless the
// user chose one. The object stays for the rest of the process. The
// environment is set apart from the application, before any other thread
// runs: setenv is not safe beside other threads.
void chooseHeadlessPlatform()
{
    if (QCoreApplication::instance())
        return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qInstallMessageHandler(headlessMessages);
}

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    chooseHeadlessPlatform();
    static int argc = 1;
    static char name[] = "zorbe";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    (void)app;
}

bool hasValue(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

bool pagePicturesAvailable()
{
    return true;
}

void startDrawingAlongside(const std::function<void()> &work)
{
    chooseHeadlessPlatform();
    std::exception_ptr failure;
    std::thread worker([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    ensureApplication();
    // The page faces opened once: the font files read and their first
    // glyphs made, which the first page would otherwise wait for.
    for (const char *face : {"ＭＳ Ｐ明朝", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ ゴシック"})
        QFontMetrics(windowsFont(QString::fromUtf8(face), 16)).horizontalAdvance(QStringLiteral("馬"));
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

std::string writePagePng(int width, int height, int dpi, const ScreenDrawing &draw, const std::filesystem::path &file)
{
    ensureApplication();
    ImagePage page(QSize(width, height), dpi, 0, 0);
    draw(page.canvas());
    if (!page.save(qtPath(file)))
        return "PNGファイルを書けません: " + file.string();
    return {};
}

std::string writePrintedPdf(const std::string &titleCp932, const PrintDrawing &draw, const std::filesystem::path &file,
                            SheetOrientation sheet)
{
    ensureApplication();
    // The job on the printer of the windows, which writes PDF files into a
    // folder under the job's title: a folder of its own beside the target,
    // then the file moved into place.
    const std::filesystem::path folder = file.parent_path() / (".zorbe-render-" + std::to_string(::getpid()));
    QtPrinter printer(folder);
    printer.setSheetOrientation(sheet);
    std::string error;
    if (auto job = printer.beginJob(titleCp932)) {
        try {
            draw(job->context());
        } catch (...) {
            job->abort();
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
            throw;
        }
        if (!job->end())
            error = printer.errorText();
    } else {
        error = printer.errorText();
    }
    std::error_code ec;
    if (error.empty()) {
        std::filesystem::rename(printer.lastPdfFile(), file, ec);
        if (ec)
            error = "PDFファイルを書けません: " + file.string();
    }
    std::filesystem::remove_all(folder, ec);
    return error;
}

std::unique_ptr<TPrinter> makePdfFolderPrinter(const std::filesystem::path &folder)
{
    ensureApplication();
    return std::make_unique<QtPrinter>(folder);
}

std::string pdfFileNameOf(const std::string &titleCp932)
{
    return pdfFileName(titleCp932);
}

bool displayAvailable()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view chosen = platform ? platform : "";
    if (chosen.starts_with("offscreen") || chosen.starts_with("minimal"))
        return false;
    return hasValue("DISPLAY") || hasValue("WAYLAND_DISPLAY");
}

int runDesktopOnDay(const WinPath &raceCardFile)
{
    static int argc = 1;
    static char name[] = "zorbe";
    static char *argv[] = {name, nullptr};
    DesktopStart start;
    start.newspaperDay = raceCardFile;
    return runDesktopApp(argc, argv, start);
}

} // namespace zorbe::cli
