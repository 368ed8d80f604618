#pragma once

#include "device/TKT41.h"
#include "driver/ComPort.h"
#include "driver/Kt41Driver.h"
#include "driver/ProgressSink.h"
#include "gui/RunTimeSettings.h"
#include "pages/MainWindowPage.h"
#include "pages/PageHost.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

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
class TForm_Dialog;
class TForm_KodiCalibr;
class TForm_Pumps_Conf;
class TForm_Schedule_Tnorm;
class TForm_Sel;
class TNew_DeviceForm;
} // namespace kt41::dialogs

namespace kt41::device {
struct CalibrationReference;
}

namespace kt41::driver {
class SerialPortError;
}

namespace kt41::gui {
struct FileRequest;
}

namespace kt41::pages {
class DevicePage;
}

namespace kt41::app {

class TForm_Config;

// The main window: tool bar, menus, the page control with its nine pages, the
// message log and the three-panel status bar. It owns the one device model, the
// one serial port object ComPort1 and the driver for the whole run, and it is
// the receiver of every progress notification. Its pages reach it as their
// PageHost only.
class TForm_Main : public QMainWindow, public driver::ProgressSink, public pages::PageHost {
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
    device::TKT41& Model() override { return *KT41; }
    driver::ComPort ComPort1;
    gui::RunTimeSettings Settings;

    // The dialogs of the start-up list, set when each is created (StartUp.cpp);
    // null until then.
    TForm_Config* Form_Config = nullptr;
    dialogs::TForm_Pumps_Conf* Form_Pumps_Conf = nullptr;
    dialogs::TForm_Schedule_Tnorm* Form_Schedule_Tnorm = nullptr;
    dialogs::TForm_Calendar_Pump* Form_Calendar_Pump = nullptr;
    dialogs::TForm_Calendar_Tlow* Form_Calendar_Tlow = nullptr;
    dialogs::TNew_DeviceForm* New_DeviceForm = nullptr;
    dialogs::TForm_Sel* Form_Sel = nullptr;
    dialogs::TForm_Dialog* Form_Dialog = nullptr;
    dialogs::TForm_KodiCalibr* Form_KodiCalibr = nullptr;

    // Called when the engineer confirms a calibration prompt, with the
    // reference that prompt asked for (--demo sets its simulated controller's
    // reference sources by it); empty for a real controller.
    std::function<void(const device::CalibrationReference&)> ReferenceConfirmed;

    // Puts a page in place of the placeholder of tab index. A page that also
    // implements MainWindowPage takes part in the window's steps: FormCreate,
    // FormClose, ShowModelOnPages, CloseConnection and the calibration
    // commands' state.
    template <class Page>
    void SetPage(int index, Page* page) {
        if constexpr (std::is_base_of_v<pages::MainWindowPage, Page>) {
            InstallPage(index, page, page);
        } else {
            InstallPage(index, page, nullptr);
        }
    }
    QWidget* PageAt(int index) const;
    // The window steps of the page at tab index; null for a placeholder.
    pages::MainWindowPage* PageStepsAt(int index) const {
        return index >= 0 && index < kPageCount ? pages_[std::size_t(index)] : nullptr;
    }

    // --- operations used by the pages and dialogs ---------------------------------
    // Appends "h:mm:ss.zzz", two spaces and text to the log.
    void LogMessage(const QString& text) override;
    // LogMessage of text followed by " Ok." (error 0) or " Ошибка.".
    void LogResult(const QString& text, int error);
    // Shows text in status panel 1 and repaints the status bar at once.
    void SetActivityText(const QString& text);
    // Handles a progress code synchronously, as the model's notifications are.
    void PostProgress(int code, std::uint32_t lParam) override;
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
    gui::FileRequest FileOpen1BeforeExecute() const;
    void FileOpen1Accept(const QString& path);
    void FileOpen1Cancel();
    void FileSaveAs1Execute();
    gui::FileRequest FileSaveAs1BeforeExecute() const;
    void FileSaveAs1Accept(const QString& path);
    void FileSaveAs1Cancel();
    // "R50_№ " + the serial number in five digits + ".c50".
    QString ProposedFileName() const;

    void Calibr_TermExecute();
    void Calibr_PressExecute();
    // The calibration commands are available exactly while the "Калибровка"
    // menu is shown and no page uses the line.
    void Calibr_TermUpdate();
    void Calibr_PressUpdate();
    // Ends the connection: the pages stop what they run on the line (the
    // archive read, the page timers), then the port closes and the
    // configuration commands are switched off.
    void CloseConnection();

    // --- parameter pages (TForm_Main_Pages.cpp) -----------------------------------
    // Refills the four contour pages (selector set to the model's type, then
    // its change handler), the inputs page and the device page from the model.
    void ShowModelOnPages();

    // pages::PageHost
    const gui::RunTimeSettings& CurrentSettings() const override { return Settings; }
    // The text height H the device page measured when it was last shown, by
    // which parameter grids size their rows; 0 before it was first shown.
    int MeasuredTextHeight() const override;
    // The pump-group, schedule and calendar dialogs of a contour page
    // (TForm_Main_DialogHandlers.cpp).
    void OpenContourDialog(pages::ContourDialog dialog, int contour) override;
    // The port-busy box and the log line with the cause (TForm_Main_Connection.cpp).
    void ReportPortError(const driver::SerialPortError& error) override;

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
    void InstallPage(int index, QWidget* widget, pages::MainWindowPage* page);
    // The pages that take part in the window's steps, by tab index.
    template <class Step>
    void ForEachPage(Step&& step) {
        for (pages::MainWindowPage* page : pages_) {
            if (page != nullptr) {
                step(*page);
            }
        }
    }
    bool AnyPageUsesLine() const;
    void HandleProgress(int code, std::uint32_t lParam);
    void ApplyLogHeight(int height);
    // The connect action's picture and hint for the connected or the
    // disconnected state.
    void ShowConnectAction(bool connected);
    // The firmware version on the device page.
    void SetVersionText(const QString& text);

    std::array<pages::MainWindowPage*, kPageCount> pages_{};
    pages::DevicePage* devicePage_ = nullptr;
    std::unique_ptr<driver::Kt41Driver> driver_;
    std::unique_ptr<device::TKT41> KT41;
    QStringList commandLine_;
    std::optional<int> pendingLogHeight_;
    bool closed_ = false;
};

// The port-busy box and the log line with the cause of a port error.
void ShowPortError(TForm_Main& window, const driver::SerialPortError& error);

// The caption of the main window with the version appended.
QString MainWindowCaption();

// Splits a hint "short|long" into its two parts; without "|" both are the hint.
struct HintParts {
    QString Short;
    QString Long;
};
HintParts SplitHint(const QString& hint);

} // namespace kt41::app
