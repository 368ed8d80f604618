#include "TForm_Calendar.h"

#include "device/TKT41.h"
#include "gui/ColumnWidths.h"
#include "gui/DialogFrame.h"
#include "gui/RegistryTree.h"
#include "gui/WindowPlacement.h"

#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

const QString kSection = "Table_Calendar";
constexpr int kHeadingHeight = 60;
constexpr int kDays = 7;
constexpr int kSlots = 4;
const QStringList kDayTitles = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};

const CalendarKind kPumpCalendar{
    "Form_Calendar_Pump",
    "Недельный график Вкл.\\Выкл. насосов",
    {"1-я точка  «Вкл.», час", "1-я точка  «Выкл.», час", "2-я точка  «Вкл.», час",
     "2-я точка  «Выкл.», час"},
    {70, 169, 179, 169, 179},
    QSize(418, 280),
    &device::TKT41::GetPumpCalendar,
    &device::TKT41::SetPumpCalendar,
};

const CalendarKind kTlowCalendar{
    "Form_Calendar_Tlow",
    "Недельный график понижения температуры",
    {"1-я точка  t_норм., час", "1-я точка   t_пон.,  час", "2-я точка  t_норм., час",
     "2-я точка   tпон.,  час"},
    {70, 175, 173, 175, 165},
    QSize(428, 278),
    &device::TKT41::GetTlowCalendar,
    &device::TKT41::SetTlowCalendar,
};

QStringList MakeHourList() {
    QStringList list;
    for (int hour = 0; hour < TForm_Calendar::kOff; ++hour) {
        list << QString("%1").arg(hour, 2, 10, QChar('0'));
    }
    list << "Выкл.";
    return list;
}

} // namespace

