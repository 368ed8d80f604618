#include "WorkingCopyDialog.h"

#include "gui/GeneralError.h"
#include "gui/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>
#include <QShowEvent>

namespace kt41::dialogs {

WorkingCopyDialog::WorkingCopyDialog(device::TKT41& model, const QString& windowName,
                                     const QString& caption, QWidget* parent)
    : QDialog(parent), Model(model) {
    setObjectName(windowName);
    setWindowTitle(caption);
    setModal(true);
    // System menu and minimize button only; a dialog of fixed size has no
    // minimize button either (gui::SetFixedDialogFrame).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

int WorkingCopyDialog::EditContour(int contour) {
    gui::CenterWindow(*this, parentWidget());
    LoadWorkingCopy(contour);
    const int result = ShowModal();
    if (result == mrOk) {
        StoreWorkingCopy(contour);
    }
    return result;
}

QHBoxLayout* WorkingCopyDialog::ButtonStrip() {
    Button_OK = new QPushButton("OK");
    Button_OK->setObjectName("Button_OK");
    Button_Cancel = new QPushButton("Cancel");
    Button_Cancel->setObjectName("Button_Cancel");
    connect(Button_OK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    auto* strip = new QHBoxLayout;
    strip->addStretch(1);
    strip->addWidget(Button_OK);
    strip->addWidget(Button_Cancel);
    return strip;
}

void WorkingCopyDialog::ResizeToShow(QWidget& content, QSize contentSize) {
    QLayout* box = layout();
    if (box == nullptr) {
        resize(contentSize.expandedTo(minimumSize()));
        return;
    }
    // The layout's minimum with the content held at contentSize.
    const QSize kept = content.minimumSize();
    content.setMinimumSize(contentSize);
    box->invalidate();
    const QSize needed = box->totalMinimumSize();
    content.setMinimumSize(kept);
    box->invalidate();
    resize(needed.expandedTo(minimumSize()));
}

void WorkingCopyDialog::showEvent(QShowEvent* event) {
    // A window restored from the task bar is not a new showing.
    if (!event->spontaneous()) {
        gui::RunGuarded([this] { FormShow(); });
    }
    QDialog::showEvent(event);
}

void WorkingCopyDialog::done(int result) {
    if (isVisible()) {
        gui::RunGuarded([this] { FormClose(); });
    }
    QDialog::done(result);
}

void WorkingCopyDialog::reject() {
    done(mrCancel);
}

} // namespace kt41::dialogs
