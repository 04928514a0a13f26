#include "shell/qt/DesktopApp.h"

#include <QApplication>

namespace zorbe {

int runDesktopApp(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}

} // namespace zorbe
