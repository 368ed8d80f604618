#pragma once

#include <QDialog>
#include <QString>

class QHBoxLayout;
class QPushButton;

namespace kt41::device {
class TKT41;
}

namespace kt41::dialogs {

// Modal results of the program's dialogs.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// A modal dialog that edits a working copy of one contour's data. It is
// created once at start-up as a child window of the main window (so it is
// destroyed with it and never appears on the task bar) and shown again at
// every opening:
//
//   EditContour(contour): centre on the main window, copy the contour's data
//   from the model, show modally, and store the copy back only when the dialog
//   ends with OK.
//
// FormShow runs each time the dialog is shown and FormClose each time it
// closes, whatever the result (OK, Cancel, Esc or the window's close button).
class WorkingCopyDialog : public QDialog {
    Q_OBJECT
public:
    // windowName: the object name, also the subkey of the stored placement.
    WorkingCopyDialog(device::TKT41& model, const QString& windowName, const QString& caption,
                      QWidget* parent);

    // Runs the opening sequence above and returns the modal result.
    int EditContour(int contour);

    // Shows the dialog modally and returns its modal result.
    int ShowModal() { return exec(); }

    virtual void FormCreate() = 0;
    virtual void FormShow() = 0;
    virtual void FormClose() = 0;

    void done(int result) override;
    void reject() override; // Esc and the close button give Cancel

    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;

protected:
    // Fill the working copy from the model, store it back into the model.
    virtual void LoadWorkingCopy(int contour) = 0;
    virtual void StoreWorkingCopy(int contour) = 0;

    // The OK (result 1) and Cancel (result 2) buttons, right-aligned.
    QHBoxLayout* ButtonStrip();

    // Resizes the window so that content, the stretching part of its layout,
    // gets contentSize; never below the minimum size.
    void ResizeToShow(QWidget& content, QSize contentSize);

    void showEvent(QShowEvent* event) override;

    device::TKT41& Model;
};

} // namespace kt41::dialogs
