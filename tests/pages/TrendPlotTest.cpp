#include "pages/TrendPlot.h"
#include "pages/TrendChartView.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QChart>
#include <QDateTimeAxis>
#include <QDir>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QValueAxis>

namespace kt41::testing {
namespace {

using device::TrendTime;
using pages::TrendPlot;

constexpr TrendTime kHour = 3600;

device::TArxRecord Record(int hour, float t1) {
    device::TArxRecord r;
    r.Day = 5;
    r.Month = 3;
    r.Year = 22;
    r.Hour = std::uint16_t(hour);
    r.Temp = {t1, 40, 30, 20, 10, 0, 50, 45};
    r.Analog = {0.4f, 12.5f, 57, 0};
    return r;
}

// A plot on screen with the demo plant's inputs (pressure 0..1.60 MPa, a
// second pressure, a position, a flow 0..10.00 m3/h).
class TrendPlotTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        plot.resize(794, 420);
        plot.SetInputs(
            {{{3, 3, 1, 1, 160}, {1, 5, 0, 1, 100}, {2, 6, 2, 0, 10000}, {1, 7, 2, 2, 1000}}});
        plot.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
    }

    // The legend entries the user sees (once the legend is laid out).
    std::vector<QLegendMarker*> VisibleMarkers() const {
        QApplication::processEvents();
        std::vector<QLegendMarker*> shown;
        for (QLegendMarker* m : plot.Chart()->legend()->markers()) {
            if (m->isVisible()) {
                shown.push_back(m);
            }
        }
        return shown;
    }

    // Where a point of a channel is drawn, in view coordinates.
    QPoint ViewPositionOf(int channel, QPointF value) {
        QApplication::processEvents();
        QLineSeries* series = plot.SegmentsOf(channel).front();
        const QPointF scene = plot.Chart()->mapToScene(plot.Chart()->mapToPosition(value, series));
        return plot.View()->mapFromScene(scene);
    }

    TrendPlot plot{kHour};
};

TEST_F(TrendPlotTest, ArchiveHoursBecomeSegmentsThatNeverBridgeAGap) {
    // Newest first, hours 8 and 5 missing.
    for (int hour : {10, 9, 7, 6, 4}) {
        plot.AddArchiveRecord(Record(hour, float(hour) + 0.5f), "");
    }
    const std::vector<QLineSeries*> t1 = plot.SegmentsOf(device::tcTemp1);
    ASSERT_EQ(t1.size(), 3u);
    const std::vector<std::vector<int>> hours{{10, 9}, {7, 6}, {4}};
    for (std::size_t s = 0; s < t1.size(); ++s) {
        ASSERT_EQ(t1[s]->count(), qsizetype(hours[s].size())) << s;
        for (std::size_t k = 0; k < hours[s].size(); ++k) {
            const QDateTime when(QDate(2022, 3, 5), QTime(hours[s][k], 0));
            EXPECT_EQ(t1[s]->at(qsizetype(k)),
                      QPointF(qreal(when.toMSecsSinceEpoch()), hours[s][k] + 0.5));
        }
    }
    EXPECT_TRUE(t1[2]->pointsVisible()) << "a lone hour is drawn as a point";
    EXPECT_FALSE(t1[0]->pointsVisible());
    // Every channel is cut the same way, and one legend entry stands for all
    // segments of a curve.
    for (int c = 0; c < device::kTrendChannels; ++c) {
        EXPECT_EQ(plot.SegmentsOf(c).size(), 3u) << c;
    }
    EXPECT_EQ(VisibleMarkers().size(), std::size_t(device::kTrendChannels + 1));
    // Inputs are drawn as percent of their 20 mA value: 0.40 of 1.60 MPa.
    EXPECT_FLOAT_EQ(float(plot.SegmentsOf(device::tcAnalog1).front()->at(0).y()), 25.0f);
    EXPECT_DOUBLE_EQ(plot.SegmentsOf(device::tcAnalog1 + 2).front()->at(0).y(), 57.0);
}

