#include "TrendPlot.h"

#include "TrendChartView.h"
#include "gui/Prompt.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPushButton>
#include <QScatterSeries>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kt41::pages {

using device::TrendPoint;
using device::TrendSegment;
using device::TrendTime;

namespace {

// How close (pixels) the mouse must come to a point for its tooltip.
constexpr double kHoverReach = 16.0;

struct ChannelLook {
    const char* Name;
    QColor Color;
    Qt::PenStyle Style;
};

// T1..T6, the two setpoints (dashed), the four inputs (dash-dotted).
const std::array<ChannelLook, device::kTrendChannels> kLooks{{
    {"Т1", QColor(214, 39, 40), Qt::SolidLine},
    {"Т2", QColor(31, 119, 180), Qt::SolidLine},
    {"Т3", QColor(44, 160, 44), Qt::SolidLine},
    {"Т4", QColor(255, 127, 14), Qt::SolidLine},
    {"Т5", QColor(148, 103, 189), Qt::SolidLine},
    {"Т6", QColor(140, 86, 75), Qt::SolidLine},
    {"Тздн 1", QColor(227, 119, 194), Qt::DashLine},
    {"Тздн 2", QColor(110, 110, 110), Qt::DashLine},
    {"", QColor(23, 190, 207), Qt::DashDotLine}, // the inputs' names follow their type
    {"", QColor(188, 189, 34), Qt::DashDotLine},
    {"", QColor(57, 59, 121), Qt::DashDotLine},
    {"", QColor(99, 121, 57), Qt::DashDotLine},
}};
const QColor kMarkColor(243, 172, 101);
const QString kPercentTitle = "% от 20 мА";

// By InputType: 0 position, 1 pressure, 2 flow.
const char* const kInputNames[] = {"Поз.", "P", "Расход"};
const char* const kInputUnits[] = {"%", "МПа", "м3/ч"};

bool IsAnalog(int channel) {
    return channel >= device::tcAnalog1;
}

qreal ToAxis(TrendTime time) {
    return qreal(DateTimeOf(time).toMSecsSinceEpoch());
}

} // namespace

TrendTime TrendTimeOf(const QDateTime& local) {
    const QDateTime t = local.toLocalTime();
    const QDate d = t.date();
    const QTime c = t.time();
    return device::TrendTimeOf(d.year(), d.month(), d.day(), c.hour(), c.minute(), c.second());
}

QDateTime DateTimeOf(TrendTime time) {
    const TrendTime days = time >= 0 ? time / 86400 : -((-time + 86399) / 86400);
    const int seconds = int(time - days * 86400);
    return QDateTime(QDate(1970, 1, 1).addDays(days), QTime(0, 0).addSecs(seconds));
}

TrendPlot::TrendPlot(TrendTime maxStep, QWidget* parent) : QWidget(parent), trend_(maxStep) {
    chart_ = new QChart;
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    QFont small = chart_->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    chart_->legend()->setFont(small);
    chart_->setAnimationOptions(QChart::NoAnimation);

    timeAxis_ = new QDateTimeAxis;
    timeAxis_->setFormat("dd.MM HH:mm");
    temperatureAxis_ = new QValueAxis;
    temperatureAxis_->setTitleText("°C");
    temperatureAxis_->setLabelFormat("%.0f");
    percentAxis_ = new QValueAxis;
    percentAxis_->setTitleText(kPercentTitle);
    percentAxis_->setLabelFormat("%.0f");
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(temperatureAxis_, Qt::AlignLeft);
    chart_->addAxis(percentAxis_, Qt::AlignRight);
    // A low plot has no room for the whole title of the right axis.
    connect(chart_, &QChart::plotAreaChanged, this, [this](const QRectF& area) {
        const int needs = QFontMetrics(percentAxis_->titleFont()).horizontalAdvance(kPercentTitle);
        percentAxis_->setTitleText(needs + 8 > area.height() ? "%" : kPercentTitle);
    });

    for (int c = 0; c < device::kTrendChannels; ++c) {
        auto* legend = new QLineSeries;
        QPen pen(kLooks[std::size_t(c)].Color, 1.5, kLooks[std::size_t(c)].Style);
        legend->setPen(pen);
        AddCurve(ChannelName(c), legend, IsAnalog(c));
    }
    marks_ = new QScatterSeries;
    marks_->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    marks_->setMarkerSize(9);
    marks_->setColor(kMarkColor);
    marks_->setBorderColor(kMarkColor.darker(150));
    AddCurve("События", marks_, true);

    view_ = new TrendChartView(chart_, this);
    view_->setObjectName("TrendChartView");
    view_->HoverText = [this](QPoint p) { return HoverText(p); };
    view_->ResetZoom = [this] { ResetZoom(); };

    SaveButton = new QPushButton("Сохранить график...", this);
    SaveButton->setObjectName("TrendPlot_Save");
    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveButtonClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);

    redrawLater_ = new QTimer(this);
    redrawLater_->setSingleShot(true);
    connect(redrawLater_, &QTimer::timeout, this, [this] { Redraw(); });
    UpdateRanges();
}

