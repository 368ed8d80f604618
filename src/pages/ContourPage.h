#pragma once

#include "CatalogueGridPage.h"
#include "MainWindowPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kt41::pages {

// The page of one contour (tabs "Контур 1" to "Контур 4"): the type selector,
// the grid of the parameters the type uses and, below it, the frames with the
// buttons that open the pump-group, calendar and schedule dialogs. Contours 1
// and 2 take every type and have four frames; contours 3 and 4 take the first
// four types and have the pump-group frame only.
//
// Control names carry the contour's suffix: ComboBox_TipContur1 and
// AdvColumnGrid_Contour1 to ..4; ButtonConf_Pumps, CheckBox_TlowCalendar, ...
// without a suffix on contour 1, with "2" on contour 2; ButtonConf_Pumps3 and
// ButtonConf_Pumps4.
//
// A contour 3 or 4 whose model type is 4 or 5 (only data from the controller
// or a file can hold it) is shown with no selector entry, a tool tip that says
// so, and an empty disabled grid; the model keeps its type until the user
// picks an entry.
class ContourPage : public CatalogueGridPage, public MainWindowPage {
    Q_OBJECT
public:
    ContourPage(PageHost& host, int contour, QWidget* parent = nullptr);

    int Contour() const { return contour_; }

    // Sets the selector to the type without running its handler, as setting
    // it from code does; a type the selector does not offer leaves no entry
    // selected. Follow it with ComboBox_TipConturChange.
    void SelectType(int type);

    // --- handlers --------------------------------------------------------------
    // ComboBox_TipContur<N>Change: the type change. Also run by FormCreate and
    // ShowModelOnPages after SelectType; a user's pick runs it by itself.
    void ComboBox_TipConturChange();
    // Rebuilds the grid with the rows of the type and, on contours 1 and 2,
    // ticks the calendar boxes from the model (a box that changes runs its
    // click handler).
    void FillContourGrid(int type);
    // AdvColumnGrid_Contour<N>GetEditorType.
    gui::EditorSpec AdvColumnGrid_ContourGetEditorType(int row, int column);
    // Contours 1 and 2: enable the box's button exactly when it is ticked, store
    // the box's state as the contour's in-force flag, set the box's hint.
    void CheckBox_TlowCalendarClick();
    void CheckBox_PumpCalendarClick();

    // MainWindowPage: column widths, and every contour starts switched off;
    // the model's type and parameters.
    void PrepareAtStart() override;
    void PrepareClose() override;
    void ShowModel() override;

    // --- controls ----------------------------------------------------------------
    QLabel* Label_TipContur = nullptr;
    QComboBox* ComboBox_TipContur = nullptr;
    gui::ParamGrid* AdvColumnGrid_Contour = nullptr;
    QWidget* Panel_Frames = nullptr;
    QGroupBox* GroupBox_Pumps = nullptr;
    QPushButton* ButtonConf_Pumps = nullptr;
    // Contours 1 and 2 only; null on contours 3 and 4.
    QGroupBox* GroupBox_TlowCalendar = nullptr; // the box sits on its caption line
    QCheckBox* CheckBox_TlowCalendar = nullptr;
    QPushButton* ButtonConf_TlowCalendar = nullptr;
    QGroupBox* GroupBox_Tnorm_Schedule = nullptr;
    QPushButton* ButtonConf_Tnorm_Schedule = nullptr;
    QGroupBox* GroupBox_PumpCalendar = nullptr; // likewise
    QCheckBox* CheckBox_PumpCalendar = nullptr;
    QPushButton* ButtonConf_PumpCalendar = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    const catalogue::TCatalogueEntry& Entry(int member) const override;
    QStringList Choices(int member) const override;
    std::string ValueText(int member) const override;
    void StoreValue(int member, std::int32_t value) override;

private:
    bool HasCalendars() const { return contour_ <= 2; }
    void BuildFrames();
    // The frames side by side in the width of the page.
    void PlaceFrames();
    void ResetFrames();
    void ShowUnselectableType();
    void SyncCalendarBox(QCheckBox* box, bool ticked, void (ContourPage::*click)());
    // A calendar box's click: its button follows the box, the model's in-force
    // flag of the calendar too, and the hint says what the next click does.
    void CalendarBoxClicked(QCheckBox& box, QPushButton& button,
                            void (device::TKT41::*storeInForce)(int, std::uint8_t),
                            const QString& onHint, const QString& offHint);

    const int contour_;
    bool pumpCalendarMoved_ = false; // kept once hot water has been shown
};

} // namespace kt41::pages
