#pragma once

#include "RunTimeSettings.h"
#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/Kt41Driver.h"
#include "driver/ProgressSink.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;
class QToolBar;

namespace kt41::dialogs {
class TForm_Calendar_Pump;
class TForm_Calendar_Tlow;
class TForm_Pumps_Conf;
class TForm_Schedule_Tnorm;
class TNew_DeviceForm;
struct FileRequest;
} // namespace kt41::dialogs

namespace kt41::app {

class TForm_Config;

// The main window: tool bar, menus, the page control with its nine pages, the
// message log and the three-panel status bar. It owns the one device model, the
// one serial port object ComPort1 and the driver for the whole run, and it is
// the receiver of every progress notification.
class TForm_Main : public QMainWindow, public driver::ProgressSink {
    Q_OBJECT
public:
    // Tab indexes of PageControl1.
    enum Page {
        kPageDevice = 0,
        kPageContour1 = 1,
        kPageContour2 = 2,
        kPageContour3 = 3,
        kPageContour4 = 4,
        kPageInputs = 5,
        kPageArchive = 6,
        kPageManual = 7,
        kPageCurrent = 8,
        kPageCount = 9
    };

    // commandLine: the program's arguments after its name, as ApplyCommandLine
    // reads them.
    TForm_Main(std::unique_ptr<driver::Kt41Driver> driver, QStringList commandLine,
               QWidget* parent = nullptr);
    ~TForm_Main() override;

    // The model, the port and the run-time settings every page and dialog uses.
    device::TKT41& Model() { return *KT41; }
    driver::ComPort ComPort1;
    RunTimeSettings Settings;
    std::uint8_t LastEditorKind = 0; // editor kind of the cell being edited, 0 = none

    // The dialogs of the start-up list, set when each is created (StartUp.cpp);
    // null until then.
    TForm_Config* Form_Config = nullptr;
    dialogs::TForm_Pumps_Conf* Form_Pumps_Conf = nullptr;
    dialogs::TForm_Schedule_Tnorm* Form_Schedule_Tnorm = nullptr;
    dialogs::TForm_Calendar_Pump* Form_Calendar_Pump = nullptr;
    dialogs::TForm_Calendar_Tlow* Form_Calendar_Tlow = nullptr;
    dialogs::TNew_DeviceForm* New_DeviceForm = nullptr;

    // An archive read is in progress. The archive page sets it while its read
    // loop runs; the loop ends when it is cleared.
    bool ReadingFlag = false;

    // Puts a page class in place of the placeholder of tab index. A page that
    // also implements MainWindowPage takes part in FormCreate and FormClose.
    void SetPage(int index, QWidget* page);
    QWidget* PageAt(int index) const;

    // --- operations used by the pages and dialogs ---------------------------------
    // Appends "h:mm:ss.zzz", two spaces and text to the log.
    void LogMessage(const QString& text);
    // LogMessage of text followed by " Ok." (error 0) or " Ошибка.".
    void LogResult(const QString& text, int error);
    // Shows text in status panel 1 and repaints the status bar at once.
    void SetActivityText(const QString& text);
    // Handles a progress code synchronously, as the model's notifications are.
    void PostProgress(int code, std::uint32_t lParam);
    // Status panel 2: "Не подключено" or "Подключено".
    void SetConnectionText(const QString& text);

    // driver::ProgressSink: the model's notifications and message boxes.
    void Progress(int code, std::uint32_t lParam) override;
    void ShowMessage(const std::string& caption, const std::string& text,
                     driver::MessageIcon icon) override;

    // --- form handlers ----------------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormResize();
    void ApplyCommandLine();
    void ShowCalibrationMenu(bool visible);
    void RestoreWindowLayout();
    void SaveWindowLayout();
    void N5Click(); // Сервис / Настройка ...
    void Home_pageExecute();
    void AboutExecute();
    void Exit_ProgExecute();

