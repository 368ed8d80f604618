#pragma once

namespace kt41::pages {

// A page of the main window's page control, in the steps the window takes all
// its pages through. A page class derives from QWidget and from this
// interface; a step a page has no part in does nothing.
class MainWindowPage {
public:
    virtual ~MainWindowPage() = default;

    // At the start of the program (the main window's FormCreate), once the
    // model exists: load the stored column widths of the page's grids, clear
    // the grids, put in placeholders, set the first selections.
    virtual void PrepareAtStart() = 0;

    // When the main window closes, before it saves its own layout: save the
    // page's column widths, stop what is running, release what the page holds.
    virtual void PrepareClose() {}

    // After a configuration was read or a file loaded: show the model.
    virtual void ShowModel() {}

    // The page is using the line now (a running poll timer or read), or starts
    // to whenever it is shown: no other exchange (a calibration) may begin.
    virtual bool UsesLine() const { return false; }

    // Before the connection closes: stop what the page runs on the line and let
    // an exchange in progress finish, so the port closes under no one.
    virtual void StopUsingLine() {}

    // The connection has closed: drop what the page gathered from it.
    virtual void ConnectionClosed() {}
};

} // namespace kt41::pages