TrendPlot::~TrendPlot() = default;

void TrendPlot::AddCurve(const QString& name, QXYSeries* legend, bool percentAxis) {
    legend->setName(name);
    chart_->addSeries(legend);
    legend->attachAxis(timeAxis_);
    legend->attachAxis(percentAxis ? percentAxis_ : temperatureAxis_);
    const int index = int(curves_.size());
    curves_.push_back(Curve{legend, {}, 0, true});
    for (QLegendMarker* marker : chart_->legend()->markers(legend)) {
        connect(marker, &QLegendMarker::clicked, this, [this, index] { ToggleCurve(index); });
    }
}

void TrendPlot::SetInputs(const std::array<device::TInputAnalog, 4>& inputs) {
    inputs_ = inputs;
    for (int k = 0; k < 4; ++k) {
        curves_[std::size_t(device::tcAnalog1 + k)].Legend->setName(
            ChannelName(device::tcAnalog1 + k));
    }
    Sync();
    RescanExtent();
    UpdateRanges();
}

void TrendPlot::AddArchiveRecord(const device::TArxRecord& record, const QString& note) {
    trend_.AddArchiveRecord(record);
    if (!note.trimmed().isEmpty()) {
        trend_.AddMark({device::TrendTimeOf(record), note.trimmed().toStdString()});
    }
    PointsAdded();
}

void TrendPlot::AddCurrentData(TrendTime time, const device::TCurrentData& data) {
    std::array<std::uint8_t, 4> types{};
    for (std::size_t k = 0; k < 4; ++k) {
        types[k] = inputs_[k].InputType;
    }
    trend_.AddCurrentData(time, data, types);
    PointsAdded();
}

void TrendPlot::Break() {
    trend_.Break();
}

void TrendPlot::DropBefore(TrendTime time) {
    trend_.DropBefore(time);
    Sync();
    RescanExtent();
    UpdateRanges();
}

void TrendPlot::Clear() {
    trend_.Clear();
    Sync();
    RescanExtent();
    ResetZoom();
}

void TrendPlot::SetDeferredRedraw(bool on) {
    deferred_ = on;
    if (on) {
        sinceRedraw_.start();
    } else {
        Redraw();
    }
}

// The chart takes the new points now, or with the next redraw while redraws
// are deferred: appending to the line series costs more than the points do.
void TrendPlot::PointsAdded() {
    if (!deferred_) {
        Sync();
        UpdateRanges();
        return;
    }
    const qint64 since = sinceRedraw_.elapsed();
    if (since >= kRedrawInterval) {
        Redraw();
        return;
    }
    // The view keeps what it shows until the next redraw; should no more
    // points come, that redraw comes by itself.
    view_->setUpdatesEnabled(false);
    if (!redrawLater_->isActive()) {
        redrawLater_->start(int(kRedrawInterval - since));
    }
}

void TrendPlot::Redraw() {
    redrawLater_->stop();
    Sync();
    UpdateRanges();
    view_->setUpdatesEnabled(true);
    sinceRedraw_.restart();
}

std::vector<QLineSeries*> TrendPlot::SegmentsOf(int channel) const {
    return curves_[std::size_t(channel)].Parts;
}

void TrendPlot::Sync() {
    for (int c = 0; c < device::kTrendChannels; ++c) {
        SyncChannel(c);
    }
    SyncMarks();
}