    // --- the connection workflow --------------------------------------------------
    // Connects, or disconnects when the port is open.
    void Connect_DeviceExecute();
    // Asks for the address (unless ZeroNumID) and tries to connect twice at
    // most; true when a controller answered.
    bool EstablishConnection();
    void Read_ConfigExecute();
    void Write_ConfigExecute();
    // The page control and the commands Read_Config, Write_Config, FileOpen1
    // and FileSaveAs1, all on or all off.
    void SetConfigurationAvailable(bool on);

    // --- the configuration file commands ---------------------------------------------
    void FileOpen1Execute();
    dialogs::FileRequest FileOpen1BeforeExecute() const;
    void FileOpen1Accept(const QString& path);
    void FileOpen1Cancel();
    void FileSaveAs1Execute();
    dialogs::FileRequest FileSaveAs1BeforeExecute() const;
    void FileSaveAs1Accept(const QString& path);
    void FileSaveAs1Cancel();
    // "R50_№ " + the serial number in five digits + ".c50".
    QString ProposedFileName() const;

    void Calibr_TermExecute();
    void Calibr_PressExecute();
    // Ends the connection: stops the archive read and the page timers, closes
    // the port and switches the configuration commands off.
    void CloseConnection();

    // --- parameter pages (TForm_Main_Pages.cpp) -----------------------------------
    // Refills the four contour pages (selector set to the model's type, then
    // its change handler), the inputs page and the device page from the model.
    void ShowModelOnPages();
    // The text height H the device page measured when it was last shown, by
    // which parameter grids size their rows; 0 before it was first shown.
    int MeasuredTextHeight() const;

    // --- the buttons that open the pump-group, schedule and calendar dialogs
    //     (TForm_Main_DialogHandlers.cpp); sender is the page's button, whose
    //     name tells the contour (ButtonConf_Pumps, ButtonConf_Pumps2, ...).
    void ButtonConf_PumpsClick(QObject* sender);
    void ButtonConf_Tnorm_ScheduleClick(QObject* sender);
    void ButtonConf_PumpCalendarClick(QObject* sender);
    void ButtonConf_TlowCalendarClick(QObject* sender);

    // Status bar panel widths.
    static constexpr int kPanel0Width = 300;
    static constexpr int kPanel2Width = 160;

    // Controls, by their object names.
    QAction* Connect_Device = nullptr;
    QAction* Read_Config = nullptr;
    QAction* Write_Config = nullptr;
    QAction* FileOpen1 = nullptr;
    QAction* FileSaveAs1 = nullptr;
    QAction* Exit_Prog = nullptr;
    QAction* About = nullptr;
    QAction* Help = nullptr;
    QAction* Home_page = nullptr;
    QAction* Calibr_Term = nullptr;
    QAction* Calibr_Press = nullptr;
    QAction* N5 = nullptr;         // "Настройка ..."
    QAction* N_FileOpen = nullptr; // "&Открыть": FileOpen1 in the file menu
    QMenu* Menu_File = nullptr;
    QMenu* Menu_Calibr = nullptr;
    QMenu* Menu_Service = nullptr;
    QMenu* Menu_Help = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* Panel_Bottom = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QLabel* StatusPanel2 = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildWindow();
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildPages();
    void BuildParameterPages(); // TForm_Main_Pages.cpp
    void HandleProgress(int code, std::uint32_t lParam);
    void ApplyLogHeight(int height);
    // The connect action's picture and hint for the connected or the
    // disconnected state.
    void ShowConnectAction(bool connected);
    // StaticText_VerInfo of the device page, when the page has it.
    void SetVersionText(const QString& text);

    std::unique_ptr<driver::Kt41Driver> driver_;
    std::unique_ptr<device::TKT41> KT41;
    QStringList commandLine_;
    std::optional<int> pendingLogHeight_;
    bool closed_ = false;
};

// The caption of the main window with the version appended.
QString MainWindowCaption();

// Splits a hint "short|long" into its two parts; without "|" both are the hint.
struct HintParts {
    QString Short;
    QString Long;
};
HintParts SplitHint(const QString& hint);

} // namespace kt41::app
