#include "platform/Desktop.h"

#include <iostream>

namespace zorbe {

void ConsoleDesktop::showMessage(const std::string &text)
{
    std::cerr << text << '\n';
}

} // namespace zorbe
