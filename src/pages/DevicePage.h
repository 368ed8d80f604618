#pragma once

#include "CatalogueGridPage.h"
#include "MainWindowPage.h"

#include <functional>

class QLabel;
class QPushButton;

namespace kt41::pages {

// The page "Настройки" (tab 0): the controller's identity, the clock button and
// the grid of the twenty device parameters. It also measures the text height H
// by which every parameter grid sizes its rows.
class DevicePage : public CatalogueGridPage, public MainWindowPage {
    Q_OBJECT
public:
    explicit DevicePage(PageHost& host, QWidget* parent = nullptr);

    // The text height H of the last TabSheet_DeviceConfShow, 0 before the page
    // was first shown.
    int TextHeight() const { return textHeight_; }

    // Opens the device clock window modally. Button1Click runs it between its
    // two progress codes; until the clock window exists it is empty.
    std::function<void()> OpenClockWindow;

    // --- handlers --------------------------------------------------------------
    // Each time the page is shown: measures H on the grid's heading cell and
    // makes the heading row at least 2H + 8 pixels high.
    void TabSheet_DeviceConfShow();
    // The identity texts and the twenty grid rows from the model.
    void FillDevicePage();
    gui::EditorSpec AdvColumnGrid_ConfDeviceGetEditorType(int row, int column);
    // "Время": code 39, the clock window, code 31.
    void Button1Click();

    // The firmware version the connection returned ("3.2 "), or empty.
    void ShowVersion(const QString& text);

    // MainWindowPage: column widths and an empty grid until a configuration is
    // shown; the identity and the parameters from the model.
    void PrepareAtStart() override;
    void PrepareClose() override;
    void ShowModel() override;

    // --- controls ----------------------------------------------------------------
    gui::ParamGrid* AdvColumnGrid_ConfDevice = nullptr;
    QLabel* StaticText_NumInfo = nullptr;
    QLabel* StaticText_ModelInfo = nullptr;
    QLabel* StaticText_VerInfo = nullptr;
    QLabel* StaticText_ProductionDateInfo = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

    const catalogue::TCatalogueEntry& Entry(int member) const override;
    QStringList Choices(int member) const override;
    std::string ValueText(int member) const override;
    void StoreValue(int member, std::int32_t value) override;

private:
    int textHeight_ = 0;
};

} // namespace kt41::pages
