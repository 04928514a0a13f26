#include "data/qt/TForm7.h"

#include "platform/Desktop.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

namespace zorbe {

// The desktop the conversions see: everything goes to the real desktop, but
// message boxes are held until release(), so that they come up over the
// main window and not over the conversion window that is about to go.
class HeldMessages : public DesktopServices
{
public:
    explicit HeldMessages(DesktopServices &desktop) : m_desktop(desktop) {}

    bool openWithDefaultProgram(const std::string &target) override
    {
        return m_desktop.openWithDefaultProgram(target);
    }
    bool moveToTrash(const WinPath &file) override { return m_desktop.moveToTrash(file); }
    std::optional<WinPath> openFileDialog(const FileDialog &d) override { return m_desktop.openFileDialog(d); }
    std::optional<WinPath> saveFileDialog(const FileDialog &d) override { return m_desktop.saveFileDialog(d); }
    void showMessage(const std::string &text) override { m_held.push_back({false, text}); }
    void showError(const std::string &text) override { m_held.push_back({true, text}); }
    void setBusy(bool busy) override { m_desktop.setBusy(busy); }

    void release()
    {
        auto held = std::move(m_held);
        m_held.clear();
        for (const auto &[error, text] : held)
            error ? m_desktop.showError(text) : m_desktop.showMessage(text);
    }

private:
    DesktopServices &m_desktop;
    std::vector<std::pair<bool, std::string>> m_held;
};

TForm7::TForm7(ProfileFile &settings, DesktopServices &desktop, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_desktop(desktop)
    , m_hooks(std::move(hooks))
    , m_held(std::make_unique<HeldMessages>(desktop))
    , m_conversions(settings, *this, *m_held)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("データ変換"));
    setFixedSize(320, 70);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setGeometry(10, 8, 300, 22);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setGeometry(10, 38, 300, 20);
}

TForm7::~TForm7() = default;

// Runs a conversion with this window shown, then goes back to the main
// window; what the conversion had to say is shown after that.
template <typename Run> bool TForm7::runConversion(Run run)
{
    m_reports.clear();
    if (m_hooks.showSelf)
        m_hooks.showSelf();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    bool ok = true;
    try {
        run();
    } catch (const std::exception &e) {
        ok = false;
        m_held->showError(e.what());
    }
    QApplication::restoreOverrideCursor();
    if (!m_reports.empty()) {
        std::string text = "読み込んだファイルに不正なデータがありました:";
        for (const auto &r : m_reports)
            text += "\n" + r;
        m_held->showMessage(text);
    }
    if (m_hooks.showMain)
        m_hooks.showMain();
    m_held->release();
    return ok;
}

bool TForm7::convertEntries(const std::vector<DownloadedDay> &days)
{
    return runConversion([&] { m_conversions.convertEntries(days); });
}

bool TForm7::convertResults(const std::vector<DownloadedDay> &days)
{
    return runConversion([&] { m_conversions.convertResults(days); });
}

void TForm7::setProgressMaximum(int maximum)
{
    m_progressBar->setMaximum(maximum > 0 ? maximum : 1);
}

void TForm7::setProgressPosition(int position)
{
    m_progressBar->setValue(std::min(position, m_progressBar->maximum()));
}

void TForm7::setCaption(const std::string &text)
{
    m_caption->setText(fromUtf8Text(text));
}

void TForm7::report(const std::string &text)
{
    m_reports.push_back(text);
}

void TForm7::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm7::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_hooks.showMain)
        m_hooks.showMain();
    else
        hide();
}

} // namespace zorbe
