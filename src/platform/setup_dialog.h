// The setup dialog shown before anything else: the display resolution (one of the display's
// 32-bit modes, the desktop's size preselected) and the fullscreen choice. The dialog's state,
// input handling and drawing are plain code, so tests drive them without a window; the window
// itself is the platform's. Main thread only.
#pragma once

#include "core/grow_array.h"
#include "platform/dialog_font.h"

#include <cstdint>

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
};

struct DisplaySettings {
    int32_t width = 0;       // chosen width in pixels; set by Run
    int32_t height = 0;      // chosen height in pixels; set by Run
    bool fullscreen = false; // presets the check box; set by Run
    GrowArray<DisplayMode> modes{10}; // the offered modes, in the order of the list
};

// One mode as the display reports it.
struct ReportedMode {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    int32_t orientation; // 0 when not rotated
};

// Appends the offered modes: 32 bits per pixel and not rotated, a mode equal to the one
// appended last left out (the same size at several refresh rates), sorted by width, then height.
void buildModeList(const ReportedMode* reported, int32_t count, GrowArray<DisplayMode>& modes);

// The list entry preselected for a desktop of this size: the last equal mode, or -1.
int32_t preselectedMode(const GrowArray<DisplayMode>& modes, int32_t desktopWidth,
                        int32_t desktopHeight);

// The list text of a mode, "1024 * 768".
void formatMode(const DisplayMode& mode, char (&text)[51]);

// The dialog's controls, in pixels of its client area.
struct DialogRect {
    int32_t x, y, width, height;
    bool contains(int32_t px, int32_t py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

constexpr int32_t dialogWidth = 330;
constexpr int32_t dialogHeight = 146;
constexpr int32_t dialogListRowHeight = 14;
constexpr int32_t dialogListVisibleRows = 5;
constexpr DialogRect dialogBannerRect{8, 8, 314, 28};
constexpr DialogRect dialogResolutionLabelRect{20, 46, 116, 20};
constexpr DialogRect dialogComboRect{146, 46, 132, 20};
constexpr DialogRect dialogFullscreenLabelRect{20, 76, 116, 16};
constexpr DialogRect dialogCheckRect{146, 77, 14, 14};
constexpr DialogRect dialogCancelRect{10, 108, 88, 26};
constexpr DialogRect dialogRunRect{106, 108, 214, 26};

enum class DialogKey { Up, Down, Space, Enter, Escape };

enum class DialogOutcome { Open, Run, Cancel };

struct SetupDialog {
    DisplaySettings* settings = nullptr;
    int32_t selected = -1;    // list entry, or -1 when none is selected
    bool fullscreenChecked = false;
    bool listOpen = false;    // the drop-down list is shown
    int32_t listFirstRow = 0; // the first mode shown in the open list
    DialogOutcome outcome = DialogOutcome::Open;
};

// Prepares the dialog for a record whose mode list is already built.
void openDialog(SetupDialog& dialog, DisplaySettings& settings, int32_t desktopWidth,
                int32_t desktopHeight);
void dialogKey(SetupDialog& dialog, DialogKey key);
// A left-button release at (x, y) in the client area.
void dialogClick(SetupDialog& dialog, int32_t x, int32_t y);
// The mouse wheel, over the open list: positive scrolls up.
void dialogWheel(SetupDialog& dialog, int32_t steps);
// The window's close box.
void dialogClose(SetupDialog& dialog);
// Run is possible only while an entry is selected.
bool dialogCanRun(const SetupDialog& dialog);

// Draws the whole dialog into a dialogWidth x dialogHeight buffer.
void drawDialog(const SetupDialog& dialog, DialogPixels& target);

enum class SetupResult {
    Run,       // settings hold the chosen size and fullscreen flag
    Cancel,    // Cancel, Escape or the close box
    NoDisplay, // no display could be reached, so nothing was shown
};

// Shows the dialog in a window of its own until Run or Cancel. Fills `settings`: the offered
// modes, and on Run the chosen size and fullscreen flag.
SetupResult showSetupDialog(DisplaySettings& settings);
