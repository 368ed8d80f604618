#pragma once

#include "MainWindowPage.h"
#include "PageHost.h"
#include "device/CurrentData.h"
#include "device/TrendSeries.h"
#include "gui/ParamGrid.h"

#include <QDateTime>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <span>

class QTabWidget;
class QTimer;

namespace kt41::pages {

class TrendPlot;

// The page "Текущие показания" (tab 8): while it is shown, Timer_Current polls
// the controller's current data, first about 50 ms after the page appears and
// then every 5 s, and shows it in two one-row grids (AdvColumnGrid_CurIndicat:
// thermometers, setpoints and the 4-20 mA inputs; AdvColumnGrid_CurIndicat2:
// sensor states and pump running hours) and the events active now in
// AdvColumnGrid_LogErr. Every text comes from catalogue::TCurrentReadingTexts
// and catalogue::EventLogRows, which kt41ctl current uses too. Below the grids
// the log shares a "События" / "График" switch with TrendPlot_Current, the
// rolling trend of the last 24 hours of successful polls since connecting: a
// failed poll and the time the page was hidden leave gaps in it, and it is
// cleared when the connection closes.
class CurrentPage : public QWidget, public MainWindowPage {
    Q_OBJECT
public:
    static constexpr int kPollInterval = 5000; // ms, Timer_Current's design interval
    static constexpr int kFirstPollDelay = 50; // ms after the page is shown
    static constexpr device::TrendTime kTrendSpan = 24 * 3600; // s the trend keeps
    // Polls further apart than this (s) are not joined by a line.
    static constexpr device::TrendTime kTrendStep = 60;

    explicit CurrentPage(PageHost& host, QWidget* parent = nullptr);

    // --- handlers --------------------------------------------------------------
    // The page becomes visible: clear it, announce the reading, and start the
    // timer with the quick first tick (the design interval kept in the tag).
    void TabSheet_CurrentShow();
    // The page is hidden: the timer stops, the status returns to idle.
    void TabSheet_CurrentHide();
    // Restores the design interval after the quick first tick, then polls.
    void Timer_CurrentTimer();
    // One ReadCurrentData: the grids and the event log on success, "---" in
    // every value cell on failure (headers and log keep what they show).
    void PollCurrentData();
    // Both value rows "---", the log reduced to its header and one empty row.
    void ClearPage();
    // The log rebuilt from the event words, every row with one time stamp.
    void RebuildEventLog(std::span<const std::uint16_t> words);

    // MainWindowPage: column widths and the cleared page at start; the timer
    // stops at close and when the connection closes.
    void PrepareAtStart() override;
    void PrepareClose() override;
    bool UsesLine() const override;
    void StopUsingLine() override;
    void ConnectionClosed() override;

    // --- controls ----------------------------------------------------------------
    gui::ParamGrid* AdvColumnGrid_CurIndicat = nullptr;
    gui::ParamGrid* AdvColumnGrid_CurIndicat2 = nullptr;
    gui::ParamGrid* AdvColumnGrid_LogErr = nullptr;
    QTabWidget* TabControl_CurView = nullptr; // "События" / "График"
    TrendPlot* TrendPlot_Current = nullptr;
    // The time a successful poll is put on the trend at (the local clock).
    std::function<QDateTime()> TrendClock = [] { return QDateTime::currentDateTime(); };
    QTimer* Timer_Current = nullptr;
    // The interval the timer returns to after its first tick; negative: none.
    int Timer_CurrentTag = -1;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FillReadings(const device::TCurrentData& data);
    void ShowNoReadings();

    PageHost& host_;
    bool polling_ = false;
};

} // namespace kt41::pages
