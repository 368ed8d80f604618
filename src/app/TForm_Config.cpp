#include "TForm_Config.h"

#include "Folders.h"
#include "PortComboBox.h"
#include "catalogue/ChoiceLists.h"
#include "driver/ComPort.h"
#include "gui/DialogFrame.h"
#include "gui/Prompt.h"
#include "gui/RegistryTree.h"
#include "gui/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kt41::app {

namespace {

constexpr int kMinMeasures = 16;
constexpr int kMaxMeasures = 100;
const QString kNo = "Нет";
const QString kYes = "Да";

template <class W>
W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QComboBox* LineModeList(const QString& name) {
    auto* box = Named(new QComboBox, name);
    box->addItems({kNo, kYes});
    return box;
}

void SelectLineMode(QComboBox* box, const QVariant& stored) {
    const int index = box->findText(stored.isValid() ? stored.toString() : kNo);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

} // namespace

TForm_Config::TForm_Config(driver::ComPort& port, gui::RunTimeSettings& settings, Options options,
                           QWidget* parent)
    : QDialog(parent), port_(port), settings_(settings), options_(std::move(options)) {
    setObjectName("Form_Config");
    setWindowTitle("Настройка");
    gui::SetFixedDialogFrame(*this);
    setModal(true);
    BuildControls();
}

void TForm_Config::BuildControls() {
    ComComboBox1 = Named(new PortComboBox, "ComComboBox1");
    ComComboBox1->setMinimumWidth(160);
    // Besides the serial ports present, a Modbus TCP gateway can be typed in
    // as tcp://host:port.
    ComComboBox1->setEditable(true);
    ComComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComComboBox1->setToolTip("Последовательный порт, или шлюз Modbus TCP: tcp://адрес:порт");
    ComboBox_DTR = LineModeList("ComboBox_DTR");
    ComboBox_RTS = LineModeList("ComboBox_RTS");
    SpinEdit_AmountMeasure = Named(new QSpinBox, "SpinEdit_AmountMeasure");
    SpinEdit_AmountMeasure->setRange(kMinMeasures, kMaxMeasures);
    SpinEdit_AmountMeasure->setToolTip("Количество измерений (16..100)");
    Edit_SavePath = Named(new QLineEdit, "Edit_SavePath");
    Edit_SavePathArx = Named(new QLineEdit, "Edit_SavePathArx");
    for (QLineEdit* edit : {Edit_SavePath, Edit_SavePathArx}) {
        edit->setMinimumWidth(460);
        // The start of a long path is the telling part: show it, and all of it on hover.
        connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
            edit->setToolTip(text);
            if (!edit->hasFocus()) {
                edit->setCursorPosition(0);
            }
        });
    }
    Button_BrowseSavePath = Named(new QPushButton("..."), "Button_BrowseSavePath");
    Button_BrowseSavePathArx = Named(new QPushButton("..."), "Button_BrowseSavePathArx");
    for (QPushButton* browse : {Button_BrowseSavePath, Button_BrowseSavePathArx}) {
        browse->setFixedWidth(32);
        browse->setAutoDefault(false);
        browse->setToolTip("Выбрать каталог");
    }
    CheckBox_ZeroNumID = Named(new QCheckBox("Соединяться по 253 адресу"), "CheckBox_ZeroNumID");
    CheckBox_ReadConfig = Named(new QCheckBox("Выполнять чтение настройки\n"
                                              "прибора  KT-41  при  проверке\n"
                                              "соединения с прибором"),
                                "CheckBox_ReadConfig");
    ComboBox_Speed = Named(new QComboBox, "ComboBox_Speed");
    for (const std::string_view speed : catalogue::kSpeedList) {
        ComboBox_Speed->addItem(QString::fromUtf8(speed.data(), qsizetype(speed.size())));
    }
    ComboBox_Speed->setToolTip("Скорость линии, на которой программа соединяется с прибором");
    CheckBox_Backup =
        Named(new QCheckBox("Сохранять копию настройки прибора перед записью"), "CheckBox_Backup");
    CheckBox_Backup->setToolTip("Перед записью настройка прибора читается и сохраняется\n"
                                "в папке «Резервные копии» каталога настроек");
    Button1 = Named(new QPushButton("OK"), "Button1");
    Button2 = Named(new QPushButton("Отмена"), "Button2");
    Button3 = Named(new QPushButton("Применить"), "Button3");
    Button1->setDefault(true);
    Button2->setAutoDefault(false);
    Button3->setAutoDefault(false);

    auto* lines = new QGridLayout;
    lines->addWidget(new QLabel("СOM порт"), 0, 0);
    lines->addWidget(ComComboBox1, 0, 1, 1, 3);
    lines->addWidget(new QLabel("DTR"), 1, 0);
    lines->addWidget(ComboBox_DTR, 1, 1);
    auto* rtsLabel = new QLabel("RTS");
    rtsLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lines->addWidget(rtsLabel, 1, 2);
    lines->addWidget(ComboBox_RTS, 1, 3);
    lines->addWidget(new QLabel("Количество измерений при\nкалибровке T, °C и P, МПа"), 2, 0);
    lines->addWidget(SpinEdit_AmountMeasure, 2, 1);
    lines->addWidget(new QLabel("Скорость, бит/с"), 3, 0);
    lines->addWidget(ComboBox_Speed, 3, 1);
    lines->setColumnStretch(4, 1);

    auto folderRow = [](QLineEdit* edit, QPushButton* browse) {
        auto* row = new QHBoxLayout;
        row->setSpacing(4);
        row->addWidget(edit, 1);
        row->addWidget(browse);
        return row;
    };

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(lines);
    layout->addSpacing(6);
    layout->addWidget(new QLabel("Каталог для сохранения настроек: "));
    layout->addLayout(folderRow(Edit_SavePath, Button_BrowseSavePath));
    layout->addWidget(new QLabel("Каталог для сохранения архивов: "));
    layout->addLayout(folderRow(Edit_SavePathArx, Button_BrowseSavePathArx));
    layout->addSpacing(6);
    layout->addWidget(CheckBox_ZeroNumID);
    layout->addWidget(CheckBox_ReadConfig);
    layout->addWidget(CheckBox_Backup);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(ComComboBox1, &PortComboBox::DropDown, this, &TForm_Config::ComComboBox1DropDown);
    for (QComboBox* box :
         {static_cast<QComboBox*>(ComComboBox1), ComboBox_DTR, ComboBox_RTS, ComboBox_Speed}) {
        connect(box, &QComboBox::currentIndexChanged, this, &TForm_Config::ComComboBox1Change);
    }
    connect(ComComboBox1, &QComboBox::editTextChanged, this, &TForm_Config::ComComboBox1Change);
    connect(SpinEdit_AmountMeasure, &QSpinBox::valueChanged, this,
            &TForm_Config::ComComboBox1Change);
    for (QCheckBox* box : {CheckBox_ZeroNumID, CheckBox_ReadConfig, CheckBox_Backup}) {
        connect(box, &QCheckBox::toggled, this, &TForm_Config::ComComboBox1Change);
    }
    connect(Button_BrowseSavePath, &QPushButton::clicked, this, &TForm_Config::BrowseConfigFolder);
    connect(Button_BrowseSavePathArx, &QPushButton::clicked, this,
            &TForm_Config::BrowseArchiveFolder);
    connect(Button1, &QPushButton::clicked, this, &TForm_Config::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_Config::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_Config::Button3Click);
}

