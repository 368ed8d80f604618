#pragma once

#include "version/Version.h"

#include <QString>

namespace kt41::gui {

// The program's version, the numbers every program of the project prints.
inline const int kVersionMajor = version::Current().Major;
inline const int kVersionMinor = version::Current().Minor;
inline const int kVersionRelease = version::Current().Release;
inline const int kVersionBuild = version::Current().Build;

// The maker's web page and mail address (Home_page, About window).
inline const QString kHomePageUrl = "https://www.velmar.example/kt41";
inline const QString kSupportMail = "support@velmar.example";

} // namespace kt41::gui
