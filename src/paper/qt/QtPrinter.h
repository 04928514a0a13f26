#pragma once

#include "paper/PrintTarget.h"

#include <QSizeF>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QPrinter;

namespace zorbe {

// The windows' printer: the system's printer at high resolution, A4, on
// its side or upright as the page style asks (landscape until told). On a system without any printer each job is written as a PDF
// file into $ZORBE_HOME/print/ instead, named after the job title, and an
// earlier file of the same name is kept (the new one gets " (2)", " (3)",
// ...), as a second print would have given a second sheet.
class QtPrinter : public TPrinter
{
public:
    // The system's printer, or PDF files when none is installed.
    QtPrinter();
    // Always PDF files in pdfFolder (native path). keepEarlierFiles: a file
    // of the same name is kept and the new one numbered; otherwise it is
    // replaced.
    explicit QtPrinter(std::filesystem::path pdfFolder, bool keepEarlierFiles = false);
    ~QtPrinter() override;

    std::unique_ptr<TPrintJob> beginJob(const std::string &title) override;
    void setSheetOrientation(SheetOrientation orientation) override { m_sheet = orientation; }
    // The printer dialog (a printer) or the page set-up dialog (PDF files).
    bool setup() override;
    std::string errorText() const override { return m_error; }

    bool printsToPdf() const { return m_toPdf; }
    // Where PDF jobs go.
    std::filesystem::path pdfFolder() const;
    // The file the last PDF job wrote; empty before the first.
    const std::filesystem::path &lastPdfFile() const { return m_lastPdf; }
    // The physical sheet in inches, as now set up.
    QSizeF pageSizeInches() const;
    QPrinter &printer() { return *m_printer; }

    // The set-up dialog: gets the printer and whether it writes PDF files;
    // true when the user accepted. Tests replace it.
    using SetupDialog = std::function<bool(QPrinter &printer, bool toPdf)>;
    void setSetupDialog(SetupDialog dialog) { m_setupDialog = std::move(dialog); }
    // Told once, after the first PDF file was written, with a message for
    // the user (UTF-8) naming the folder.
    void setPdfNotice(std::function<void(const std::string &)> notice) { m_pdfNotice = std::move(notice); }

private:
    class Job;
    friend class Job;

    void configure();
    std::unique_ptr<TPrintJob> beginPdfJob(const std::string &title);
    void pdfWritten(const std::filesystem::path &file);

    std::unique_ptr<QPrinter> m_printer;
    bool m_toPdf = false;
    SheetOrientation m_sheet = SheetOrientation::Landscape;
    std::filesystem::path m_fixedFolder;   // empty: $ZORBE_HOME/print
    bool m_keepEarlier = true;
    std::filesystem::path m_lastPdf;
    std::string m_error;
    SetupDialog m_setupDialog;
    std::function<void(const std::string &)> m_pdfNotice;
    bool m_noticeGiven = false;
};

// A PDF file name for a print job title (cp932): the title as UTF-8 with
// path separators, characters Windows does not allow in a name and control
// characters turned into "_", no leading dots or blanks, at most 100
// characters, "print" when nothing is left, then ".pdf".
std::string pdfFileName(const std::string &titleCp932);

} // namespace zorbe
