#pragma once

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

namespace kt41::gui {

// Spin boxes that let the user type a number beyond the limits and replace it by
// the nearest limit when the edit ends (a plain QSpinBox refuses the keystroke or
// falls back to the previous value instead).
class ClampingSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit ClampingSpinBox(QWidget* parent = nullptr);

    // The typed number brought within the limits; the last valid value when the
    // text is not a number at all.
    int ClampedValue() const;

    void stepBy(int steps) override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    QString typed_; // the text as the user typed it, until a step button changes it
};

class ClampingDoubleSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit ClampingDoubleSpinBox(QWidget* parent = nullptr);

    double ClampedValue() const;
    // The clamped value as text with the box's decimals and a point as separator.
    QString ClampedText() const;

    void stepBy(int steps) override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    bool ParseText(const QString& text, double& value) const;
    QString Source() const { return typed_.isEmpty() ? lineEdit()->text() : typed_; }

    QString typed_;
};

} // namespace kt41::gui
