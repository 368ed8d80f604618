#pragma once

#include "version/Version.h"

#include <QString>

#include <optional>

namespace kt41::gui {

// The four numbers of the program's version: major.minor, release, build.
using ProgramVersion = version::Numbers;

// The version every program of the project prints (src/version), as the
// About window reads it.
std::optional<ProgramVersion> CompiledVersion();

// "major.minor" of the main window's caption; "0.0" without a version.
QString CaptionVersionText(const std::optional<ProgramVersion>& version);

// The About window's line "Version 1.0  Release 0 Build 1"; empty without a
// version.
QString VersionLine(const std::optional<ProgramVersion>& version);

// The maker's web page and mail address (Home_page, the About window), set by
// the CMake cache variables KT41_HOME_PAGE and KT41_SUPPORT_MAIL.
QString HomePageUrl();
QString SupportMail();

} // namespace kt41::gui
