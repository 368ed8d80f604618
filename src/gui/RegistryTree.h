#pragma once

#include <QSettings>
#include <QString>

#include <stdexcept>

namespace kt41::gui {

// A settings key that cannot be opened, read or written. It is not handled
// where it arises; the general error display shows its text.
class RegistryError : public std::runtime_error {
public:
    explicit RegistryError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// Copies the key at sourcePath of source, with all its values and subkeys, to
// destinationPath of destination; values keep their names, types and data.
// One leading backslash of either path is ignored. Raises RegistryError:
//  "Failed to create key <path>"   destination not writable, or source missing
//  "Failed to get data for '<x>'"  source key or one of its values unreadable
//  "Failed to set data for '<x>'"  writing to the destination failed
void CopyRegistryTree(QSettings& source, const QString& sourcePath, QSettings& destination,
                      const QString& destinationPath);

// Gives the user the machine-wide default column widths of a grid layout
// section ("Install Data\<section>") unless the user already has the section.
void CopyDefaultColumnWidths(const QString& section);

} // namespace kt41::gui
