#pragma once

namespace kt41::pages {

class ArchivePage;
class PageHost;
class TrendPlot;

// Puts a "Таблица" / "График" switch (TabControl_ArxView) around the archive
// page's grid and keeps the plot (TrendPlot_Arx) equal to the listed records:
// it is cleared when a read lists its first record (or lists none) and gains
// each record as the grid does, so it fills while the read runs and keeps what
// a cancelled read listed. Hours with notes are marked on the time axis.
TrendPlot* AttachArchivePlot(ArchivePage& page, PageHost& host);

} // namespace kt41::pages
