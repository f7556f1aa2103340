// The program's main window: the input log, the output file, the hand range, the file splitting and the five
// conversion options, with the Convert command behind them. Its contents come from the settings file when it
// is created and go back to it when the program is left. It owns the progress and About dialogs.
#pragma once

#include <windows.h>

#include "framework/DialogWindow.h"
#include "settings/SettingsFile.h"
#include "windows/AboutDialog.h"
#include "windows/ProcessDialog.h"

namespace vlc {

class ConverterWindow : public DialogWindow {
public:
    explicit ConverterWindow(HINSTANCE instance);
    // Closes the window first; the dialogs go with it.
    ~ConverterWindow() override;

    bool describe() override;
    // Builds the window from its template, fills it from the settings file, builds the two dialogs, adds the
    // "Tracker-safe output" and About items to the system menu and sets the window's icon. False when any of
    // it fails (the user has been told, except for a program file without ".exe").
    bool create();
    // Up to three waiting messages, each through the pump of the progress dialog, the About dialog or the
    // main window, whichever it is meant for; false once the main window is gone.
    bool pumpAll();
    // The window of the three that holds `window`, else fallback.
    DialogWindow* ownerOf(HWND window, DialogWindow* fallback);
    // The command table and the system menu's items.
    INT_PTR windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    bool initControls(HWND window);
    void saveSettings(HWND window);
    void onBrowseInput(HWND window);
    void onBrowseOutput(HWND window);
    void onExit(HWND window);
    // The Convert command: checks the choices, sends them to the library, converts behind the progress
    // dialog, writes and offers the error log and shows the summary.
    void onConvert(HWND window);
    // The hand-range and file-splitting radio buttons: each opens the edits that belong to its choice and
    // shuts the others.
    void onAllHands(HWND window);
    void onFirstHands(HWND window);
    void onLastHands(HWND window);
    void onHandsBetween(HWND window);
    void onOneBigFile(HWND window);
    void onSplitFiles(HWND window);
    void onHandsPerFile(HWND window);

    SettingsFile settings;
    char logFolder[MAX_PATH + 1] = "";
    char logFile[MAX_PATH + 1] = "";
    char outputFolder[MAX_PATH + 1] = "";
    char outputFile[MAX_PATH + 1] = "";
    ProcessDialog processDialog;
    AboutDialog aboutDialog;
    // A conversion is running: the library serves one at a time, and the window must outlive it.
    bool converting = false;
    // The system menu's "Tracker-safe output": histories written for trackers' importers.
    bool trackerSafe = false;
};

}  // namespace vlc
