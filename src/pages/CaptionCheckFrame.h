#pragma once

#include <QGroupBox>

class QCheckBox;

namespace kt41::pages {

// A frame with a check box on its caption line, in front of the caption text.
// The caption leaves blanks at its start for the box; the box is a control of
// its own (name, hint, enabled state), not the frame's checkable title, so the
// frame's other controls do not follow it.
class CaptionCheckFrame : public QGroupBox {
    Q_OBJECT
public:
    CaptionCheckFrame(const QString& caption, const QString& checkBoxName,
                      QWidget* parent = nullptr);

    QCheckBox* CheckBox() const { return checkBox_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PlaceCheckBox();

    QCheckBox* checkBox_;
};

} // namespace kt41::pages