TForm_Calendar::TForm_Calendar(const CalendarKind& kind, device::TKT41& model, QWidget* parent)
    : WorkingCopyDialog(model, kind.WindowName, kind.Caption, parent), HourList(MakeHourList()),
      kind_(kind) {
    // Of fixed size, unlike the other contour dialogs: no minimize button.
    gui::SetFixedDialogFrame(*this);

    AdvColumnGrid_Calendar = new gui::ParamGrid;
    AdvColumnGrid_Calendar->setObjectName("AdvColumnGrid_Calendar");
    QStringList headings{"День недели"};
    for (const char* heading : kind.SlotHeadings) {
        headings << QString::fromUtf8(heading);
    }
    AdvColumnGrid_Calendar->SetHeadings(headings);
    AdvColumnGrid_Calendar->SetHeadingHeight(kHeadingHeight);
    AdvColumnGrid_Calendar->SetHeadingWordWrap(true);
    AdvColumnGrid_Calendar->SetColumnReadOnly(0, true);
    for (int column = 0; column <= kSlots; ++column) {
        AdvColumnGrid_Calendar->SetColumnAlignment(column, Qt::AlignHCenter);
        AdvColumnGrid_Calendar->setColumnWidth(column, kind.ColumnWidths[column]);
    }
    AdvColumnGrid_Calendar->SetParamRowCount(kDays + 1);
    AdvColumnGrid_Calendar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AdvColumnGrid_Calendar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AdvColumnGrid_Calendar->SetEditorProvider(
        [this](int row, int column) { return AdvColumnGrid_CalendarGetEditorType(row, column); });
    AdvColumnGrid_Calendar->SetComboChange([this](int row, int column, int index) {
        AdvColumnGrid_CalendarComboChange(row, column, index);
    });
    AdvColumnGrid_Calendar->SetEditCellDone(
        [this](const gui::CellEdit& edit) { AdvColumnGrid_CalendarEditCellDone(edit); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AdvColumnGrid_Calendar, 1);
    layout->addLayout(ButtonStrip());
    resize(kind.ClientSize);
}

void TForm_Calendar::FormCreate() {
    gui::RestoreWindowPlacement(*this, kind_.WindowName);
    gui::CopyDefaultColumnWidths(kSection);
    PrepareGrid();
}

void TForm_Calendar::PrepareGrid() {
    gui::ParamGrid& grid = *AdvColumnGrid_Calendar;
    for (int day = 1; day <= kDays; ++day) {
        for (int slot = 1; slot <= kSlots; ++slot) {
            grid.SetCellText(day, slot, QString());
        }
    }
    gui::LoadColumnWidths(&grid, kSection);
    for (int day = 1; day <= kDays; ++day) {
        grid.SetCellText(day, 0, kDayTitles[day - 1]);
    }
    FitToGrid();
}

// The window keeps a fixed size that shows the whole grid: the designed client
// size, widened when the columns need more room.
void TForm_Calendar::FitToGrid() {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ResizeToShow(*AdvColumnGrid_Calendar, AdvColumnGrid_Calendar->ContentFitSize());
    setFixedSize(size().expandedTo(kind_.ClientSize));
}

void TForm_Calendar::FormShow() {
    PrepareGrid();
    for (int day = 1; day <= kDays; ++day) {
        for (int slot = 1; slot <= kSlots; ++slot) {
            ShowSlot(day, slot);
        }
    }
    AdvColumnGrid_Calendar->setCurrentCell(1, 1);
}

QString TForm_Calendar::SlotText(std::uint16_t value) const {
    return HourList[std::min<int>(value, kOff)];
}

void TForm_Calendar::ShowSlot(int day, int slot) {
    AdvColumnGrid_Calendar->SetCellText(day, slot, SlotText(Calendar.Day[day - 1][slot - 1]));
}

gui::EditorSpec TForm_Calendar::AdvColumnGrid_CalendarGetEditorType(int row, int column) {
    gui::EditorSpec offer;
    if (row < 1 || row > kDays || column < 1 || column > kSlots) {
        return offer;
    }
    offer.Kind = catalogue::ekChoiceList;
    offer.Choices = HourList;
    offer.CurrentChoice = std::min<int>(Calendar.Day[row - 1][column - 1], kOff);
    return offer;
}

void TForm_Calendar::AdvColumnGrid_CalendarComboChange(int row, int column, int index) {
    if (row < 1 || row > kDays || column < 1 || column > kSlots || index < 0) {
        return;
    }
    auto& day = Calendar.Day[row - 1];
    const auto value = std::uint16_t(std::min(index, kOff));
    day[column - 1] = value;
    // Later slots are not earlier than this one, earlier slots not later.
    for (int slot = column + 1; slot <= kSlots; ++slot) {
        if (day[slot - 1] < value) {
            day[slot - 1] = value;
            ShowSlot(row, slot);
        }
    }
    for (int slot = column - 1; slot >= 1; --slot) {
        if (day[slot - 1] > value) {
            day[slot - 1] = value;
            ShowSlot(row, slot);
        }
    }
}

void TForm_Calendar::AdvColumnGrid_CalendarEditCellDone(const gui::CellEdit&) {
    // The pick has been stored by the combo change; the cell shows its entry.
}

void TForm_Calendar::FormClose() {
    // Column widths are loaded at every showing but never saved.
    gui::SaveWindowPlacement(*this, kind_.WindowName);
}

void TForm_Calendar::LoadWorkingCopy(int contour) {
    // A contour without calendars leaves the working copy as it was.
    (Model.*kind_.Get)(contour, Calendar);
}

void TForm_Calendar::StoreWorkingCopy(int contour) {
    (Model.*kind_.Set)(contour, Calendar);
}

TForm_Calendar_Pump::TForm_Calendar_Pump(device::TKT41& model, QWidget* parent)
    : TForm_Calendar(kPumpCalendar, model, parent) {}

TForm_Calendar_Tlow::TForm_Calendar_Tlow(device::TKT41& model, QWidget* parent)
    : TForm_Calendar(kTlowCalendar, model, parent) {}

} // namespace kt41::dialogs
