#pragma once

namespace kt41::gui {

// Marks an operation that holds the user-interface thread without letting
// events run: a connect, a configuration read or write, a timer's poll or
// write, a dialog's read. Clicks and keys given meanwhile wait in the window
// system's queue and would otherwise be delivered when events run again: a
// click on "Записать" during a read would write to the controller afterwards.
// When the outermost operation ends, the input queued during it is taken from
// the queue and discarded; everything else that waited (painting, timers, a
// window being closed) runs as usual.
//
// Loops that let events run between their exchanges on purpose (the archive
// read) do not mark their exchanges: the click that cancels them must arrive.
class BlockingOperation {
public:
    BlockingOperation();
    ~BlockingOperation();
    BlockingOperation(const BlockingOperation&) = delete;
    BlockingOperation& operator=(const BlockingOperation&) = delete;

private:
    int exceptionsAtStart_;
};

} // namespace kt41::gui
