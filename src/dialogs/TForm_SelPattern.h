#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QListWidget;

namespace kt41::dialogs {

// "Выбор шаблона": the choice of the workbook template of an archive export
// among the templates (*.xltx) of the template folder. Created once at
// start-up and shown modally.
class TForm_SelPattern : public QDialog {
    Q_OBJECT
public:
    static constexpr int kModalResultOk = 1;
    static constexpr int kModalResultCancel = 2;
    // The height of one entry of the list.
    static constexpr int kItemHeight = 16;

    explicit TForm_SelPattern(QWidget* parent = nullptr);

    void FormCreate() {}

    // The choice of the archive export: lists the templates of folder (made
    // when missing); with none shows "Нет ни одного шаблона архива в папке: "
    // and the folder, and returns nothing; otherwise selects the first, sizes
    // the window to the list and shows it centred on its parent. The chosen
    // template's name without its extension, nothing when the choice was
    // cancelled.
    std::optional<QString> ChooseTemplate(const QString& folder);

    // Lists the *.xltx files of folder by their names without the extension,
    // sorted alphabetically; returns how many there are.
    int FillList(const QString& folder);
    // The selected entry's text; empty when none is selected.
    QString SelectedTemplate() const;

    // Enter or a double click choose the selected entry, Esc cancels.
    void ListBox1DblClick();
    void reject() override;

    QListWidget* ListBox1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Up on the first entry goes to the last, Down on the last to the first;
    // true when the key is consumed.
    bool ListBox1KeyDown(int key);
    void FitToList();
};

} // namespace kt41::dialogs
