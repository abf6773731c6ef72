#pragma once

#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestProgramFolder.h"

#include "app/MainWindow.h"

#include <memory>

// The main window started over a program folder of its own, its dialogs scripted and its
// shell launches recorded: for tests that drive the whole window. Made in a test's init(),
// gone at its cleanup(), the window first.
class StartedMainWindow
{
public:
    // False when the folder could not be made or the window did not start.
    bool start()
    {
        folder = std::make_unique<TestProgramFolder>();
        if (!folder->isValid())
            return false;
        prompter = std::make_unique<ScriptedPrompter>();
        shell = std::make_unique<RecordingShell>();
        window = std::make_unique<MainWindow>();
        return window->startUp();
    }

    void reset()
    {
        window.reset();
        shell.reset();
        prompter.reset();
        folder.reset();
    }

    std::unique_ptr<TestProgramFolder> folder;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<RecordingShell> shell;
    std::unique_ptr<MainWindow> window;
};