// The chart mirrors the trend's segments: the trend only appends (points to
// its last segment, or new segments) and drops from the front, so the line
// series are brought level with it at both ends.
void TrendPlot::SyncChannel(int channel) {
    Curve& curve = curves_[std::size_t(channel)];
    const device::TrendSeries& series = trend_.Series(channel);
    const std::vector<TrendSegment>& segments = series.Segments();
    while (curve.DroppedParts < series.DroppedSegments() && !curve.Parts.empty()) {
        chart_->removeSeries(curve.Parts.front());
        delete curve.Parts.front();
        curve.Parts.erase(curve.Parts.begin());
        ++curve.DroppedParts;
    }
    curve.DroppedParts = series.DroppedSegments();
    if (!curve.Parts.empty() && std::size_t(curve.Parts.front()->count()) > segments[0].size()) {
        curve.Parts.front()->removePoints(0,
                                          curve.Parts.front()->count() - int(segments[0].size()));
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i == curve.Parts.size()) {
            auto* part = new QLineSeries;
            part->setPen(curve.Legend->pen());
            chart_->addSeries(part);
            part->attachAxis(timeAxis_);
            part->attachAxis(IsAnalog(channel) ? percentAxis_ : temperatureAxis_);
            part->setVisible(curve.Shown);
            HideLegendOf(part);
            curve.Parts.push_back(part);
        }
        QLineSeries* part = curve.Parts[i];
        const TrendSegment& segment = segments[i];
        if (std::size_t(part->count()) < segment.size()) {
            QList<QPointF> points;
            points.reserve(qsizetype(segment.size()) - part->count());
            for (std::size_t k = std::size_t(part->count()); k < segment.size(); ++k) {
                const double plotted = PlotValue(channel, segment[k].Value);
                Widen(channel, segment[k].Time, plotted);
                points.append(QPointF(ToAxis(segment[k].Time), plotted));
            }
            part->append(points);
        }
        // A lone point has no line to show it.
        part->setPointsVisible(part->count() == 1);
    }
}

void TrendPlot::SyncMarks() {
    const std::vector<device::TrendMark>& marks = trend_.Marks();
    if (std::size_t(marks_->count()) == marks.size()) {
        return;
    }
    QList<QPointF> points;
    points.reserve(qsizetype(marks.size()));
    for (const device::TrendMark& mark : marks) {
        points.append(QPointF(ToAxis(mark.Time), 0.0));
    }
    marks_->replace(points);
}

void TrendPlot::Widen(int channel, TrendTime time, double plotted) {
    extent_.First = std::min(extent_.First, time);
    extent_.Last = std::max(extent_.Last, time);
    if (IsAnalog(channel)) {
        extent_.PercentHigh = std::max(extent_.PercentHigh, plotted);
    } else {
        extent_.Low = std::min(extent_.Low, plotted);
        extent_.High = std::max(extent_.High, plotted);
    }
}

// After points went (or their scale changed): the extent of what is left.
void TrendPlot::RescanExtent() {
    extent_ = Extent{};
    for (int c = 0; c < device::kTrendChannels; ++c) {
        for (const TrendSegment& segment : trend_.Series(c).Segments()) {
            for (const TrendPoint& p : segment) {
                Widen(c, p.Time, PlotValue(c, p.Value));
            }
        }
    }
}

void TrendPlot::UpdateRanges() {
    if (chart_->isZoomed()) {
        return; // the user's zoom stays until it is reset
    }
    TrendTime first = extent_.First;
    TrendTime last = extent_.Last;
    double low = extent_.Low;
    double high = extent_.High;
    const double percentHigh = extent_.PercentHigh;
    if (first > last) { // nothing yet: the hour now
        last = TrendTimeOf(QDateTime::currentDateTime());
        first = last - 3600;
    } else if (last == first) {
        last += 3600;
    }
    // Ticks on whole times of day: the smallest step that gives at most eight.
    TrendTime tick = 0;
    for (TrendTime minutes : {10, 30, 60, 120, 180, 360, 720, 1440, 2880}) {
        tick = minutes * 60;
        if ((last - first) / tick < 8) {
            break;
        }
    }
    first = first / tick * tick;
    last = (last + tick - 1) / tick * tick;
    timeAxis_->setTickCount(int((last - first) / tick) + 1);
    timeAxis_->setRange(DateTimeOf(first), DateTimeOf(last));
    if (low > high) {
        low = 0.0;
        high = 100.0;
    }
    temperatureAxis_->setRange(std::floor(low / 10.0) * 10.0, std::ceil(high / 10.0) * 10.0 + 10.0);
    temperatureAxis_->applyNiceNumbers();
    percentAxis_->setRange(0.0, std::ceil(percentHigh / 10.0) * 10.0);
    percentAxis_->setTickCount(temperatureAxis_->tickCount());
}

void TrendPlot::ResetZoom() {
    chart_->zoomReset();
    UpdateRanges();
}

void TrendPlot::HideLegendOf(QXYSeries* series) {
    for (QLegendMarker* marker : chart_->legend()->markers(series)) {
        marker->setVisible(false);
    }
}

void TrendPlot::ToggleCurve(int curve) {
    Curve& c = curves_[std::size_t(curve)];
    c.Shown = !c.Shown;
    if (curve == kMarksCurve) {
        marks_->setVisible(c.Shown);
    }
    for (QLineSeries* part : c.Parts) {
        part->setVisible(c.Shown);
        HideLegendOf(part); // showing a series shows its legend entry again
    }
    // The entry stays, dimmed while its curve is hidden.
    for (QLegendMarker* marker : chart_->legend()->markers(c.Legend)) {
        marker->setVisible(true);
        QColor label = chart_->legend()->labelColor();
        label.setAlphaF(c.Shown ? 1.0 : 0.4);
        marker->setLabelBrush(label);
        QBrush brush = marker->brush();
        QColor fill = brush.color();
        fill.setAlphaF(c.Shown ? 1.0 : 0.3);
        brush.setColor(fill);
        marker->setBrush(brush);
    }
}

