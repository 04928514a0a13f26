#pragma once

#include "verify/PayoutFile.h"
#include "verify/Unlha.h"

#include <QWidget>

#include <functional>

class QAction;
class QMenuBar;
class QPlainTextEdit;

namespace zorbe {

class DesktopServices;
class ProfileFile;

// The payout-file window "検証ファイル出力": turns results files (or LHA
// archives of them) into a W.A.R.S payout table in its text area, which
// grows with every file opened until it is saved.
class TForm14 : public QWidget
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> showMain;
    };

    // Reads the window's settings once, as it is created.
    TForm14(const ProfileFile &settings, DesktopServices &desktop, Hooks hooks, QWidget *parent = nullptr);

    void Open1Click(); // 開く
    void Save1Click(); // 保存
    void Exit1Click(); // タイトルへ

    const TPayoutTable &table() const { return m_table; }
    QPlainTextEdit *memo() const { return m_memo; }
    QMenuBar *menuBar() const { return m_menuBar; }
    lha::TUnlha &unlha() { return m_unlha; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showTable();

    DesktopServices &m_desktop;
    Hooks m_hooks;
    TPayoutSettings m_settings;
    TPayoutTable m_table;
    lha::TUnlha m_unlha;
    QMenuBar *m_menuBar = nullptr;
    QPlainTextEdit *m_memo = nullptr;
};

} // namespace zorbe
