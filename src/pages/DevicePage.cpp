#include "DevicePage.h"

#include "GridLayouts.h"
#include "IdentityField.h"
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
// Between the two columns of captions and values; in a narrow window it gives
// way down to the smaller gap.
constexpr int kIdentityGap = 24;
constexpr int kNarrowIdentityGap = 8;

// The widest texts of the identity fields: a five-digit serial number, month
// and year, two version bytes.
const QString kWidestSerial = "00000";
const QString kWidestDate = "00.0000";
const QString kWidestVersion = "000.000 ";

QLabel* IdentityText(QWidget* parent, const QString& name, const QString& widest,
                     Qt::Alignment alignment) {
    auto* text = new IdentityField(widest, alignment, parent);
    text->setObjectName(name);
    return text;
}

} // namespace

DevicePage::DevicePage(PageHost& host, QWidget* parent)
    : CatalogueGridPage(host, "AdvColumnGrid_ConfDevice", parent) {
    AdvColumnGrid_ConfDevice = Grid();
    AdvColumnGrid_ConfDevice->setColumnWidth(0, kNameColumnWidth);
    AdvColumnGrid_ConfDevice->SetEditorProvider(
        [this](int row, int column) { return AdvColumnGrid_ConfDeviceGetEditorType(row, column); });

    StaticText_NumInfo = IdentityText(this, "StaticText_NumInfo", kWidestSerial, Qt::AlignRight);
    StaticText_ModelInfo =
        IdentityText(this, "StaticText_ModelInfo", ToQString(kModelPlaceholderText), Qt::AlignLeft);
    StaticText_VerInfo = IdentityText(this, "StaticText_VerInfo", kWidestVersion, Qt::AlignLeft);
    StaticText_ProductionDateInfo =
        IdentityText(this, "StaticText_ProductionDateInfo", kWidestDate, Qt::AlignRight);
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
    identity->addItem(new QSpacerItem(kIdentityGap, 0, QSizePolicy::Preferred), 0, 2);
    identity->setColumnMinimumWidth(2, kNarrowIdentityGap);
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
