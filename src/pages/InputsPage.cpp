#include "InputsPage.h"

#include "GridLayouts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/InputRules.h"
#include "catalogue/ModelTexts.h"
#include "device/TKT41.h"
#include "gui/GridEditing.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kt41::pages {

using namespace kt41::catalogue;
using namespace kt41::gui;
using device::TInputOpt;

namespace {

constexpr int kThermometerColumns = 4; // name, assignment, function, alarm
constexpr int kAnalogColumns = 6;      // ... and the 20 mA value with its unit
constexpr int kValueColumn = 4;        // the 20 mA value of the 4-20 mA grid
constexpr int kThermometerHeadingHeight = 55;
constexpr int kAnalogHeadingHeight = 54;

// Default widths; a stored layout replaces them.
constexpr std::array<int, kAnalogColumns> kColumnWidths{52, 110, 190, 116, 96, 60};

const QString kThermometerCorner = "№\nтсп";
const QString kAnalogCorner = "№\nвхода";
const QString kValueHeading = "Значение\nсоответ-щее\n20 мА";

TInputKind KindOf(bool analog) {
    return analog ? TInputKind::Analog : TInputKind::Thermometer;
}

int InputCount(bool analog) {
    return analog ? kAnalogInputCount : kThermometerInputCount;
}

void SetUpGrid(ParamGrid& grid, int columns, int inputs, int headingHeight) {
    grid.setColumnCount(columns);
    grid.SetHeadings(QStringList(columns, QString()));
    grid.SetFixedColumns(1);
    for (int column = 1; column < columns; ++column) {
        grid.SetColumnAlignment(column, Qt::AlignHCenter);
        grid.setColumnWidth(column, kColumnWidths[std::size_t(column)]);
    }
    grid.setColumnWidth(0, kColumnWidths[0]);
    grid.SetParamRowCount(inputs + 1);
    grid.SetHeadingHeight(headingHeight);
    grid.horizontalHeader()->setStretchLastSection(false);
    // Exactly as large as its cells; in a small window the page scrolls.
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grid.setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

} // namespace

InputsPage::InputsPage(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    auto* content = new QWidget;
    StaticText_ResistTermInfo = new QLabel(content);
    StaticText_ResistTermInfo->setObjectName("StaticText_ResistTermInfo");
    StaticText_ResistTermInfo->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    StaticText_ResistTermInfo->setMinimumWidth(140);

    AdvColumnGrid_Input_T = new ParamGrid(content);
    AdvColumnGrid_Input_T->setObjectName("AdvColumnGrid_Input_T");
    SetUpGrid(*AdvColumnGrid_Input_T, kThermometerColumns, kThermometerInputCount,
              kThermometerHeadingHeight);
    AdvColumnGrid_Input_P = new ParamGrid(content);
    AdvColumnGrid_Input_P->setObjectName("AdvColumnGrid_Input_P");
    SetUpGrid(*AdvColumnGrid_Input_P, kAnalogColumns, kAnalogInputCount, kAnalogHeadingHeight);
    AdvColumnGrid_Input_P->MergeHeadingCells(kValueColumn, 2);

    for (ParamGrid* grid : {AdvColumnGrid_Input_T, AdvColumnGrid_Input_P}) {
        grid->SetEditorProvider([this, grid](int row, int column) {
            return AdvColumnGrid_InputGetEditorType(*grid, row, column);
        });
        grid->SetEditCellDone(
            [this, grid](const CellEdit& edit) { AdvColumnGrid_Input_EditCellDone(*grid, edit); });
    }

    auto* type = new QHBoxLayout;
    type->addWidget(new QLabel("Термометры сопротивления :", content));
    type->addWidget(StaticText_ResistTermInfo);
    type->addStretch(1);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(type);
    layout->addWidget(AdvColumnGrid_Input_T, 0, Qt::AlignLeft);
    layout->addWidget(AdvColumnGrid_Input_P, 0, Qt::AlignLeft);
    layout->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroll);
}

void InputsPage::PrepareAtStart() {
    LoadPageGridWidths(*AdvColumnGrid_Input_T);
    LoadPageGridWidths(*AdvColumnGrid_Input_P);
    PrepareInputHeaders();
    FillInputColumnMap();
    FillInputGrids();
}

void InputsPage::PrepareClose() {
    SavePageGridWidths(*AdvColumnGrid_Input_T);
    SavePageGridWidths(*AdvColumnGrid_Input_P);
}

void InputsPage::ShowModel() {
    FillInputGrids();
}

