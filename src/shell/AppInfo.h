#pragma once

// The application's title and fixed texts of the start-up.
namespace zorbe {

inline constexpr const char *kApplicationTitle = "ゾルベData Lab.版";
inline constexpr const char *kHelpFileSetting = "C:\\ZorbeLob\\DataLab.chm";

} // namespace zorbe