void TForm_Config::FormCreate() {
    Load();
}

void TForm_Config::FillPortList(const QString& gateway) {
    QStringList ports;
    try {
        ports = options_.ListPorts ? options_.ListPorts() : QStringList{};
    } catch (...) {
        ports.clear(); // a failing port service leaves the list empty
    }
    ComComboBox1->clear();
    ComComboBox1->addItems(ports);
    if (IsGatewayPortName(gateway)) {
        KeepInList(gateway);
    }
    settings_.PortsPresent = ComComboBox1->count() > 0;
}

void TForm_Config::KeepInList(const QString& name) {
    if (!name.isEmpty() && ComComboBox1->findText(name) < 0) {
        ComComboBox1->addItem(name);
    }
}

void TForm_Config::Load() {
    const QSignalBlocker blockPorts(ComComboBox1);
    const QSignalBlocker blockDtr(ComboBox_DTR);
    const QSignalBlocker blockRts(ComboBox_RTS);
    const QSignalBlocker blockCount(SpinEdit_AmountMeasure);
    const QSignalBlocker blockZero(CheckBox_ZeroNumID);
    const QSignalBlocker blockRead(CheckBox_ReadConfig);
    const QSignalBlocker blockSpeed(ComboBox_Speed);
    const QSignalBlocker blockBackup(CheckBox_Backup);

    auto settings = gui::OpenUserSettings();
    FillPortList(settings->value(gui::key::ComPort).toString());

    int portIndex = ComComboBox1->findText(settings->value(gui::key::ComPort).toString());
    if (!settings->contains(gui::key::ComPort)) {
        portIndex = -1;
    }
    if (!options_.PreferredPort.isEmpty() && ComComboBox1->findText(options_.PreferredPort) >= 0) {
        portIndex = ComComboBox1->findText(options_.PreferredPort);
    }
    ComComboBox1->setCurrentIndex(portIndex);

    SelectLineMode(ComboBox_DTR, settings->value(gui::key::DTR));
    SelectLineMode(ComboBox_RTS, settings->value(gui::key::RTS));

    if (settings->contains(gui::key::Savepath_Arx)) {
        Edit_SavePathArx->setText(settings->value(gui::key::Savepath_Arx).toString());
    } else {
        Edit_SavePathArx->setText(DefaultArchiveFolder());
        PrepareArchiveFolders();
    }
    settings_.ArchiveFolder = Edit_SavePathArx->text();

    if (settings->contains(gui::key::Save_path)) {
        Edit_SavePath->setText(settings->value(gui::key::Save_path).toString());
    } else {
        Edit_SavePath->setText(DefaultConfigFolder());
        PrepareConfigFolders();
    }
    settings_.ConfigFolder = Edit_SavePath->text();

    settings_.ReadConfig = settings->value(gui::key::ReadConfig, 0).toInt() != 0;
    settings_.ZeroNumID = settings->value(gui::key::ZeroNumID, 0).toInt() != 0;
    CheckBox_ReadConfig->setChecked(settings_.ReadConfig);
    CheckBox_ZeroNumID->setChecked(settings_.ZeroNumID);

    SpinEdit_AmountMeasure->setValue(
        settings->value(gui::key::amount_measure, kMinMeasures).toInt());
    settings_.AmountMeasure = std::uint8_t(SpinEdit_AmountMeasure->value());

    settings_.BackupBeforeWrite = settings->value(gui::key::BackupBeforeWrite, 1).toInt() != 0;
    CheckBox_Backup->setChecked(settings_.BackupBeforeWrite);
    const int speed = ComboBox_Speed->findText(settings->value(gui::key::BaudRate).toString());
    ComboBox_Speed->setCurrentIndex(speed >= 0 ? speed : 0);

    port_.PortName = portIndex >= 0 ? ComComboBox1->currentText().toStdString() : std::string();
    // The speed is kept with the port: in force from the start, as its name.
    port_.BaudRate = ComboBox_Speed->currentText().toUInt();
    Button3->setEnabled(false);
}

