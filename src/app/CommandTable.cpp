#include "app/CommandTable.h"

#include <QtGlobal>

#include <array>

namespace {

#define T(text) QT_TRANSLATE_NOOP("CMainFrame", text)

const CommandRow kCommands[] = {
    {cmd::FileNew, T("&File"), T("&New"), T("Ctrl+N"), T("Create a new document"), T("New"), 0},
    {cmd::FileOpen, T("&File"), T("&Open..."), T("Ctrl+O"), T("Open an existing document"), T("Open"), 1},
    {cmd::FileSave, T("&File"), T("&Save"), T("Ctrl+S"), T("Save the active document"), T("Save"), 2},
    {cmd::FileSaveAs, T("&File"), T("Save &As..."), nullptr, T("Save the active document with a new name"), T("Save As"), -1},
    {0, T("&File"), nullptr, nullptr, nullptr, nullptr, -1},
    {cmd::FilePrint, T("&File"), T("&Print..."), T("Ctrl+P"), T("Print the active document"), T("Print"), 6},
    {cmd::FilePrintPreview, T("&File"), T("Print Pre&view"), nullptr, T("Display full pages"), T("Print Preview"), -1},
    {cmd::FilePrintSetup, T("&File"), T("P&rint Setup..."), nullptr, T("Change the printer and printing options"), T("Print Setup"), -1},
    {0, T("&File"), nullptr, nullptr, nullptr, nullptr, -1},
    {cmd::FileMru1, T("&File"), T("Recent File"), nullptr, T("Open this document"), nullptr, -1},
    {0, T("&File"), nullptr, nullptr, nullptr, nullptr, -1},
    {cmd::AppExit, T("&File"), T("E&xit"), nullptr, T("Quit the application; prompts to save documents"), T("Exit"), -1},

    {cmd::EditUndo, T("&Edit"), T("&Undo"), T("Ctrl+Z"), T("Undo the last action"), T("Undo"), -1},
    {0, T("&Edit"), nullptr, nullptr, nullptr, nullptr, -1},
    {cmd::EditCut, T("&Edit"), T("Cu&t"), T("Ctrl+X"), T("Cut the selection and put it on the Clipboard"), T("Cut"), 3},
    {cmd::EditCopy, T("&Edit"), T("&Copy"), T("Ctrl+C"), T("Copy the selection and put it on the Clipboard"), T("Copy"), 4},
    {cmd::EditPaste, T("&Edit"), T("&Paste"), T("Ctrl+V"), T("Insert Clipboard contents"), T("Paste"), 5},

    {cmd::ViewToolbar, T("&View"), T("&Toolbar"), nullptr, T("Show or hide the toolbar"), T("Toggle ToolBar"), -1},
    {cmd::ViewStatusBar, T("&View"), T("&Status Bar"), nullptr, T("Show or hide the status bar"), T("Toggle Status Bar"), -1},

    {cmd::Settings, T("&Options"), T("&Settings"), nullptr, nullptr, nullptr, -1},

    {cmd::Timer100ms, T("&Timer"), T("100ms"), nullptr, T("Sets the timer to get a new image from the IP Cam every 100 milli seconds."), nullptr, -1},
    {cmd::Timer200ms, T("&Timer"), T("&200ms"), nullptr, T("Sets the timer to get a new image from the IP Cam every 200 milli seconds."), nullptr, -1},
    {cmd::Timer400ms, T("&Timer"), T("&400ms"), nullptr, T("Sets the timer to get a new image from the IP Cam every 400 milli seconds."), nullptr, -1},
    {cmd::Timer1s, T("&Timer"), T("&1 second"), nullptr, T("Sets the timer to get a new image from the IP Cam every second."), nullptr, -1},
    {cmd::Timer2s, T("&Timer"), T("2 seconds"), nullptr, T("Sets the timer to get a new image from the IP Cam every two seconds."), nullptr, -1},
    {cmd::Timer4s, T("&Timer"), T("&4 seconds"), nullptr, T("Sets the timer to get a new image from the IP Cam every four seconds."), nullptr, -1},
    {cmd::Timer10s, T("&Timer"), T("10 seconds"), nullptr, T("Sets the timer to get a new image from the IP Cam every ten seconds."), nullptr, -1},
    {cmd::Timer1min, T("&Timer"), T("1 minute"), nullptr, T("Sets the timer to get a new image from the IP Cam every minute."), nullptr, -1},
    {cmd::TimerOff, T("&Timer"), T("&Off"), nullptr, T("Switch the timer off, the display image will not be updated."), nullptr, -1},
    {cmd::GetOneImage, T("&Timer"), T("&Get one image"), nullptr, T("Switch the timer off and get one image from the IP cam."), nullptr, -1},
    {cmd::DisableAutoDisableTimer, T("&Timer"), T("Disable auto disable timer"), nullptr, T("Ignore failed attempts to obtain a jpg from the IP camera and leave the timer running."), nullptr, -1},

    {cmd::MoveToPreset, T("&Control"), T("&Move to preset"), nullptr, T("Pans or tilts the camera to one of the preset positions"), nullptr, -1},
    {cmd::SaveToPreset, T("&Control"), T("&Save to preset"), nullptr, T("Saves the current camera postion to one of the presets"), nullptr, -1},

    {cmd::ServerInfo, T("F&unctions"), T("&Server info"), nullptr, T("Gets the camera hardware and software versions and shows it in your default browser"), nullptr, -1},
    {cmd::NetworkInfo, T("F&unctions"), T("&Network info"), nullptr, T("Gets the camera network info and shows it in your default browser"), nullptr, -1},
    {cmd::HttpPort, T("F&unctions"), T("&HTTP port"), nullptr, T("Gets the camera HTTP port and shows it in your default browser"), nullptr, -1},
    {cmd::TimeAndTimezone, T("F&unctions"), T("&Time and timezone"), nullptr, T("Gets the camera time and timezone and shows them in your default browser"), nullptr, -1},
    {cmd::Reboot, T("F&unctions"), T("&Reboot"), nullptr, T("Reboots the IP camera  and displays the reset in your default browser."), nullptr, -1},
    {cmd::StopSdCard, T("F&unctions"), T("Stop &Micro-SD card"), nullptr, T("Stops the camera Micro-SD card and displays the result in your default browser."), nullptr, -1},
    {cmd::FormatSdCard, T("F&unctions"), T("&Format the cameras Micro-SD card"), nullptr, T("Formats the camera Micro-SD card and displays the result in your default browser."), nullptr, -1},
    {cmd::FtpConfiguration, T("F&unctions"), T("&Get camera FTP configuration"), nullptr, T("//Gets the IP camera ftp configuration and displays the result in your default browser."), nullptr, -1},
    {cmd::SnapTimerConfiguration, T("F&unctions"), T("Snap &timer configuration"), nullptr, T("Gets the IP camera snap timer configuration and displays the result in your default browser."), nullptr, -1},
    {cmd::AdminParameters, T("F&unctions"), T("Get &admin parameters"), nullptr, T("Gets the admin user name and password and displays the result in your default browser."), nullptr, -1},
    {cmd::UserNames, T("F&unctions"), T("Get all &user names and passwords"), nullptr, T("Gets all user names and passwords and displays the result in your default browser."), nullptr, -1},
    {cmd::ImageAttributes, T("F&unctions"), T("&Image attributes"), nullptr, T("Gets the IP camera image attributes and displays the result in your default browser."), nullptr, -1},
    {cmd::VideoAttributes, T("F&unctions"), T("&Video attributes"), nullptr, T("Gets the IP camera video attributes and displays the result in your default browser."), nullptr, -1},
    {cmd::MotionDetection, T("F&unctions"), T("Motion detection and I/O Alarm"), nullptr, T("Gets the motion detection parameters and displays them in your default browser."), nullptr, -1},
    {cmd::PtzAttributes, T("F&unctions"), T("PTZ comm attributes"), nullptr, T("Gets the PTZ comm attributes and displays them in your default browser."), nullptr, -1},
    {cmd::GetIrLed, T("F&unctions"), T("Get IR &LED setting"), nullptr, nullptr, nullptr, -1},
    {cmd::IrLedAuto, T("F&unctions"), T("Set IR LEDs to auto"), nullptr, nullptr, nullptr, -1},
    {cmd::IrLedOpen, T("F&unctions"), T("Set IR LEDs to open"), nullptr, nullptr, nullptr, -1},
    {cmd::IrLedClose, T("F&unctions"), T("Set IR LEDs to close"), nullptr, nullptr, nullptr, -1},

    {cmd::SdVideo, T("&SD"), T("&Video"), nullptr, T("List the IP camera video files and optionally play them."), nullptr, -1},

    {cmd::AppAbout, T("&Help"), T("&About VarnekJPG..."), nullptr, T("Display program information, version number and copyright"), T("About"), 7},

    // The toolbar's own buttons: their prompt doubles as the tooltip.
    {cmd::ToolbarTimerOff, nullptr, nullptr, nullptr, T("Stop the timer, stop updating the image."), T("Stop the timer, stop updating the image."), 8},
    {cmd::ToolbarTimer1s, nullptr, nullptr, nullptr, T("Sets the jpg display timer to one second"), T("Sets the jpg display timer to one second"), 9},
    {cmd::ToolbarTimer100ms, nullptr, nullptr, nullptr, T("Sets the jpg display timer to 100 miliseconds"), T("Sets the jpg display timer to 100 miliseconds"), 10},
    {cmd::ToolbarTimer200ms, nullptr, nullptr, nullptr, T("Sets the jpg display timer to 200 miliseconds"), T("Sets the jpg display timer to 200 miliseconds"), 11},
    {cmd::ToolbarTimer400ms, nullptr, nullptr, nullptr, T("Sets the jpg display timer to 400 miliseconds"), T("Sets the jpg display timer to 400 miliseconds"), 12},
    {cmd::ToolbarTimer4s, nullptr, nullptr, nullptr, T("Sets the jpg display timer to four seconds"), T("Sets the jpg display timer to four seconds"), 13},
    {cmd::FitWindowToImage, nullptr, nullptr, nullptr, T("Resize the window frame to fit the image."), T("Resize the window frame to fit the image."), 14},

    // Reached by accelerator only.
    {cmd::NextPane, nullptr, nullptr, nullptr, T("Switch to the next window pane"), T("Next Pane"), -1},
    {cmd::PrevPane, nullptr, nullptr, nullptr, T("Switch back to the previous window pane"), T("Previous Pane"), -1},
};

#undef T

const int kToolbar[] = {
    cmd::FileNew, cmd::FileOpen, 0, cmd::FileSave, 0, cmd::EditCut, cmd::EditCopy, cmd::EditPaste, 0,
    cmd::FilePrint, cmd::AppAbout, 0, cmd::ToolbarTimerOff, 0, cmd::ToolbarTimer1s, cmd::ToolbarTimer100ms, cmd::ToolbarTimer200ms, 0, cmd::ToolbarTimer400ms, cmd::ToolbarTimer4s, cmd::FitWindowToImage,
};

const Accelerator kAccelerators[] = {
    {QKeyCombination(Qt::ControlModifier, Qt::Key_N), cmd::FileNew},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_O), cmd::FileOpen},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_S), cmd::FileSave},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_P), cmd::FilePrint},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_Z), cmd::EditUndo},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_X), cmd::EditCut},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_C), cmd::EditCopy},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_V), cmd::EditPaste},
    {QKeyCombination(Qt::AltModifier, Qt::Key_Backspace), cmd::EditUndo},
    {QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete), cmd::EditCut},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_Insert), cmd::EditCopy},
    {QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert), cmd::EditPaste},
    {QKeyCombination(Qt::NoModifier, Qt::Key_F6), cmd::NextPane},
    {QKeyCombination(Qt::ShiftModifier, Qt::Key_F6), cmd::PrevPane},
};

} // namespace

std::span<const CommandRow> commandTable()
{
    return kCommands;
}

const CommandRow* commandRow(int id)
{
    if (id == 0)
        return nullptr;
    for (const CommandRow& row : kCommands) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

std::span<const int> toolbarLayout()
{
    return kToolbar;
}

std::span<const Accelerator> acceleratorTable()
{
    return kAccelerators;
}
