#pragma once

#include <QPlainTextEdit>

namespace kt41::app {

// A read-only log that keeps its newest line in view. QPlainTextEdit scrolls
// to an appended line only while the last line is visible; when the view gets
// lower (the page control above the log is shown again after a disconnect),
// the bottom moves out of view and appended lines would no longer show. This
// view follows the end across every change of its scroll range, until the
// user scrolls back; scrolling to the end again resumes following.
class FollowingLogView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit FollowingLogView(QWidget* parent = nullptr);

    // True while the view keeps to the newest line.
    bool Following() const { return following_; }

private:
    void RangeChanged();
    void ValueChanged(int value);

    bool following_ = true;
    int lastValue_ = 0;
};

} // namespace kt41::app
