#pragma once

#include <QChartView>

#include <functional>

namespace kt41::pages {

// The chart view of a trend plot: a dragged rectangle zooms in, a double
// click resets the zoom, and the mouse position shows a tooltip with the text
// the plot gives for it.
class TrendChartView : public QChartView {
public:
    TrendChartView(QChart* chart, QWidget* parent);

    // The tooltip text at a position of the view (empty: no tooltip).
    std::function<QString(QPoint)> HoverText;
    // What a double click does.
    std::function<void()> ResetZoom;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

} // namespace kt41::pages
