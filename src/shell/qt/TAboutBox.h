#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace zorbe {

struct AppState;
class Forms;

// The version window: product name, version, copyright and "OK". "OK" or
// closing the window hides it and shows the main window again.
class TAboutBox : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char *kVersionText = "Version 0.1.0";
    static constexpr const char *kCopyright = "Copyright (C) 2004-2026 Zorbe Soft";

    TAboutBox(AppState &app, Forms &forms);

    QString productNameText() const;
    QString versionText() const;
    QString copyrightText() const;

public slots:
    void OKButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    AppState &m_app;
    Forms &m_forms;
    QLabel *m_productName = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_linkVersion = nullptr;
    QLabel *m_copyright = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace zorbe
