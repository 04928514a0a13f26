#include "paper/qt/QtPrinter.h"

#include "paper/qt/QtPages.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace zorbe {

namespace {

bool defaultSetupDialog(QPrinter &printer, bool toPdf)
{
    QWidget *parent = QApplication::activeWindow();
    if (toPdf) {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

WinPath native(const std::filesystem::path &path)
{
    return WinPath::fromNative(path);
}

// name.pdf, or the first of "name (2).pdf", "name (3).pdf", ... not there.
std::filesystem::path freeFileName(const std::filesystem::path &folder, const std::string &fileName)
{
    std::filesystem::path candidate = folder / std::filesystem::path(fileName);
    const std::string stem = fileName.substr(0, fileName.size() - 4);
    for (int n = 2; files::exists(native(candidate)); ++n)
        candidate = folder / std::filesystem::path(stem + " (" + std::to_string(n) + ").pdf");
    return candidate;
}

} // namespace

std::string pdfFileName(const std::string &titleCp932)
{
    const QString title = toQString(titleCp932);
    QString name;
    for (const QChar c : title) {
        const bool forbidden = c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("\\/:*?\"<>|").contains(c);
        name += forbidden ? QChar(u'_') : c;
    }
    while (!name.isEmpty() && (name.front() == u'.' || name.front().isSpace()))
        name.remove(0, 1);
    name = name.left(100);
    while (!name.isEmpty() && (name.back() == u'.' || name.back().isSpace()))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("print");
    return (name + QStringLiteral(".pdf")).toStdString();
}

// A job on the QPrinter. For PDF output the file is written under a
// temporary name and takes its own name only when the job ended well, so an
// aborted or failed job leaves no half-written file behind.
class QtPrinter::Job : public TPrintJob
{
public:
    Job(QtPrinter &owner, const QString &title, std::filesystem::path part, std::filesystem::path target)
        : m_owner(owner)
        , m_job(*owner.m_printer, title)
        , m_part(std::move(part))
        , m_target(std::move(target))
    {
    }
    ~Job() override
    {
        if (!m_finished)
            abort();
    }
    bool active() const { return m_job.isActive(); }

    TPageContext context() override { return m_job.context(); }

    bool end() override
    {
        m_finished = true;
        if (!m_job.end()) {
            m_owner.m_error = "印刷できませんでした（プリンターがエラーを返しました）。";
            removePart();
            return false;
        }
        if (m_target.empty())
            return true;
        try {
            files::rename(native(m_part), native(m_target));
        } catch (const files::FileError &e) {
            m_owner.m_error = e.what();
            removePart();
            return false;
        }
        m_owner.pdfWritten(m_target);
        return true;
    }

    void abort() override
    {
        m_finished = true;
        m_job.abort();
        removePart();
    }

private:
    void removePart()
    {
        if (m_part.empty())
            return;
        try {
            files::remove(native(m_part));
        } catch (const files::FileError &) {
            // Only a leftover temporary file; the job's result is reported.
        }
    }

    QtPrinter &m_owner;
    PrinterJob m_job;
    std::filesystem::path m_part;
    std::filesystem::path m_target;
    bool m_finished = false;
};

QtPrinter::QtPrinter()
    : m_toPdf(QPrinterInfo::availablePrinters().isEmpty())
{
    if (m_toPdf) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    } else {
        QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
        if (chosen.isNull())
            chosen = QPrinterInfo::availablePrinters().front();
        m_printer = std::make_unique<QPrinter>(chosen, QPrinter::HighResolution);
    }
    configure();
}

QtPrinter::QtPrinter(std::filesystem::path pdfFolder, bool keepEarlierFiles)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_toPdf(true)
    , m_fixedFolder(std::move(pdfFolder))
    , m_keepEarlier(keepEarlierFiles)
{
    configure();
}

QtPrinter::~QtPrinter() = default;

void QtPrinter::configure()
{
    if (m_toPdf)
        m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    m_printer->setCreator(QStringLiteral("zorbe"));
}

std::filesystem::path QtPrinter::pdfFolder() const
{
    return m_fixedFolder.empty() ? zorbeHome() / "print" : m_fixedFolder;
}

QSizeF QtPrinter::pageSizeInches() const
{
    return m_printer->pageLayout().fullRect(QPageLayout::Inch).size();
}

std::unique_ptr<TPrintJob> QtPrinter::beginJob(const std::string &title)
{
    m_error.clear();
    m_printer->setPageOrientation(m_sheet == SheetOrientation::Portrait ? QPageLayout::Portrait
                                                                        : QPageLayout::Landscape);
    if (m_toPdf)
        return beginPdfJob(title);
    auto job = std::make_unique<Job>(*this, toQString(title), std::filesystem::path(), std::filesystem::path());
    if (!job->active()) {
        m_error = "プリンター「" + m_printer->printerName().toStdString() + "」で印刷を開始できませんでした。";
        return nullptr;
    }
    return job;
}

std::unique_ptr<TPrintJob> QtPrinter::beginPdfJob(const std::string &title)
{
    const std::filesystem::path folder = pdfFolder();
    std::filesystem::path target;
    try {
        files::makeDirectories(native(folder));
        const std::string name = pdfFileName(title);
        target = m_keepEarlier ? freeFileName(folder, name) : folder / std::filesystem::path(name);
    } catch (const files::FileError &e) {
        m_error = e.what();
        return nullptr;
    }
    std::filesystem::path part = target;
    part += ".part";
    m_printer->setOutputFileName(QString::fromStdString(part.string()));
    auto job = std::make_unique<Job>(*this, toQString(title), part, target);
    if (!job->active()) {
        m_error = "PDFファイル「" + target.string() + "」を作成できませんでした。";
        return nullptr;
    }
    return job;
}

void QtPrinter::pdfWritten(const std::filesystem::path &file)
{
    m_lastPdf = file;
    if (m_noticeGiven || !m_pdfNotice)
        return;
    m_noticeGiven = true;
    m_pdfNotice("プリンターがないため、印刷はPDFファイルに保存しました。\n保存先：" + pdfFolder().string());
}

bool QtPrinter::setup()
{
    const SetupDialog &dialog = m_setupDialog ? m_setupDialog : SetupDialog(defaultSetupDialog);
    return dialog(*m_printer, m_toPdf);
}

} // namespace zorbe
