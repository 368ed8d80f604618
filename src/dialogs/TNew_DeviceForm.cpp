#include "TNew_DeviceForm.h"

#include "gui/DialogFrame.h"
#include "gui/Prompt.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kt41::dialogs {

namespace {

// Three positions, each an optional digit; a blank position shows "_".
const QString kMask = "000;_";
constexpr QChar kBlank = '_';

} // namespace

TNew_DeviceForm::TNew_DeviceForm(QWidget* parent) : QDialog(parent) {
    setObjectName("New_DeviceForm");
    setWindowTitle("Введите адрес прибора");
    gui::SetFixedDialogFrame(*this);
    setModal(true);

    Label1 = new QLabel("Сетевой адрес прибора");
    Label1->setObjectName("Label1");
    MaskEdit1 = new QLineEdit;
    MaskEdit1->setObjectName("MaskEdit1");
    MaskEdit1->setInputMask(kMask);
    MaskEdit1->setAlignment(Qt::AlignCenter);
    MaskEdit1->setFixedWidth(MaskEdit1->fontMetrics().horizontalAdvance("0000000") + 12);
    MaskEdit1->installEventFilter(this);
    Label1->setBuddy(MaskEdit1);
    Button1 = new QPushButton("Есть");
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("Отмена");
    Button2->setObjectName("Button2");

    auto* entry = new QHBoxLayout;
    entry->addWidget(Label1);
    entry->addWidget(MaskEdit1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    // Wide enough for the caption in the title bar, whose font is not ours.
    layout->addStrut(gui::TitleBarWidth(windowTitle(), font()));
    setTabOrder(MaskEdit1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TNew_DeviceForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { done(kModalResultCancel); });
}

void TNew_DeviceForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TNew_DeviceForm::FormShow() {
    MaskEdit1->setFocus(Qt::OtherFocusReason);
    MaskEdit1->selectAll(); // typing replaces the address of the last time
}

QString TNew_DeviceForm::EntryText() const {
    QString text = MaskEdit1->displayText();
    while (text.endsWith(kBlank)) {
        text.chop(1);
    }
    return text;
}

int TNew_DeviceForm::Address() const {
    return EntryText().toInt() & 0xFFFF;
}

void TNew_DeviceForm::Button1Click() {
    const QString text = EntryText();
    if (text.isEmpty()) {
        gui::ShowWarningBox(this, "Не задан сетевой адрес прибора");
        return;
    }
    // A blank left inside the entry ("1_2") is no number: it is refused like
    // an address out of range.
    bool number = false;
    const int address = text.toInt(&number) & 0xFFFF;
    if (number && address >= kFirstAddress && address <= kLastAddress) {
        done(kModalResultYes);
        return;
    }
    gui::ShowWarningBox(this, "Сетевой адрес прибора не может быть " + text + " !  ");
}

void TNew_DeviceForm::reject() {
    done(kModalResultCancel);
}

bool TNew_DeviceForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MaskEdit1 && event->type() == QEvent::KeyPress) {
        return MaskEdit1KeyPress(static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

bool TNew_DeviceForm::MaskEdit1KeyPress(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        focusNextChild(); // to "Есть"; a second Enter presses it
        return true;
    case Qt::Key_Escape:
        Button2->click();
        return true;
    default:
        break;
    }
    // Editing and moving keys pass; of the characters only digits do.
    const QString text = event->text();
    if (text.isEmpty() || !text.front().isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        return false;
    }
    for (QChar c : text) {
        if (c < '0' || c > '9') {
            return true;
        }
    }
    return false;
}

} // namespace kt41::dialogs
