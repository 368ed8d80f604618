#pragma once

#include "QtPrinters.h"
#include "RecordingDesktop.h"
#include "ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace kt41::app {
class ProgramWindows;
}

namespace kt41::testing {

class FakeControllerDriver;

// Base fixture of the GUI tests. The first use creates the one application
// object (offscreen), with HOME, the XDG folders and both settings scopes in a
// temporary folder of the test process. Every test then starts with:
//  - empty user and machine-wide settings;
//  - an empty home folder (so an empty documents folder);
//  - a program folder holding copies of the delivered data, as current directory;
//  - a ScriptedPrompt installed (Prompt) that records and answers every box;
//  - a RecordingDesktop installed (Desktop): nothing opens a program.
class GuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Root of this process's temporary folders.
    static QString TempRoot();
    QString Home() const;
    QString Documents() const;
    QString ProgramDir() const { return programDir_; }

    // The settings as the program sees them; the machine-wide one is writable
    // here so that tests can install defaults.
    static std::unique_ptr<QSettings> UserSettings();
    static std::unique_ptr<QSettings> MachineSettings();

    // Starts the program's windows in start-up order over a recording driver.
    // ports: what the settings dialog finds on the machine.
    std::unique_ptr<app::ProgramWindows> StartProgram(const QStringList& commandLine = {},
                                                      const QStringList& ports = {"COM1", "COM3"});

    ScriptedPrompt Prompt;
    RecordingDesktop Desktop;

private:
    QString programDir_;
};

} // namespace kt41::testing
