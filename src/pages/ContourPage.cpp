#include "ContourPage.h"

#include "CaptionCheckFrame.h"
#include "GridLayouts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ModelTexts.h"
#include "device/TKT41.h"
#include "gui/GridEditing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kt41::pages {

using namespace kt41::catalogue;
using namespace kt41::gui;
using device::TConturOpt;

namespace {

// The frames below the grid, left to right: pump group, lowering calendar,
// temperature schedule, pump calendar. The pump calendar moves into the
// schedule's place when the type shows it (hot water, which has no schedule).
// At most three frames are shown at a time, so three slots share the width,
// each at most kFrameWidth wide.
constexpr int kFrameWidth = 244;
constexpr int kFrameHeight = 62;
constexpr int kFrameGap = 8;
constexpr int kVisibleSlots = 3;

// Name column wide enough for the longest contour parameter in the window's
// designed width; a stored layout replaces it.
constexpr int kNameColumnWidth = 470;

const QString kTlowOnHint = "Выключить график понижения температуры";
const QString kTlowOffHint = "Включить график понижения температуры";
const QString kPumpOnHint = "Выключить график включения насосов";
const QString kPumpOffHint = "Включить график включения насосов";

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

QPushButton* FrameButton(QGroupBox* frame, const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption, frame);
    button->setObjectName(name);
    button->setEnabled(false);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(10, 4, 10, 8);
    layout->addWidget(button);
    return button;
}

} // namespace

ContourPage::ContourPage(PageHost& host, int contour, QWidget* parent)
    : CatalogueGridPage(host, QString("AdvColumnGrid_Contour%1").arg(contour), parent),
      contour_(contour) {
    const QString n = QString::number(contour);
    AdvColumnGrid_Contour = Grid();
    AdvColumnGrid_Contour->setColumnWidth(0, kNameColumnWidth);
    AdvColumnGrid_Contour->SetEditorProvider(
        [this](int row, int column) { return AdvColumnGrid_ContourGetEditorType(row, column); });

    Label_TipContur = new QLabel("Тип контура", this);
    Label_TipContur->setObjectName("Label_TipContur" + n);
    ComboBox_TipContur = new QComboBox(this);
    ComboBox_TipContur->setObjectName("ComboBox_TipContur" + n);
    ComboBox_TipContur->setEditable(false);
    for (int type = 0; type < SelectableContourTypes(contour); ++type) {
        ComboBox_TipContur->addItem(ToQString(ContourTypeSelectorText(type)));
    }
    ComboBox_TipContur->setMinimumWidth(210);
    Label_TipContur->setBuddy(ComboBox_TipContur);
    // A pick by the user; setting the selector from code runs nothing.
    connect(ComboBox_TipContur, &QComboBox::activated, this,
            [this] { ComboBox_TipConturChange(); });

    BuildFrames();

    auto* top = new QHBoxLayout;
    top->addWidget(Label_TipContur);
    top->addWidget(ComboBox_TipContur);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(AdvColumnGrid_Contour, 1);
    layout->addWidget(Panel_Frames);
}

void ContourPage::BuildFrames() {
    const QString suffix = contour_ == 1 ? QString() : QString::number(contour_);
    Panel_Frames = new QWidget(this);
    Panel_Frames->setObjectName("Panel_Frames" + QString::number(contour_));
    Panel_Frames->setFixedHeight(kFrameHeight);

    GroupBox_Pumps = new QGroupBox(" Насосная группа ", Panel_Frames);
    GroupBox_Pumps->setObjectName("GroupBox_Pumps" + suffix);
    ButtonConf_Pumps = FrameButton(GroupBox_Pumps, "Настройка", "ButtonConf_Pumps" + suffix);
    connect(ButtonConf_Pumps, &QPushButton::clicked, this,
            [this] { host_.OpenContourDialog(ContourDialog::Pumps, contour_); });
    Panel_Frames->installEventFilter(this);
    if (!HasCalendars()) {
        PlaceFrames();
        return;
    }

    auto* tlow = new CaptionCheckFrame("       График понижения темп. ",
                                       "CheckBox_TlowCalendar" + suffix, Panel_Frames);
    GroupBox_TlowCalendar = tlow;
    GroupBox_TlowCalendar->setObjectName("GroupBox_TlowCalendar" + suffix);
    CheckBox_TlowCalendar = tlow->CheckBox();
    ButtonConf_TlowCalendar =
        FrameButton(GroupBox_TlowCalendar, "Настройка графика", "ButtonConf_TlowCalendar" + suffix);

    GroupBox_Tnorm_Schedule = new QGroupBox("Температурный график ", Panel_Frames);
    GroupBox_Tnorm_Schedule->setObjectName("GroupBox_Tnorm_Schedule" + suffix);
    ButtonConf_Tnorm_Schedule = FrameButton(GroupBox_Tnorm_Schedule, "Настройка графика",
                                            "ButtonConf_Tnorm_Schedule" + suffix);

    auto* pumpCalendar = new CaptionCheckFrame("       График включения насосов ",
                                               "CheckBox_PumpCalendar" + suffix, Panel_Frames);
    GroupBox_PumpCalendar = pumpCalendar;
    GroupBox_PumpCalendar->setObjectName("GroupBox_PumpCalendar" + suffix);
    CheckBox_PumpCalendar = pumpCalendar->CheckBox();
    ButtonConf_PumpCalendar =
        FrameButton(GroupBox_PumpCalendar, "Настройка графика", "ButtonConf_PumpCalendar" + suffix);

    for (QCheckBox* box : {CheckBox_TlowCalendar, CheckBox_PumpCalendar}) {
        box->setEnabled(false);
    }
    SetHint(CheckBox_TlowCalendar, kTlowOffHint);
    SetHint(CheckBox_PumpCalendar, kPumpOffHint);
    connect(CheckBox_TlowCalendar, &QCheckBox::clicked, this,
            [this] { CheckBox_TlowCalendarClick(); });
    connect(CheckBox_PumpCalendar, &QCheckBox::clicked, this,
            [this] { CheckBox_PumpCalendarClick(); });
    connect(ButtonConf_TlowCalendar, &QPushButton::clicked, this,
            [this] { host_.OpenContourDialog(ContourDialog::TlowCalendar, contour_); });
    connect(ButtonConf_Tnorm_Schedule, &QPushButton::clicked, this,
            [this] { host_.OpenContourDialog(ContourDialog::TnormSchedule, contour_); });
    connect(ButtonConf_PumpCalendar, &QPushButton::clicked, this,
            [this] { host_.OpenContourDialog(ContourDialog::PumpCalendar, contour_); });
    PlaceFrames();
}

