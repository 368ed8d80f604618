#pragma once

#include <QColor>
#include <QWidget>

namespace kt41::pages {

// A round lamp filled with one colour: the drive and pump state indicators of
// the manual page. It takes no input.
class IndicatorShape : public QWidget {
    Q_OBJECT
public:
    explicit IndicatorShape(const QString& name, const QString& hint, QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const { return color_; }

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};

} // namespace kt41::pages