void InputsPage::PrepareInputHeaders() {
    for (ParamGrid* grid : {AdvColumnGrid_Input_T, AdvColumnGrid_Input_P}) {
        const bool analog = IsAnalog(*grid);
        // The headings of the settings sit on the second line, under the
        // corner's "№".
        QStringList headings{analog ? kAnalogCorner : kThermometerCorner};
        for (const TInputOpt option : {device::ioJoinContour, device::ioFunc, device::ioAlarm}) {
            headings << "\n" + ToQString(InputEntry(KindOf(analog), option).Name);
        }
        if (analog) {
            headings << kValueHeading << QString();
        }
        grid->SetHeadings(headings);
        for (int input = 1; input <= InputCount(analog); ++input) {
            grid->SetCellText(input, 0, ToQString(InputName(KindOf(analog), input)));
        }
    }
    AdvColumnGrid_Input_T->SetHeadingHeight(kThermometerHeadingHeight);
    AdvColumnGrid_Input_P->SetHeadingHeight(kAnalogHeadingHeight);
}

void InputsPage::FillInputColumnMap() {
    RowOption = {device::ioJoinContour, device::ioFunc, device::ioAlarm, device::ioMaxValAnalog};
}

void InputsPage::FillInputRow(bool analog, int input) {
    const device::TKT41& model = host_.Model();
    ParamGrid& grid = analog ? *AdvColumnGrid_Input_P : *AdvColumnGrid_Input_T;
    for (int column = 1; column < grid.columnCount(); ++column) {
        const std::string text =
            analog ? GetAnalogInputText(model, input, column - 1, DecimalSeparator())
                   : GetInputText(model, input, column - 1);
        grid.SetCellText(input, column, ToQString(text));
    }
}

void InputsPage::FillInputGrids() {
    StaticText_ResistTermInfo->setText(ToQString(GetThermometerTypeText(host_.Model())));
    for (const bool analog : {false, true}) {
        for (int input = 1; input <= InputCount(analog); ++input) {
            FillInputRow(analog, input);
        }
    }
}

int InputsPage::RawSetting(bool analog, int input, int setting) const {
    const auto of = [setting](const auto& in) -> int {
        switch (setting) {
        case device::ioJoinContour:
            return in.Contour;
        case device::ioFunc:
            return in.Func;
        case device::ioAlarm:
            return in.Alarm;
        default:
            return -1;
        }
    };
    const device::TKT41& model = host_.Model();
    if (input < 1 || input > InputCount(analog)) {
        return -1;
    }
    const auto index = std::size_t(input - 1);
    return analog ? of(model.Input_P[index]) : of(model.Input_T[index]);
}

EditorSpec InputsPage::AdvColumnGrid_InputGetEditorType(const ParamGrid& grid, int row,
                                                        int column) {
    const bool analog = IsAnalog(grid);
    if (column < 1 || column > 4) {
        return {};
    }
    const int setting = RowOption[std::size_t(column - 1)];
    if (setting < 0 ||
        !IsInputSettingEditable(host_.Model(), KindOf(analog), row, TInputOpt(setting))) {
        return {};
    }
    const TCatalogueEntry& entry = InputEntry(KindOf(analog), TInputOpt(setting));
    EditorSpec offer = EditorSpecFor(entry, ToQStringList(entry.Choices));
    if (offer.Kind == ekChoiceList) {
        // The model's own entry, also where two entries read the same.
        const int raw = RawSetting(analog, row, setting);
        offer.CurrentChoice = raw >= 0 && raw < offer.Choices.size() ? raw : -1;
    }
    return offer;
}

void InputsPage::AdvColumnGrid_Input_EditCellDone(ParamGrid& grid, const CellEdit& edit) {
    const bool analog = IsAnalog(grid);
    const int setting =
        edit.Column >= 1 && edit.Column <= 4 ? RowOption[std::size_t(edit.Column - 1)] : -1;
    if (setting < 0 || edit.Row < 1 || edit.Row > InputCount(analog)) {
        return;
    }
    const TCatalogueEntry& entry = InputEntry(KindOf(analog), TInputOpt(setting));
    const auto value = StoredIntegerOfEdit(edit, entry.Scale);
    if (value) {
        device::TKT41& model = host_.Model();
        if (analog) {
            model.SetAnalogInputParam(edit.Row, setting, *value);
        } else {
            model.SetInputParam(edit.Row, setting, std::uint8_t(*value));
        }
    }
    // The function decides the alarm cell and, on a 4-20 mA input, the unit;
    // the whole row is shown from the model again.
    FillInputRow(analog, edit.Row);
    if (!value) {
        ShowNotAFloatError(); // the model keeps its value
    }
}

} // namespace kt41::pages
