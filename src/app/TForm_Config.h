#pragma once

#include "SerialPorts.h"
#include "gui/RunTimeSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kt41::driver {
class ComPort;
}

namespace kt41::app {

class PortComboBox;

// The settings dialog "Настройка": the eight stored values, the run-time
// settings derived from them and the first-run folders. Created hidden at
// start-up; FormCreate loads the stored values, so the port name and the
// run-time settings are in force before the main window is shown.
class TForm_Config : public QDialog {
    Q_OBJECT
public:
    struct Options {
        PortLister ListPorts = SerialPortNames;
        // Selected at every load when present in the list, whatever is stored
        // (the simulated controller of --demo).
        QString PreferredPort;
    };

    TForm_Config(driver::ComPort& port, gui::RunTimeSettings& settings, Options options,
                 QWidget* parent = nullptr);

    void FormCreate();

    // Handlers of the controls.
    void ComComboBox1DropDown();
    void ComComboBox1Change();
    void Button1Click(); // OK
    void Button2Click(); // Отмена
    void Button3Click(); // Применить
    void BrowseConfigFolder();
    void BrowseArchiveFolder();

    // Reads the stored values into the controls, the run-time settings and the
    // port object's name, running the first-run steps for absent folders.
    void Load();

    void reject() override; // Esc and the close button act as Отмена

private:
    void BuildControls();
    // The serial ports present, and gateway when it names a Modbus TCP gateway.
    void FillPortList(const QString& gateway);
    // Adds name to the port list unless it is empty or listed already.
    void KeepInList(const QString& name);
    void Store();
    void ApplyToPort();
    static void PrepareArchiveFolders();
    static void PrepareConfigFolders();

    driver::ComPort& port_;
    gui::RunTimeSettings& settings_;
    Options options_;

    PortComboBox* ComComboBox1 = nullptr;
    QComboBox* ComboBox_DTR = nullptr;
    QComboBox* ComboBox_RTS = nullptr;
    QSpinBox* SpinEdit_AmountMeasure = nullptr;
    QLineEdit* Edit_SavePath = nullptr;
    QLineEdit* Edit_SavePathArx = nullptr;
    QPushButton* Button_BrowseSavePath = nullptr;
    QPushButton* Button_BrowseSavePathArx = nullptr;
    QCheckBox* CheckBox_ZeroNumID = nullptr;
    QCheckBox* CheckBox_ReadConfig = nullptr;
    QComboBox* ComboBox_Speed = nullptr; // the line speed, "9600" or "19200"
    QCheckBox* CheckBox_Backup = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
};

} // namespace kt41::app
