#pragma once

#include <QDialog>
#include <QStringList>

class QKeyEvent;
class QListWidget;

namespace kt41::dialogs {

// A choice from a short list (the thermometer type of a calibration): a
// captioned dialog whose client is one list box. Enter or a double click
// accept the highlighted entry; Esc, or closing the window without accepting,
// cancels. Up on the first entry goes to the last, Down on the last to the
// first.
class TForm_Sel : public QDialog {
    Q_OBJECT
public:
    static constexpr int kModalResultOk = 1;
    static constexpr int kModalResultCancel = 2;
    static constexpr int kItemHeight = 20;
    static constexpr int kFontPixels = 16;

    explicit TForm_Sel(QWidget* parent = nullptr);

    void FormCreate() {}
    // What the caller does before showing: clears the list and adds the
    // choices, sizes the window to the text of the second (or only) choice and
    // highlights `preselected` when it is an entry's index (none otherwise).
    void PrepareChoices(const QStringList& choices, int preselected);

    // The outcome of the latest showing: accepted, and the entry highlighted
    // at that moment (-1 for none).
    bool Accepted() const { return accepted_; }
    int ChosenIndex() const { return chosen_; }
    // The last decisive key: Qt::Key_Return / Key_Enter, Key_Escape, or 0 for
    // a double click or a close without a key.
    int LastKey() const { return lastKey_; }
    // The highlighted (selected) entry; -1 for none. Enter with no entry
    // highlighted accepts nothing and counts as a cancel.
    int HighlightedIndex() const;

    // --- handlers --------------------------------------------------------------
    // Enter accepts, Esc cancels; true when the key was taken.
    bool ListBox1KeyPress(int key);
    void ListBox1DblClick();
    // Up on the first entry and Down on the last wrap round; true when the key
    // was consumed.
    bool ListBox1KeyDown(int key);
    void FormClose();

    void done(int result) override;

    QListWidget* ListBox1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Accept(int key);

    bool accepted_ = false;
    int chosen_ = -1;
    int lastKey_ = 0;
};

} // namespace kt41::dialogs
