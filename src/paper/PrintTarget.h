#pragma once

#include "paper/PageCanvas.h"

#include <memory>
#include <string>
#include <vector>

namespace zorbe {

class RecordingCanvas;

// How the sheet lies: the vertical page prints across an A4 sheet on its
// side, the horizontal and programme pages (bands of 15 mm per runner, up
// to 297 mm before scaling) down an upright one.
enum class SheetOrientation { Landscape, Portrait };

// One print job: a single page drawn on context(), then ended (sent to the
// printer or written out) or aborted.
class TPrintJob
{
public:
    virtual ~TPrintJob() = default;
    // dpi = the device's vertical resolution, origin = its printing offset.
    virtual TPageContext context() = 0;
    // Ends the job; false when the device reported an error.
    virtual bool end() = 0;
    // Drops the job (nothing more is printed).
    virtual void abort() = 0;
};

// The printer the newspaper prints on. The windows use the platform's
// printer (or a PDF file when none is installed), the subcommands a folder
// of PDF files, the tests a recording.
class TPrinter
{
public:
    virtual ~TPrinter() = default;
    // Starts a job titled title (cp932); nullptr when the printer cannot
    // start one (the printer has reported why through errorText()).
    virtual std::unique_ptr<TPrintJob> beginJob(const std::string &title) = 0;
    // The sheet the jobs begun from now on print on. A printer that cannot
    // turn its sheet ignores it; one that passes jobs on passes this on too.
    virtual void setSheetOrientation(SheetOrientation) {}
    // The printer set-up dialog; the chosen printer is used by later jobs.
    // false when cancelled (or when there is nothing to set up).
    virtual bool setup() { return false; }
    // Why the last beginJob or end failed, in Japanese (UTF-8).
    virtual std::string errorText() const { return {}; }
};

// A printer that records every job on a recording canvas, for tests and
// for the text dumps of the subcommands.
class RecordingPrinter : public TPrinter
{
public:
    struct Job
    {
        std::string title;              // cp932
        std::unique_ptr<RecordingCanvas> canvas;
        bool ended = false;
        bool aborted = false;
        SheetOrientation sheet = SheetOrientation::Landscape;
    };

    explicit RecordingPrinter(int dpi = 600, int originX = 0, int originY = 0);
    ~RecordingPrinter() override;

    std::unique_ptr<TPrintJob> beginJob(const std::string &title) override;
    void setSheetOrientation(SheetOrientation orientation) override { m_sheet = orientation; }
    const std::vector<Job> &jobs() const { return m_jobs; }

private:
    SheetOrientation m_sheet = SheetOrientation::Landscape;
    int m_dpi;
    int m_originX;
    int m_originY;
    std::vector<Job> m_jobs;
};

} // namespace zorbe
