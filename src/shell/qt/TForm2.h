#pragma once

#include <QWidget>

namespace zorbe {

// The splash window: shown while the main window reads its settings and the
// master tables, then released.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 237;
    static constexpr int kHeight = 180;

    TForm2();

    // Shows the window centred on the screen and paints it at once (the
    // start-up work that follows does not let the event loop run).
    void showAndPaint();

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace zorbe
