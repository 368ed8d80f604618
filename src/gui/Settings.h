#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace kt41::gui {

// Everything the program remembers lives under one settings key of the current
// user: Velmar / Конфигурация KT-41 (the registry on Windows, an INI file
// elsewhere). The same key at machine scope supplies read-only defaults below
// "Install Data".
inline const QString kSettingsOrganization = "Velmar";
inline const QString kSettingsApplication = "Конфигурация KT-41";
inline const QString kInstallDataKey = "Install Data";

// Names of the stored values directly under the settings key.
namespace key {
inline const QString ComPort = "ComPort";
inline const QString DTR = "DTR";
inline const QString RTS = "RTS";
inline const QString Savepath_Arx = "Savepath_Arx";
inline const QString Save_path = "Save_path";
inline const QString ReadConfig = "ReadConfig";
inline const QString ZeroNumID = "ZeroNumID";
inline const QString amount_measure = "amount_measure";
// The line speed of the port, bit/s (9600 when absent), and whether a write
// first saves the controller's configuration (on when absent).
inline const QString BaudRate = "BaudRate";
inline const QString BackupBeforeWrite = "BackupBeforeWrite";
inline const QString Form_Options = "Form_Options";
inline const QString Panel_Bottom_Height = "Panel_Bottom_Height";
} // namespace key

// The user's settings key, opened for reading and writing. Lookups never fall
// back to the machine-wide key: a value is present only when the user has it.
std::unique_ptr<QSettings> OpenUserSettings();

// The machine-wide key, only ever read.
std::unique_ptr<QSettings> OpenMachineSettings();

// Turns a key path written with backslashes ("\Install Data\Table_Pumps") into a
// settings group path without a leading separator ("Install Data/Table_Pumps").
QString GroupPath(const QString& keyPath);

// True when the group at path holds at least one value or subkey.
bool GroupExists(QSettings& settings, const QString& path);

} // namespace kt41::gui
