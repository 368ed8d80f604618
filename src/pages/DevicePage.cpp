#include "DevicePage.h"

#include "GridLayouts.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ModelTexts.h"
#include "device/ProgressCodes.h"
#include "device/TKT41.h"
#include "gui/GridEditing.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kt41::pages {

using namespace kt41::catalogue;
using namespace kt41::gui;
using device::TDeviceOpt;

namespace {

constexpr int kNameColumnWidth = 520;
constexpr int kIdentityWidth = 130;

QLabel* IdentityText(QWidget* parent, const QString& name, Qt::Alignment alignment) {
    auto* text = new QLabel(parent);
    text->setObjectName(name);
    text->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    text->setAlignment(alignment | Qt::AlignVCenter);
    text->setFixedWidth(kIdentityWidth);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return text;
}

} // namespace

DevicePage::DevicePage(PageHost& host, QWidget* parent)
    : CatalogueGridPage(host, "AdvColumnGrid_ConfDevice", parent) {
    AdvColumnGrid_ConfDevice = Grid();
    AdvColumnGrid_ConfDevice->setColumnWidth(0, kNameColumnWidth);
    AdvColumnGrid_ConfDevice->SetEditorProvider(
        [this](int row, int column) { return AdvColumnGrid_ConfDeviceGetEditorType(row, column); });

    StaticText_NumInfo = IdentityText(this, "StaticText_NumInfo", Qt::AlignRight);
    StaticText_ModelInfo = IdentityText(this, "StaticText_ModelInfo", Qt::AlignLeft);
    StaticText_VerInfo = IdentityText(this, "StaticText_VerInfo", Qt::AlignLeft);
    StaticText_ProductionDateInfo =
        IdentityText(this, "StaticText_ProductionDateInfo", Qt::AlignRight);
    Button1 = new QPushButton("Время", this);
    Button1->setObjectName("Button1");
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    auto* identity = new QGridLayout;
    identity->setHorizontalSpacing(8);
    identity->addWidget(new QLabel("Серийный номер:", this), 0, 0);
    identity->addWidget(StaticText_NumInfo, 0, 1);
    identity->addWidget(new QLabel("Модель контроллера :", this), 0, 3);
    identity->addWidget(StaticText_ModelInfo, 0, 4);
    identity->addWidget(new QLabel("Версия ПО :", this), 1, 3);
    identity->addWidget(StaticText_VerInfo, 1, 4);
    identity->addWidget(new QLabel("Дата производства :", this), 1, 0);
    identity->addWidget(StaticText_ProductionDateInfo, 1, 1);
    identity->setColumnMinimumWidth(2, 24);
    identity->setColumnStretch(5, 1);
    identity->addWidget(Button1, 0, 6, 2, 1, Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(identity);
    layout->addWidget(AdvColumnGrid_ConfDevice, 1);
}

void DevicePage::PrepareAtStart() {
    LoadPageGridWidths(*AdvColumnGrid_ConfDevice);
    AdvColumnGrid_ConfDevice->ResetRows();
}

void DevicePage::PrepareClose() {
    SavePageGridWidths(*AdvColumnGrid_ConfDevice);
}

void DevicePage::ShowModel() {
    FillDevicePage();
}

void DevicePage::ShowVersion(const QString& text) {
    StaticText_VerInfo->setText(text);
}

void DevicePage::showEvent(QShowEvent* event) {
    CatalogueGridPage::showEvent(event);
    TabSheet_DeviceConfShow();
}

void DevicePage::TabSheet_DeviceConfShow() {
    textHeight_ = AdvColumnGrid_ConfDevice->MeasureTextHeight(0, 0);
    const int heading = 2 * textHeight_ + 8;
    if (AdvColumnGrid_ConfDevice->HeadingHeight() < heading) {
        AdvColumnGrid_ConfDevice->SetHeadingHeight(heading);
    }
}

void DevicePage::FillDevicePage() {
    const device::TKT41& model = host_.Model();
    StaticText_VerInfo->setText(ToQString(GetVersionText(model)));
    StaticText_ProductionDateInfo->setText(ToQString(GetManufactureDateText(model)));
    StaticText_NumInfo->setText(ToQString(GetSerialNumberText(model)));
    StaticText_ModelInfo->setText(ToQString(kModelPlaceholderText));
    std::vector<int> members;
    for (int member = 0; member < device::kDeviceOptCount; ++member) {
        members.push_back(member);
    }
    FillRows(members);
}

EditorSpec DevicePage::AdvColumnGrid_ConfDeviceGetEditorType(int row, int column) {
    return EditorOfCell(row, column);
}

void DevicePage::Button1Click() {
    host_.PostProgress(device::progress::ClockOpened, 0);
    if (OpenClockWindow) {
        OpenClockWindow();
    }
    host_.PostProgress(device::progress::IdleAfter, 0);
}

const TCatalogueEntry& DevicePage::Entry(int member) const {
    return DeviceEntry(TDeviceOpt(member));
}

QStringList DevicePage::Choices(int member) const {
    // The speed list for the line speed, the contact list for the sensors.
    return ToQStringList(Entry(member).Choices);
}

std::string DevicePage::ValueText(int member) const {
    return GetDeviceParamText(host_.Model(), TDeviceOpt(member), DecimalSeparator());
}

void DevicePage::StoreValue(int member, std::int32_t value) {
    // The model keeps the value's low 16 bits (one byte for the address).
    host_.Model().SetDeviceParam(member, std::int16_t(value));
}

} // namespace kt41::pages
