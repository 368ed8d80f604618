#pragma once

namespace kt41::app {

// A page of the main window's page control that takes part in the window's
// start and close. A page class derives from QWidget and from this interface;
// pages that need neither step are plain widgets.
class MainWindowPage {
public:
    virtual ~MainWindowPage() = default;

    // Called by the main window's FormCreate after the stored column widths of
    // the page's grids are loaded: clear the grids, put in placeholders, set the
    // first selections.
    virtual void PrepareAtStart() = 0;

    // Called by the main window's FormClose before it saves the column widths
    // and its layout: stop what is running, release what the page holds.
    virtual void PrepareClose() {}
};

} // namespace kt41::app
