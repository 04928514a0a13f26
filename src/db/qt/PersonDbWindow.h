#pragma once

#include "db/PersonLists.h"
#include "db/qt/DbWindowSupport.h"

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
        QString titleCaption, printCaption, setupCaption, otherCaption, resultsCaption;
        const char *printName, *setupName; // the buttons' object names
        bool otherStoresGeometry;          // whether the way to the other database stores it
        QString initialListText;
        int unusedButtonNumber = 0;        // a kana button number the window skips
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
    class PageBox;
    friend class PageBox;

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

} // namespace zorbe
