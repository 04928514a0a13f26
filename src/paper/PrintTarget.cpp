#include "paper/PrintTarget.h"

#include "paper/RecordingCanvas.h"

namespace zorbe {
namespace {

class RecordedJob : public TPrintJob
{
public:
    RecordedJob(std::vector<RecordingPrinter::Job> &jobs, std::size_t index, int dpi, int originX, int originY)
        : m_jobs(jobs), m_index(index), m_dpi(dpi), m_originX(originX), m_originY(originY)
    {
    }
    TPageContext context() override { return {*job().canvas, m_originX, m_originY, m_dpi}; }
    bool end() override
    {
        job().ended = true;
        return true;
    }
    void abort() override { job().aborted = true; }

private:
    // The printer's list may grow while a job is open; the job is found by
    // its index each time.
    RecordingPrinter::Job &job() { return m_jobs[m_index]; }

    std::vector<RecordingPrinter::Job> &m_jobs;
    std::size_t m_index;
    int m_dpi, m_originX, m_originY;
};

} // namespace

RecordingPrinter::RecordingPrinter(int dpi, int originX, int originY)
    : m_dpi(dpi), m_originX(originX), m_originY(originY)
{
}

RecordingPrinter::~RecordingPrinter() = default;

std::unique_ptr<TPrintJob> RecordingPrinter::beginJob(const std::string &title)
{
    m_jobs.push_back({title, std::make_unique<RecordingCanvas>(m_dpi), false, false, m_sheet});
    return std::make_unique<RecordedJob>(m_jobs, m_jobs.size() - 1, m_dpi, m_originX, m_originY);
}

} // namespace zorbe
