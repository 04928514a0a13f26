#pragma once

#include "db/PersonDetails.h"
#include "db/PersonLists.h"
#include "db/PersonPages.h"
#include "db/qt/DbWindowSupport.h"
#include "shell/Settings.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QPainter;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace zorbe {

class DesktopServices;
class ProfileFile;
class TPrinter;

// What the jockey and the trainer database windows share: the page of the
// person the name list shows, the kana index that fills the list, printing
// the page, the printer set-up, the window's size and position kept in the
// settings, and the ways to the other database, the results and the main
// window. TForm9 and TForm13 say which file, list and page.
class PersonDbWindow : public QWidget
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> showMain;    // "タイトル" and closing
        std::function<void()> showOther;   // the other database window
        std::function<void()> loadResults; // the main window's results loader
    };

    // The window's own texts and names.
    struct Setup
    {
        const char *objectName;
        std::string section;               // settings section (cp932)
        TWindowGeometry defaults;          // client height, width, left, top
        const std::vector<TKanaButton> *kana;
        const char *printTitle;
        TPageBox pageBox;
        QString titleCaption, printCaption, setupCaption, otherCaption, resultsCaption;
        const char *printName, *setupName; // the buttons' object names
        bool otherStoresGeometry;          // whether the way to the other database stores it
        QString initialListText;
        int unusedButtonNumber = 0;        // a kana button number the window skips
        int buttonColumns = 1;             // of the command buttons under the index
    };

    // printer may be null (printing then reports that there is none).
    PersonDbWindow(Setup setup, ProfileFile &settingsFile, TPrinter *printer, DesktopServices &desktop, Hooks hooks,
                   QWidget *parent = nullptr);
    ~PersonDbWindow() override;

    // Each time the window is shown: the file read again (when it is there),
    // the first kana button pressed and its list filled.
    void FormActivate();

    // The kana button at index (in the order of the kana table).
    void pressKana(int index);

    // The person the list's text stands for: the chosen line's person, or
    // the first whose list text it is (letter case ignored).
    std::optional<std::size_t> selectedPerson() const;
    // Draws the selected person's page on canvas; false when the list's
    // text stands for nobody (nothing is drawn).
    bool drawPage(PageCanvas &canvas);

    QComboBox *comboBox1() const { return m_comboBox1; }
    QToolButton *kanaButton(int index) const { return m_kanaButtons.at(static_cast<std::size_t>(index)); }
    int kanaCount() const { return static_cast<int>(m_kanaButtons.size()); }
    QPushButton *button(const char *name) const;
    QScrollArea *scrollBox1() const { return m_scrollBox1; }
    QWidget *paintBox1() const { return m_paintBox1; }

public slots:
    void TitleClick();
    void PrintClick();
    void SetupClick();
    void OtherClick();
    void ResultsClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // Reads the detailed file of the data folder into the window's tables;
    // false when there is no file (the tables keep what they held). The
    // problems of the file go into problems.
    virtual bool loadDetails(std::vector<std::string> &problems) = 0;
    virtual std::vector<TListEntry> fillList(const TKanaFilter &filter) const = 0;
    virtual std::optional<std::size_t> findPerson(std::string_view listText) const = 0;
    virtual void drawPerson(const TPageContext &ctx, std::size_t person) const = 0;

private:
    QWidget *buildPanel();
    void showList(const std::vector<TListEntry> &entries);
    void listTextChanged();
    void PaintBox1Paint(QPainter &painter);
    void storeGeometry();
    void leaveFor(const std::function<void()> &next, bool storeFirst);

    Setup m_setup;
    ProfileFile &m_settingsFile;
    TPrinter *m_printer;
    DesktopServices &m_desktop;
    Hooks m_hooks;
    std::string m_reportedProblems;
    bool m_paintFailed = false;

    QScrollArea *m_scrollBox1 = nullptr;
    QWidget *m_paintBox1 = nullptr;
    QComboBox *m_comboBox1 = nullptr;
    QButtonGroup *m_kanaGroup = nullptr;
    std::vector<QToolButton *> m_kanaButtons;
    QWidget *m_panel = nullptr;
};

// The functions over the records of one detailed master file.
template <class Rec>
struct TPersonKind
{
    std::optional<TDetailFile<Rec>> (*load)(const WinPath &dataFolder);
    std::vector<TListEntry> (*fill)(const std::vector<Rec> &people, const TKanaFilter &filter);
    std::optional<std::size_t> (*find)(const std::vector<Rec> &people, std::string_view listText);
};

// A database window over the people of one detailed master file in the
// data folder of the settings.
template <class Rec>
class DetailDbWindow : public PersonDbWindow
{
public:
    DetailDbWindow(Setup setup, TPersonKind<Rec> kind, const SettingsSnapshot &settings, ProfileFile &settingsFile,
                   TPrinter *printer, DesktopServices &desktop, Hooks hooks, QWidget *parent)
        : PersonDbWindow(std::move(setup), settingsFile, printer, desktop, std::move(hooks), parent)
        , m_kind(kind)
        , m_settings(settings)
    {
    }

    const std::vector<Rec> &people() const { return m_people; }

protected:
    bool loadDetails(std::vector<std::string> &problems) override
    {
        auto details = m_kind.load(WinPath(m_settings.racedat));
        if (!details)
            return false;
        m_people = std::move(details->records);
        problems = std::move(details->problems);
        return true;
    }
    std::vector<TListEntry> fillList(const TKanaFilter &filter) const override { return m_kind.fill(m_people, filter); }
    std::optional<std::size_t> findPerson(std::string_view listText) const override
    {
        return m_kind.find(m_people, listText);
    }
    const SettingsSnapshot &settings() const { return m_settings; }

private:
    TPersonKind<Rec> m_kind;
    const SettingsSnapshot &m_settings;
    std::vector<Rec> m_people;
};

} // namespace zorbe