void TForm_Config::PrepareArchiveFolders() {
    EnsureFolder(DefaultArchiveFolder());
    const QString templates = TemplateFolder();
    EnsureFolder(templates);
    CopyFileIfMissing(QDir(ProgramFolder()).filePath(kTemplateSubfolder + "/" + kDeliveredTemplate),
                      QDir(templates).filePath(kCopiedTemplate));
}

void TForm_Config::PrepareConfigFolders() {
    EnsureFolder(DefaultConfigFolder());
    const QString rescue = RescueFolder();
    EnsureFolder(rescue);
    CopyFileIfMissing(QDir(ProgramFolder()).filePath(kConfigSubfolder + "/" + kRescueConfiguration),
                      QDir(rescue).filePath(kRescueConfiguration));
}

void TForm_Config::ComComboBox1DropDown() {
    const QString selected = ComComboBox1->currentText();
    const QSignalBlocker block(ComComboBox1);
    FillPortList(selected);
    ComComboBox1->setCurrentIndex(ComComboBox1->findText(selected));
}

void TForm_Config::ComComboBox1Change() {
    Button1->setEnabled(true);
    Button3->setEnabled(true);
}

void TForm_Config::Store() {
    auto settings = gui::OpenUserSettings();
    settings->setValue(gui::key::ComPort, ComComboBox1->currentText());
    settings->setValue(gui::key::DTR, ComboBox_DTR->currentText());
    settings->setValue(gui::key::RTS, ComboBox_RTS->currentText());
    settings->setValue(gui::key::Savepath_Arx, Edit_SavePathArx->text());
    settings->setValue(gui::key::Save_path, Edit_SavePath->text());
    settings_.ReadConfig = CheckBox_ReadConfig->isChecked();
    settings_.ZeroNumID = CheckBox_ZeroNumID->isChecked();
    settings_.AmountMeasure = std::uint8_t(SpinEdit_AmountMeasure->value());
    settings->setValue(gui::key::ReadConfig, settings_.ReadConfig ? 1 : 0);
    settings->setValue(gui::key::ZeroNumID, settings_.ZeroNumID ? 1 : 0);
    settings->setValue(gui::key::amount_measure, int(settings_.AmountMeasure));
    settings_.BackupBeforeWrite = CheckBox_Backup->isChecked();
    settings->setValue(gui::key::BackupBeforeWrite, settings_.BackupBeforeWrite ? 1 : 0);
    settings->setValue(gui::key::BaudRate, ComboBox_Speed->currentText().toInt());
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw gui::RegistryError(QString("Failed to set data for '%1'").arg(gui::key::ComPort));
    }
}