void ContourPage::PlaceFrames() {
    const int width = std::min(
        kFrameWidth, (Panel_Frames->width() - (kVisibleSlots - 1) * kFrameGap) / kVisibleSlots);
    const auto place = [width](QWidget* frame, int slot) {
        if (frame != nullptr) {
            frame->setGeometry(slot * (width + kFrameGap), 0, width, kFrameHeight);
        }
    };
    place(GroupBox_Pumps, 0);
    place(GroupBox_TlowCalendar, 1);
    place(GroupBox_Tnorm_Schedule, 2);
    // Right of the schedule until hot water has moved it into the schedule's place.
    place(GroupBox_PumpCalendar, pumpCalendarMoved_ ? 2 : 3);
}

bool ContourPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel_Frames && event->type() == QEvent::Resize) {
        PlaceFrames();
    }
    return CatalogueGridPage::eventFilter(watched, event);
}

void ContourPage::PrepareAtStart() {
    LoadPageGridWidths(*AdvColumnGrid_Contour);
    SelectType(0);
    ComboBox_TipConturChange();
}

void ContourPage::PrepareClose() {
    SavePageGridWidths(*AdvColumnGrid_Contour);
}

void ContourPage::ShowModel() {
    // Setting the selector runs nothing; the handler stores the type back
    // (with its feed-mode rule) and rebuilds the grid.
    SelectType(host_.Model().GetContourType(contour_));
    ComboBox_TipConturChange();
}

void ContourPage::SelectType(int type) {
    ComboBox_TipContur->setCurrentIndex(type >= 0 && type < ComboBox_TipContur->count() ? type
                                                                                        : -1);
    if (ComboBox_TipContur->currentIndex() >= 0) {
        ComboBox_TipContur->setToolTip({});
        ComboBox_TipContur->setPlaceholderText({});
        return;
    }
    const std::string name = type >= 0 && type < kContourTypeCount
                                 ? std::string(kContourTypeNames[std::size_t(type)])
                                 : std::to_string(type);
    ComboBox_TipContur->setPlaceholderText(QString("«%1» недоступен").arg(ToQString(name)));
    ComboBox_TipContur->setToolTip(
        QString("В настройке задан тип «%1», которого у контура %2 нет. Тип в настройке не "
                "меняется, пока не будет выбран другой.")
            .arg(ToQString(name))
            .arg(contour_));
}

void ContourPage::ResetFrames() {
    GroupBox_Pumps->hide();
    ButtonConf_Pumps->setEnabled(false);
    if (!HasCalendars()) {
        return;
    }
    for (QWidget* frame : std::initializer_list<QWidget*>{
             GroupBox_TlowCalendar, GroupBox_Tnorm_Schedule, GroupBox_PumpCalendar}) {
        frame->hide();
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             CheckBox_TlowCalendar, CheckBox_PumpCalendar, ButtonConf_TlowCalendar,
             ButtonConf_Tnorm_Schedule, ButtonConf_PumpCalendar}) {
        control->setEnabled(false);
    }
}

