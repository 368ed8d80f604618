#pragma once

#include <QString>

namespace kt41::app {

// Identifiers of the special folders the program asks for.
inline constexpr int kFolderPersonal = 5;   // the user's documents
inline constexpr int kFolderDocuments = 12; // the desktop's documents item: the same folder
inline constexpr int kFolderAppData = 26;   // the user's application data

// The special folder with the given identifier, created when missing. When the
// documents folder cannot be found or created, the application-data folder is
// used; when that fails too, the user's home folder. Unknown identifiers give
// an empty path. Paths use the platform's separator.
QString GetSpecialFolder(int identifier);

// False for an empty path; true when the folder exists; otherwise creates every
// missing level and returns whether that worked.
bool EnsureFolder(const QString& path);

// Copies source to target unless target already exists or source is missing.
// Returns true when target exists afterwards.
bool CopyFileIfMissing(const QString& source, const QString& target);

// The folder holding the delivered "Шаблоны_Архива" and "CNF" subfolders: the
// current directory when it has both, else the installed data folder.
QString ProgramFolder();

// The product folder below the user's documents: <documents>/Orvald/Конфигурация KT-41.
QString ProductFolder(int identifier);
QString DefaultArchiveFolder(); // .../Архивы
QString TemplateFolder();       // .../Шаблоны_Архива/ (with a trailing separator)
QString DefaultConfigFolder();  // .../CNF
QString RescueFolder();         // .../CNF

// The delivered files and the names their copies get.
inline const QString kTemplateSubfolder = "Шаблоны_Архива";
inline const QString kConfigSubfolder = "CNF";
inline const QString kDeliveredTemplate = "Шаблон Orvald.xltx";
inline const QString kCopiedTemplate = "Архив KT-41.xltx";
inline const QString kRescueConfiguration = "R50_№ Rescue.c50";

} // namespace kt41::app
