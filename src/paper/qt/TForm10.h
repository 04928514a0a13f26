#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace zorbe {

// The batch print's progress window "ゾルベ３２＜印刷出力中＞": the race
// being printed and a "印刷中止" button. The button only raises a flag; the
// batch looks at it between races.
class TForm10 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm10(QWidget *parent = nullptr);

    // Shows the window (modeless) with the progress text and paints it now.
    void showProgress(const QString &text);
    void clearCancel() { m_cancelled = false; }
    bool cancelRequested() const { return m_cancelled; }

    QLabel *label1() const { return m_label1; }
    QPushButton *cancelButton() const { return m_cancel; }

signals:
    // After each progress text is shown (lets tests press the button).
    void progressShown(const QString &text);

protected:
    // Closing the window during a batch asks for the same stop as the button.
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_label1 = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_cancelled = false;
};

} // namespace zorbe
