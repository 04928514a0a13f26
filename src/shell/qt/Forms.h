#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace zorbe {

struct AppState;
class DesktopServices;
class TForm1;
class TAboutBox;
class TForm3;
class TForm5;
class TForm6;
class TForm7;
class TForm16;
class TForm14;
class TForm24;
class TForm8;
class TForm9;
class TForm13;
class QtPrinter;
class WinPath;

// The program's windows. Each is created once, at start, and afterwards only
// shown and hidden, so what the user entered in it stays for the next visit.
// One window is visible at a time: show() hides the one shown now.
class Forms : public QObject
{
    Q_OBJECT

public:
    Forms(AppState &app, DesktopServices &desktop);
    ~Forms() override;

    // Creates the windows in start-up order. TForm1 comes first and runs its
    // FormCreate (splash, settings, master tables) before any other window
    // exists. Then shows the main window.
    void start();

    TForm1 &form1() const { return *m_form1; }
    TAboutBox &aboutBox() const { return *m_aboutBox; }
    TForm3 &form3() const { return *m_form3; }
    TForm5 &form5() const { return *m_form5; }
    // The printer of the newspaper windows.
    QtPrinter &printer() const { return *m_printer; }
    TForm6 &form6() const { return *m_form6; }
    TForm7 &form7() const { return *m_form7; }
    TForm16 &form16() const { return *m_form16; }
    TForm14 &form14() const { return *m_form14; }
    TForm24 &form24() const { return *m_form24; }
    TForm8 &form8() const { return *m_form8; }
    TForm9 &form9() const { return *m_form9; }
    TForm13 &form13() const { return *m_form13; }

    // Hides the window shown now and shows next.
    void show(QWidget &next);
    // Back to the main window (what closing any other window does).
    void showMain();
    // The main window's "レース選択" from a newspaper window: the main window,
    // then its open dialog for another day.
    void toRaceDayLoader();
    // The main window's "成績データ表示" from the results and database
    // windows: the main window, then its open dialog for a results file.
    void toResultsLoader();
    QWidget *current() const { return m_current; }

    // Loads the meeting day of a race-card file as the main window's
    // "レース選択" does, then opens the race selection window and the
    // newspaper of the day's first race. When the day cannot be read the
    // error is shown and the main window stays.
    void openNewspaper(const WinPath &raceDayFile);

    // Class names of the windows in the order they were created.
    const QStringList &created() const { return m_created; }

    // The main window's "終　了" or close: the program ends at once; hidden
    // windows are not asked anything.
    void requestExit() { emit exitRequested(); }

signals:
    void exitRequested();

private:
    template <typename W, typename... Args> std::unique_ptr<W> create(const char *className, Args &&...args);

    AppState &m_app;
    DesktopServices &m_desktop;
    QStringList m_created;
    QPointer<QWidget> m_current;

    std::unique_ptr<QtPrinter> m_printer;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TAboutBox> m_aboutBox;
    std::unique_ptr<TForm16> m_form16;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm7> m_form7;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm14> m_form14;
    std::unique_ptr<TForm24> m_form24;
    std::unique_ptr<TForm8> m_form8;
    std::unique_ptr<TForm9> m_form9;
    std::unique_ptr<TForm13> m_form13;
};

} // namespace zorbe
