#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kt41::config_file {
struct TComparison;
}

namespace kt41::gui {
class ParamGrid;
}

namespace kt41::dialogs {

// "Сравнение настройки": the differences between the pages' configuration and
// a file's or the controller's, one row each (page, parameter, on the pages,
// in the other), read only. The identity rows come last, shaded: a write
// never changes them. Shown without blocking, so that the main window stays
// usable while it is open.
class TForm_Compare : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Compare(QWidget* parent = nullptr);

    // Fills the table. otherHeading names the last column ("В файле",
    // "В приборе"); source is shown above the table (the file's name or the
    // controller's address).
    void ShowComparison(const config_file::TComparison& comparison, const QString& otherHeading,
                        const QString& source);

    QLabel* Label_Source = nullptr;
    QLabel* Label_Summary = nullptr; // "Нет различий" or the number of differences
    gui::ParamGrid* Grid_Compare = nullptr;
    QPushButton* Button_Close = nullptr;
};

} // namespace kt41::dialogs
