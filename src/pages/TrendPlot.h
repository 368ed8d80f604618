#pragma once

#include "device/Records.h"
#include "device/Trend.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <limits>
#include <vector>

class QChart;
class QDateTime;
class QDateTimeAxis;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QTimer;
class QValueAxis;
class QXYSeries;

namespace kt41::pages {

class TrendChartView;

// Local date-time and trend time (seconds of the local wall clock).
device::TrendTime TrendTimeOf(const QDateTime& local);
QDateTime DateTimeOf(device::TrendTime time);

// A trend plot of the controller's readings (device::Trend) on a chart: time
// in local time along the bottom, temperatures in °C on the left, the 4-20 mA
// inputs on the right as percent of their value at 20 mA (hovering shows the
// true value and unit). A curve with gaps is drawn as separate line segments
// under one legend entry; a click on the entry hides or shows all of them.
// Dragging a rectangle zooms in, a double click resets the zoom, and
// "Сохранить график..." saves the chart as PNG through the prompt interface.
class TrendPlot : public QWidget {
    Q_OBJECT

public:
    // maxStep: the largest time step (seconds) drawn as a line.
    TrendPlot(device::TrendTime maxStep, QWidget* parent = nullptr);
    ~TrendPlot() override;

    // Names, units and 20 mA values of the four 4-20 mA inputs.
    void SetInputs(const std::array<device::TInputAnalog, 4>& inputs);
    // One archive hour; a non-empty note marks the hour on the time axis.
    void AddArchiveRecord(const device::TArxRecord& record, const QString& note);
    // One successful poll at `time`.
    void AddCurrentData(device::TrendTime time, const device::TCurrentData& data);
    // A gap in every curve (a failed poll, a pause).
    void Break();
    // Keeps the points at or after `time`.
    void DropBefore(device::TrendTime time);
    void Clear();
    // While on (an archive read runs), new points reach the chart at most
    // every kRedrawInterval ms: the line series, the axes and the view follow
    // the data only then, since that costs more than adding a point (Data()
    // has every point at once). Off again, the chart is brought up to date.
    void SetDeferredRedraw(bool on);
    static constexpr int kRedrawInterval = 250;
    // The folder and name the save dialog proposes.
    void SetSaveProposal(const QString& folder, const QString& name) {
        saveFolder_ = folder;
        saveFileName_ = name;
    }

    const device::Trend& Data() const { return trend_; }
    QChart* Chart() const { return chart_; }
    TrendChartView* View() const { return view_; }

    // The curves: the channels of device::TrendChannel, then the event marks.
    static constexpr int kMarksCurve = device::kTrendChannels;
    bool CurveShown(int curve) const { return curves_[std::size_t(curve)].Shown; }
    // What a click on the curve's legend entry does.
    void ToggleCurve(int curve);
    // The line series drawn for a channel, one per segment.
    std::vector<QLineSeries*> SegmentsOf(int channel) const;
    // The tooltip at a position of the view: time, name and value of the
    // nearest shown point (or the note of a mark); empty when none is near.
    QString HoverText(QPoint viewPosition) const;
    // The chart as a PNG file; false when it could not be written.
    bool SavePng(const QString& path);
    // "Сохранить график...": asks for a file and saves to it.
    void SaveButtonClick();

    QPushButton* SaveButton = nullptr;

private:
    struct Curve {
        QXYSeries* Legend = nullptr;     // carries the legend entry
        std::vector<QLineSeries*> Parts; // one per segment (channels)
        std::size_t DroppedParts = 0;    // segments removed so far
        bool Shown = true;
    };
    // What the axes must show: the times and plotted values of all points.
    struct Extent {
        device::TrendTime First = std::numeric_limits<device::TrendTime>::max();
        device::TrendTime Last = std::numeric_limits<device::TrendTime>::min();
        double Low = std::numeric_limits<double>::max();
        double High = std::numeric_limits<double>::lowest();
        double PercentHigh = 100.0;
    };

    void AddCurve(const QString& name, QXYSeries* legend, bool percentAxis);
    void Sync();
    void SyncChannel(int channel);
    void SyncMarks();
    void Widen(int channel, device::TrendTime time, double plotted);
    void RescanExtent();
    void PointsAdded();
    void Redraw();
    void UpdateRanges();
    void ResetZoom();
    void HideLegendOf(QXYSeries* series);
    QString ValueText(int channel, double value) const;
    double PlotValue(int channel, double value) const;
    QString ChannelName(int channel) const;

    device::Trend trend_;
    std::array<device::TInputAnalog, 4> inputs_{};
    QChart* chart_ = nullptr;
    TrendChartView* view_ = nullptr;
    QDateTimeAxis* timeAxis_ = nullptr;
    QValueAxis* temperatureAxis_ = nullptr;
    QValueAxis* percentAxis_ = nullptr;
    QScatterSeries* marks_ = nullptr;
    std::vector<Curve> curves_;
    Extent extent_;
    bool deferred_ = false;
    QElapsedTimer sinceRedraw_;
    QTimer* redrawLater_ = nullptr; // the redraw after the last deferred point
    QString saveFolder_;
    QString saveFileName_ = "График.png";
};

} // namespace kt41::pages