void TForm_Config::ApplyToPort() {
    const QString name = ComComboBox1->currentText();
    {
        // A name typed into the list (a gateway, or a device the system does
        // not list, such as kt41-sim's pseudo-terminal) becomes one of its
        // entries; of those only gateways are listed again at the next start.
        const QSignalBlocker block(ComComboBox1);
        KeepInList(name);
        ComComboBox1->setCurrentIndex(ComComboBox1->findText(name));
        settings_.PortsPresent = ComComboBox1->count() > 0;
    }
    port_.PortName = name.toStdString();
    port_.Dtr = ComboBox_DTR->currentText() == kYes;
    port_.Rts = ComboBox_RTS->currentText() == kYes;
    port_.BaudRate = ComboBox_Speed->currentText().toUInt();
}

void TForm_Config::Button1Click() {
    Store();
    QDialog::accept();
}

void TForm_Config::Button2Click() {
    QDialog::reject();
    Load();
}

void TForm_Config::Button3Click() {
    ApplyToPort();
    settings_.ArchiveFolder = Edit_SavePathArx->text();
    settings_.ConfigFolder = Edit_SavePath->text();
    Store();
    Button3->setEnabled(false);
}

void TForm_Config::reject() {
    Button2Click();
}

namespace {

void Browse(QWidget* owner, QLineEdit* field) {
    gui::FolderRequest request;
    request.Caption = "Выбор каталога";
    request.StartFolder = field->text();
    request.Owner = owner;
    if (auto folder = gui::CurrentPrompt().ChooseFolder(request)) {
        field->setText(*folder);
    }
}

} // namespace

void TForm_Config::BrowseConfigFolder() {
    const QString before = Edit_SavePath->text();
    Browse(this, Edit_SavePath);
    if (Edit_SavePath->text() != before) {
        ComComboBox1Change();
    }
}

void TForm_Config::BrowseArchiveFolder() {
    const QString before = Edit_SavePathArx->text();
    Browse(this, Edit_SavePathArx);
    if (Edit_SavePathArx->text() != before) {
        ComComboBox1Change();
    }
}

} // namespace kt41::app
