#pragma once

#include "shell/SettingsDialog.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zorbe {

struct AppState;
class DesktopServices;
class TUpDown;

// The initial settings window "初期設定": the newspaper's style, font,
// colour, picks, past races, odds source, race buttons, time correction and
// the PAT For Win folder. It shows the settings file's values each time it
// is shown and writes them only on "確　定"; "ｷｬﾝｾﾙ" and closing the window
// write nothing. Both lead back to the main window.
class TForm16 : public QWidget
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> showMain; // after "確　定", "ｷｬﾝｾﾙ" and closing
    };

    TForm16(AppState &app, DesktopServices &desktop, Hooks hooks, QWidget *parent = nullptr);

    // Selects the buttons and fills the depth edit from the settings file.
    void FormActivate();

    void BitBtn1Click(); // 確　定
    void BitBtn2Click(); // ｷｬﾝｾﾙ
    void BitBtn3Click(); // 参照

    // The choices the buttons and the depth edit stand for now.
    settingsdialog::Choices choices() const;

    QRadioButton *radioButton(int n) const; // RadioButton<n>, nullptr when there is none
    QGroupBox *group(const QString &caption) const;
    QLineEdit *edit3() const { return m_edit3; } // the PAT For Win folder
    QLineEdit *edit4() const { return m_edit4; } // 計算競走数
    TUpDown *upDown1() const { return m_upDown1; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // One group of radio buttons and the choice it sets.
    struct RadioGroup
    {
        QGroupBox *box = nullptr;
        std::string settingsdialog::Choices::*choice = nullptr;
        std::vector<std::pair<QRadioButton *, std::string>> buttons; // button, value written
    };
    struct RadioItem
    {
        int number;
        const char *caption;
        const char *value;
        int x, y;
    };

    void FormCreate();
    QGroupBox *addGroup(const char *name, const QString &caption, const QRect &geometry);
    void addRadioGroup(const char *name, const QString &caption, const QRect &geometry,
                       std::string settingsdialog::Choices::*choice, std::initializer_list<RadioItem> buttons);
    void buildDepthGroup();
    void buildFolderRow();
    void buildButtons();
    void select(const settingsdialog::Choices &choices);
    void leave();

    AppState &m_app;
    DesktopServices &m_desktop;
    Hooks m_hooks;

    std::vector<RadioGroup> m_groups;
    QLineEdit *m_edit3 = nullptr;
    QLineEdit *m_edit4 = nullptr;
    TUpDown *m_upDown1 = nullptr;
};

} // namespace zorbe