QString TrendPlot::ChannelName(int channel) const {
    if (!IsAnalog(channel)) {
        return kLooks[std::size_t(channel)].Name;
    }
    // Short enough for the legend's one line: "P 1, МПа", "Поз. 3, %".
    const int input = channel - device::tcAnalog1 + 1;
    const int type = inputs_[std::size_t(input - 1)].InputType;
    if (type < 0 || type > 2) {
        return QString("Вход %1").arg(input);
    }
    return QString("%1 %2, %3").arg(kInputNames[type]).arg(input).arg(kInputUnits[type]);
}

// A 4-20 mA input is drawn as percent of its value at 20 mA (MaxVal counts
// hundredths of the unit); without that value it is drawn as it is.
double TrendPlot::PlotValue(int channel, double value) const {
    if (!IsAnalog(channel)) {
        return value;
    }
    const double full = inputs_[std::size_t(channel - device::tcAnalog1)].MaxVal / 100.0;
    return full > 0.0 ? value / full * 100.0 : value;
}

QString TrendPlot::ValueText(int channel, double value) const {
    const QLocale locale;
    if (!IsAnalog(channel)) {
        return locale.toString(value, 'f', 1) + " °C";
    }
    const int type = inputs_[std::size_t(channel - device::tcAnalog1)].InputType;
    const QString text = type == 1 || type == 2
                             ? locale.toString(value, 'f', 2) + " " + kInputUnits[type]
                             : locale.toString(std::trunc(value), 'f', 0) + " " + kInputUnits[0];
    return text + " (" + locale.toString(PlotValue(channel, value), 'f', 0) + " %)";
}

QString TrendPlot::HoverText(QPoint viewPosition) const {
    const QPointF at = chart_->mapFromScene(view_->mapToScene(viewPosition));
    // A point on the edge of the plot area is drawn half outside it.
    const QRectF reach =
        chart_->plotArea().adjusted(-kHoverReach, -kHoverReach, kHoverReach, kHoverReach);
    if (!reach.contains(at)) {
        return {};
    }
    const TrendTime time = TrendTimeOf(
        QDateTime::fromMSecsSinceEpoch(qint64(chart_->mapToValue(at, curves_[0].Legend).x())));
    double best = kHoverReach;
    QString text;
    const auto consider = [&](TrendTime t, double plotted, QXYSeries* axes, const QString& what) {
        const QPointF p = chart_->mapToPosition(QPointF(ToAxis(t), plotted), axes);
        const double distance = std::hypot(p.x() - at.x(), p.y() - at.y());
        if (distance < best) {
            best = distance;
            const QDateTime when = DateTimeOf(t);
            text = when.toString(t % 60 == 0 ? "dd.MM.yyyy HH:mm" : "dd.MM.yyyy HH:mm:ss") + "\n" +
                   what;
        }
    };
    // Marks first: a curve drawn over a mark at the same place leaves the note.
    if (curves_[kMarksCurve].Shown) {
        for (const device::TrendMark& mark : trend_.Marks()) {
            consider(mark.Time, 0.0, marks_, QString::fromStdString(mark.Text));
        }
    }
    for (int c = 0; c < device::kTrendChannels; ++c) {
        if (!curves_[std::size_t(c)].Shown) {
            continue;
        }
        for (const TrendSegment& segment : trend_.Series(c).Segments()) {
            const TrendPoint& p = device::NearestInTime(segment, time);
            consider(p.Time, PlotValue(c, p.Value), curves_[std::size_t(c)].Legend,
                     ChannelName(c) + ": " + ValueText(c, p.Value));
        }
    }
    return text;
}

bool TrendPlot::SavePng(const QString& path) {
    if (redrawLater_->isActive()) {
        Redraw();
    }
    return view_->grab().save(path, "PNG");
}

void TrendPlot::SaveButtonClick() {
    gui::FileRequest request;
    request.Caption = "Сохранить график";
    request.Folder = saveFolder_;
    request.FileName = saveFileName_;
    request.Filter = "Рисунок PNG (*.png)|*.png";
    request.DefaultSuffix = "png";
    request.MustExist = false;
    request.Owner = this;
    const std::optional<QString> path = gui::CurrentPrompt().SaveFile(request);
    if (path && !SavePng(*path)) {
        gui::ShowErrorBox(this, "Не удалось записать файл " + *path);
    }
}

} // namespace kt41::pages
