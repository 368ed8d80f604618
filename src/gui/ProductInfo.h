#pragma once

#include <QString>

namespace kt41::gui {

// The program's version, compiled in from the project version.
inline constexpr int kVersionMajor = KT41_VERSION_MAJOR;
inline constexpr int kVersionMinor = KT41_VERSION_MINOR;
inline constexpr int kVersionRelease = KT41_VERSION_PATCH;
inline constexpr int kVersionBuild = KT41_VERSION_TWEAK;

// The maker's web page and mail address (Home_page, About window).
inline const QString kHomePageUrl = "https://www.velmar.example/kt41";
inline const QString kSupportMail = "support@velmar.example";

} // namespace kt41::gui
