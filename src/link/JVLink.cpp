#include "link/JVLink.h"

#include "platform/Fields.h"

namespace zorbe {

TJVLink::TJVLink(std::unique_ptr<IJVLink> component)
    : m_component(std::move(component))
{
}

std::string JVLinkVersionDigits(std::string_view versionDigits)
{
    if (!isDigits(versionDigits) || versionDigits.size() > 9)
        return {};
    // Through an integer and back, as the version is shown: "0402" is 402.
    return std::to_string(toInt(versionDigits, "JV-Link version"));
}

std::string JVLinkVersionText(std::string_view versionDigits)
{
    const std::string d = JVLinkVersionDigits(versionDigits);
    if (d.size() < 2 || d.size() > 4)
        return {};
    std::string text = " JV-Link Ver.";
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (i)
            text += '.';
        text += d[i];
    }
    return text;
}

} // namespace zorbe
