#pragma once

#include "WorkingCopyDialog.h"
#include "device/Records.h"
#include "gui/ParamGrid.h"

#include <QStringList>

#include <array>
#include <cstdint>

namespace kt41::dialogs {

// What tells the two weekly calendars apart: texts, column widths, names and
// the model's calendar they edit.
struct CalendarKind {
    const char* WindowName; // object name and placement subkey
    const char* Caption;
    std::array<const char*, 4> SlotHeadings;
    std::array<int, 5> ColumnWidths;
    QSize ClientSize;
    bool (device::TKT41::*Get)(int, device::TWeekCalendar&) const;
    void (device::TKT41::*Set)(int, const device::TWeekCalendar&);
};

// A weekly calendar of contour 1 or 2: for each day, Monday first, four slots
// holding an hour 0..23 or "Выкл." (24 and above). Picking an hour keeps the
// day's slots in non-decreasing order by pushing the neighbours. The column
// widths are loaded at every showing and never saved.
class TForm_Calendar : public WorkingCopyDialog {
    Q_OBJECT
public:
    static constexpr int kOff = 24; // a slot that is switched off

    TForm_Calendar(const CalendarKind& kind, device::TKT41& model, QWidget* parent);

    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    gui::EditorSpec AdvColumnGrid_CalendarGetEditorType(int row, int column);
    void AdvColumnGrid_CalendarComboChange(int row, int column, int index);
    void AdvColumnGrid_CalendarEditCellDone(const gui::CellEdit& edit);

    // The text of a slot value: its hour entry, "Выкл." above 23.
    QString SlotText(std::uint16_t value) const;

    device::TWeekCalendar Calendar; // the working copy
    // The hour list: "00".."23", then "Выкл."; an entry's position is its value.
    const QStringList HourList;

    gui::ParamGrid* AdvColumnGrid_Calendar = nullptr;

protected:
    void LoadWorkingCopy(int contour) override;
    void StoreWorkingCopy(int contour) override;

private:
    void PrepareGrid();
    void ShowSlot(int day, int slot);
    void FitToGrid();

    const CalendarKind& kind_;
};

// The pump calendar ("Недельный график Вкл.\Выкл. насосов", Calendar_Pump).
class TForm_Calendar_Pump : public TForm_Calendar {
    Q_OBJECT
public:
    TForm_Calendar_Pump(device::TKT41& model, QWidget* parent);
};

// The temperature-lowering calendar ("Недельный график понижения температуры",
// Calendar_Tlow).
class TForm_Calendar_Tlow : public TForm_Calendar {
    Q_OBJECT
public:
    TForm_Calendar_Tlow(device::TKT41& model, QWidget* parent);
};

} // namespace kt41::dialogs