void ContourPage::ComboBox_TipConturChange() {
    // Every frame hidden, its controls disabled.
    ResetFrames();
    // A fresh grid with the active cell and row highlighted.
    AdvColumnGrid_Contour->setEnabled(false);
    AdvColumnGrid_Contour->setEnabled(true);
    AdvColumnGrid_Contour->SetActiveCellShow(true);
    AdvColumnGrid_Contour->SetActiveRowShow(true);
    // The type into the model.
    const int type = ComboBox_TipContur->currentIndex();
    if (type < 0) {
        ShowUnselectableType();
        return;
    }
    ComboBox_TipContur->setToolTip({});
    ComboBox_TipContur->setPlaceholderText({});
    host_.Model().SetContourType(contour_, std::uint8_t(type));
    // The rows and frames of the type.
    FillContourGrid(type);
    switch (type) {
    case 0:
        AdvColumnGrid_Contour->setEnabled(false);
        AdvColumnGrid_Contour->SetActiveCellShow(false);
        AdvColumnGrid_Contour->SetActiveRowShow(false);
        break;
    case 2:
    case 3:
        ButtonConf_Pumps->setEnabled(true);
        GroupBox_Pumps->show();
        break;
    case 4:
    case 5:
        if (!HasCalendars()) {
            break; // not offered on contours 3 and 4
        }
        CheckBox_TlowCalendar->setEnabled(true);
        CheckBox_TlowCalendarClick();
        ButtonConf_Pumps->setEnabled(true);
        GroupBox_Pumps->show();
        GroupBox_TlowCalendar->show();
        if (type == 4) {
            ButtonConf_Tnorm_Schedule->setEnabled(true);
            GroupBox_Tnorm_Schedule->show();
        } else {
            CheckBox_PumpCalendar->setEnabled(true);
            CheckBox_PumpCalendarClick();
            pumpCalendarMoved_ = true;
            PlaceFrames();
            GroupBox_PumpCalendar->show();
        }
        break;
    default:
        break;
    }
}

void ContourPage::ShowUnselectableType() {
    // The model's type stays as it is; nothing on the page can be edited until
    // the user picks a type the contour can take.
    AdvColumnGrid_Contour->ResetRows();
    AdvColumnGrid_Contour->setEnabled(false);
    AdvColumnGrid_Contour->SetActiveCellShow(false);
    AdvColumnGrid_Contour->SetActiveRowShow(false);
}

void ContourPage::FillContourGrid(int type) {
    std::vector<int> members;
    for (const TConturOpt option : ShownContourRows(type)) {
        members.push_back(option);
    }
    FillRows(members);
    if (HasCalendars()) {
        const device::TKT41& model = host_.Model();
        SyncCalendarBox(CheckBox_TlowCalendar, model.GetWeekOnTlow(contour_) != 0,
                        &ContourPage::CheckBox_TlowCalendarClick);
        SyncCalendarBox(CheckBox_PumpCalendar, model.GetWeekOnPump(contour_) != 0,
                        &ContourPage::CheckBox_PumpCalendarClick);
    }
}

void ContourPage::SyncCalendarBox(QCheckBox* box, bool ticked, void (ContourPage::*click)()) {
    if (box->isChecked() != ticked) {
        box->setChecked(ticked);
        (this->*click)();
    }
}

EditorSpec ContourPage::AdvColumnGrid_ContourGetEditorType(int row, int column) {
    return EditorOfCell(row, column);
}

void ContourPage::CheckBox_TlowCalendarClick() {
    if (HasCalendars()) {
        CalendarBoxClicked(*CheckBox_TlowCalendar, *ButtonConf_TlowCalendar,
                           &device::TKT41::SetWeekOnTlow, kTlowOnHint, kTlowOffHint);
    }
}

void ContourPage::CheckBox_PumpCalendarClick() {
    if (HasCalendars()) {
        CalendarBoxClicked(*CheckBox_PumpCalendar, *ButtonConf_PumpCalendar,
                           &device::TKT41::SetWeekOnPump, kPumpOnHint, kPumpOffHint);
    }
}

void ContourPage::CalendarBoxClicked(QCheckBox& box, QPushButton& button,
                                     void (device::TKT41::*storeInForce)(int, std::uint8_t),
                                     const QString& onHint, const QString& offHint) {
    const bool ticked = box.isChecked();
    button.setEnabled(ticked);
    (host_.Model().*storeInForce)(contour_, ticked ? 1 : 0);
    SetHint(&box, ticked ? onHint : offHint);
}

const TCatalogueEntry& ContourPage::Entry(int member) const {
    return ContourEntry(TConturOpt(member));
}

QStringList ContourPage::Choices(int member) const {
    std::vector<std::string> list;
    FillContourChoiceList(TConturOpt(member), host_.Model().GetContourType(contour_), list);
    return ToQStringList(list);
}

std::string ContourPage::ValueText(int member) const {
    return GetContourParamText(host_.Model(), contour_, TConturOpt(member), DecimalSeparator());
}

void ContourPage::StoreValue(int member, std::int32_t value) {
    host_.Model().SetContourParam(contour_, TConturOpt(member), value);
}

} // namespace kt41::pages
