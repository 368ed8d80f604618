#pragma once

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

class QLabel;

namespace kt41::dialogs {

// The prompt of a calibration step ("Установите значение сопротивления ..."):
// a sizeable tool window whose client is one panel of rich text, bold,
// centred, 9 points. Enter, Space or a click on the panel continue
// (kModalResultOk); Esc or closing the window cancel; other keys do nothing.
class TForm_Dialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kModalResultOk = 1;
    static constexpr int kModalResultCancel = 2;
    static constexpr int kFontPoints = 9;

    explicit TForm_Dialog(QWidget* parent = nullptr);

    void FormCreate() {}
    // Sets the prompt, one markup line per entry; an empty entry is an extra
    // line break. The window takes the size of its text.
    void SetLines(const std::vector<std::string>& lines);
    // The lines last set, as given.
    const QStringList& Lines() const { return lines_; }
    // The markup of lines: bold, centred, size 9, lines separated by breaks.
    static QString Markup(const QStringList& lines);

    // --- handlers --------------------------------------------------------------
    // Enter or Space: OK; Esc: cancel; true when the key was one of them.
    bool FormKeyPress(int key);
    void AdvPanel2Click();

    void reject() override; // Esc and the close button: kModalResultCancel

    QLabel* AdvPanel2 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList lines_;
};

} // namespace kt41::dialogs