TEST_F(TrendPlotTest, LegendClickHidesAndShowsEverySegmentOfTheCurve) {
    for (int hour : {10, 9, 7}) {
        plot.AddArchiveRecord(Record(hour, 20), "");
    }
    QLegendMarker* t1 = plot.Chart()->legend()->markers().front();
    ASSERT_EQ(t1->label(), "Т1");
    const auto shown = [&](int channel) {
        std::vector<bool> visible;
        for (QLineSeries* s : plot.SegmentsOf(channel)) {
            visible.push_back(s->isVisible());
        }
        return visible;
    };
    emit t1->clicked();
    EXPECT_FALSE(plot.CurveShown(device::tcTemp1));
    EXPECT_EQ(shown(device::tcTemp1), (std::vector<bool>{false, false}));
    EXPECT_EQ(shown(device::tcTemp1 + 1), (std::vector<bool>{true, true}));
    // A segment that starts while the curve is hidden stays hidden.
    plot.AddArchiveRecord(Record(5, 20), "");
    EXPECT_EQ(shown(device::tcTemp1), (std::vector<bool>{false, false, false}));
    // The entry stays in the legend, and no segment gains one of its own.
    EXPECT_EQ(VisibleMarkers().size(), std::size_t(device::kTrendChannels + 1));
    emit t1->clicked();
    EXPECT_EQ(shown(device::tcTemp1), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(VisibleMarkers().size(), std::size_t(device::kTrendChannels + 1));
}

TEST_F(TrendPlotTest, HoverShowsTimeAndTrueValueOfTheNearestPointAndNotes) {
    plot.AddArchiveRecord(Record(10, 21.5f), "Авария: датчик Т1;");
    plot.AddArchiveRecord(Record(9, 20.0f), "");
    const QLocale locale;
    const qreal ten = qreal(QDateTime(QDate(2022, 3, 5), QTime(10, 0)).toMSecsSinceEpoch());
    const QString t1 = plot.HoverText(ViewPositionOf(device::tcTemp1, {ten, 21.5}));
    EXPECT_EQ(t1, "05.03.2022 10:00\nТ1: " + locale.toString(21.5, 'f', 1) + " °C");
    const QString pressure = plot.HoverText(ViewPositionOf(device::tcAnalog1, {ten, 25.0}));
    EXPECT_EQ(pressure,
              "05.03.2022 10:00\nP 1, МПа: " + locale.toString(0.4, 'f', 2) + " МПа (25 %)");
    // The mark sits on the bottom of the input axis.
    const QString note = plot.HoverText(ViewPositionOf(device::tcAnalog1, {ten, 0.0}));
    EXPECT_EQ(note, "05.03.2022 10:00\nАвария: датчик Т1;");
    // Far from every point, or outside the plot area: nothing.
    EXPECT_EQ(plot.HoverText(QPoint(1, 1)), "");
    // A hidden curve is not hovered.
    plot.ToggleCurve(device::tcTemp1);
    EXPECT_NE(plot.HoverText(ViewPositionOf(device::tcTemp1, {ten, 21.5})), t1);
}

TEST_F(TrendPlotTest, DoubleClickResetsARubberBandZoom) {
    for (int hour : {10, 9, 8}) {
        plot.AddArchiveRecord(Record(hour, float(hour)), "");
    }
    QApplication::processEvents();
    QWidget* surface = plot.View()->viewport();
    const QRectF area = plot.Chart()->plotArea();
    const QPoint from = plot.View()->mapFromScene(area.topLeft() + QPointF(10, 10));
    const QPoint to = plot.View()->mapFromScene(area.center());
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(surface, to);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
    ASSERT_TRUE(plot.Chart()->isZoomed());
    // New data leaves the zoom alone.
    plot.AddArchiveRecord(Record(7, 7), "");
    EXPECT_TRUE(plot.Chart()->isZoomed());
    QTest::mouseDClick(surface, Qt::LeftButton, {}, to);
    EXPECT_FALSE(plot.Chart()->isZoomed());
}

TEST_F(TrendPlotTest, SaveWritesThePlotAsPngThroughThePrompt) {
    plot.AddArchiveRecord(Record(10, 20), "");
    plot.SetSaveProposal(Home(), "Архив.png");
    const QString path = QDir(Home()).absoluteFilePath("plot.png");
    Prompt.FileAnswers.push_back(path);
    plot.SaveButton->click();
    ASSERT_EQ(Prompt.History.size(), 1u);
    EXPECT_EQ(Prompt.History[0].File.FileName, "Архив.png");
    EXPECT_EQ(Prompt.History[0].File.Folder, Home());
    const QImage image(path, "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), plot.View()->size());
    EXPECT_TRUE(Prompt.Messages().empty());

    // A file that cannot be written is reported, not passed over.
    Prompt.FileAnswers.push_back(QDir(Home()).absoluteFilePath("no-such-folder/plot.png"));
    plot.SaveButton->click();
    ASSERT_EQ(Prompt.Messages().size(), 1u);
    EXPECT_EQ(Prompt.Messages()[0].Caption, "Ошибка");
    // Cancelled: nothing written, nothing said.
    Prompt.Clear();
    plot.SaveButton->click();
    EXPECT_TRUE(Prompt.Messages().empty());
}

TEST_F(TrendPlotTest, RollingWindowAndClearRemoveTheirSegmentsFromTheChart) {
    const device::TCurrentData data{};
    const int base = int(plot.Chart()->series().size());
    plot.AddCurrentData(1000, data);
    plot.Break();
    plot.AddCurrentData(1005, data);
    plot.AddCurrentData(1010, data);
    EXPECT_EQ(int(plot.Chart()->series().size()), base + 2 * device::kTrendChannels);
    plot.DropBefore(1006);
    EXPECT_EQ(int(plot.Chart()->series().size()), base + device::kTrendChannels);
    EXPECT_EQ(plot.SegmentsOf(device::tcTemp1).front()->count(), 1);
    plot.Clear();
    EXPECT_EQ(int(plot.Chart()->series().size()), base);
    EXPECT_TRUE(plot.Data().Empty());
}

TEST_F(TrendPlotTest, AxesCoverEveryPointOnceADeferredRedrawEnds) {
    // As during an archive read: the points come faster than the redraws.
    plot.SetDeferredRedraw(true);
    for (int hour = 0; hour < 24; ++hour) {
        plot.AddArchiveRecord(Record(hour, hour == 5 ? 180.0f : 20.0f), "");
    }
    plot.SetDeferredRedraw(false);
    EXPECT_TRUE(plot.View()->updatesEnabled());
    QLineSeries* t1 = plot.SegmentsOf(device::tcTemp1).front();
    auto* time = qobject_cast<QDateTimeAxis*>(plot.Chart()->axes(Qt::Horizontal, t1).front());
    auto* temperature = qobject_cast<QValueAxis*>(plot.Chart()->axes(Qt::Vertical, t1).front());
    ASSERT_TRUE(time && temperature);
    EXPECT_LE(time->min(), QDateTime(QDate(2022, 3, 5), QTime(0, 0)));
    EXPECT_GE(time->max(), QDateTime(QDate(2022, 3, 5), QTime(23, 0)));
    EXPECT_GE(temperature->max(), 180.0);
    // With the hottest hour gone the axis shrinks to what is left.
    plot.DropBefore(device::TrendTimeOf(2022, 3, 5, 6));
    EXPECT_LT(temperature->max(), 180.0);
    EXPECT_GE(temperature->max(), 50.0);
}

} // namespace
} // namespace kt41::testing
