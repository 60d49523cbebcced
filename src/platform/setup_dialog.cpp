#include "platform/setup_dialog.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The disk's home-computer blues.
constexpr uint32_t backgroundColour = 0xFF352879;
constexpr uint32_t inkColour = 0xFF6C5EB5;
constexpr uint32_t brightColour = 0xFFB8B0F0;
constexpr uint32_t fieldColour = 0xFF241C5A;
constexpr uint32_t disabledColour = 0xFF4A3F8F;

bool sameSize(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height;
}

// Keeps the selected entry among the rows the open list shows.
void scrollToSelection(SetupDialog& dialog) {
    if (dialog.selected < 0) {
        return;
    }
    if (dialog.selected < dialog.listFirstRow) {
        dialog.listFirstRow = dialog.selected;
    } else if (dialog.selected >= dialog.listFirstRow + dialogListVisibleRows) {
        dialog.listFirstRow = dialog.selected - dialogListVisibleRows + 1;
    }
}

int32_t visibleRows(const SetupDialog& dialog) {
    return std::min(dialog.settings->modes.count, dialogListVisibleRows);
}

DialogRect listRect(const SetupDialog& dialog) {
    return {dialogComboRect.x, dialogComboRect.y + dialogComboRect.height, dialogComboRect.width,
            visibleRows(dialog) * dialogListRowHeight + 2};
}

void run(SetupDialog& dialog) {
    if (!dialogCanRun(dialog)) {
        return;
    }
    const DisplayMode& mode = dialog.settings->modes[dialog.selected];
    dialog.settings->width = mode.width;
    dialog.settings->height = mode.height;
    dialog.settings->fullscreen = dialog.fullscreenChecked;
    dialog.outcome = DialogOutcome::Run;
}

void frameRect(DialogPixels& target, const DialogRect& r, uint32_t colour) {
    target.fillRect(r.x, r.y, r.width, 1, colour);
    target.fillRect(r.x, r.y + r.height - 1, r.width, 1, colour);
    target.fillRect(r.x, r.y, 1, r.height, colour);
    target.fillRect(r.x + r.width - 1, r.y, 1, r.height, colour);
}

void drawCentred(DialogPixels& target, const DialogRect& r, const char* text, uint32_t colour,
                 int32_t scale) {
    int32_t x = r.x + (r.width - dialogTextWidth(text, scale)) / 2;
    int32_t y = r.y + (r.height - 7 * scale) / 2;
    drawDialogText(target, x, y, text, colour, scale);
}

void drawRightAligned(DialogPixels& target, const DialogRect& r, const char* text) {
    int32_t x = r.x + r.width - dialogTextWidth(text, 1);
    drawDialogText(target, x, r.y + (r.height - 7) / 2, text, inkColour, 1);
}

void drawButton(DialogPixels& target, const DialogRect& r, const char* text, bool isDefault,
                bool enabled) {
    uint32_t colour = enabled ? inkColour : disabledColour;
    target.fillRect(r.x, r.y, r.width, r.height, fieldColour);
    frameRect(target, r, colour);
    if (isDefault) {
        frameRect(target, {r.x + 1, r.y + 1, r.width - 2, r.height - 2}, colour);
    }
    drawCentred(target, r, text, enabled ? brightColour : disabledColour, 1);
}

void drawCombo(const SetupDialog& dialog, DialogPixels& target) {
    const DialogRect& r = dialogComboRect;
    target.fillRect(r.x, r.y, r.width, r.height, fieldColour);
    frameRect(target, r, inkColour);
    // The arrow button at the right end.
    DialogRect arrow{r.x + r.width - r.height, r.y, r.height, r.height};
    frameRect(target, arrow, inkColour);
    for (int32_t i = 0; i < 4; ++i) {
        target.fillRect(arrow.x + 6 + i, arrow.y + 8 + i, 8 - 2 * i, 1, brightColour);
    }
    if (dialog.selected >= 0) {
        char text[51];
        formatMode(dialog.settings->modes[dialog.selected], text);
        drawDialogText(target, r.x + 5, r.y + 6, text, brightColour, 1);
    }
}

void drawList(const SetupDialog& dialog, DialogPixels& target) {
    DialogRect r = listRect(dialog);
    target.fillRect(r.x, r.y, r.width, r.height, fieldColour);
    frameRect(target, r, inkColour);
    const GrowArray<DisplayMode>& modes = dialog.settings->modes;
    for (int32_t row = 0; row < visibleRows(dialog); ++row) {
        int32_t index = dialog.listFirstRow + row;
        int32_t y = r.y + 1 + row * dialogListRowHeight;
        bool isSelected = index == dialog.selected;
        if (isSelected) {
            target.fillRect(r.x + 1, y, r.width - 2, dialogListRowHeight, inkColour);
        }
        char text[51];
        formatMode(modes[index], text);
        drawDialogText(target, r.x + 5, y + 3, text, isSelected ? fieldColour : brightColour, 1);
    }
    // A scroll position marker when the list holds more modes than it shows.
    if (modes.count > dialogListVisibleRows) {
        int32_t trackHeight = r.height - 2;
        int32_t markerHeight = std::max(4, trackHeight * dialogListVisibleRows / modes.count);
        int32_t markerY = r.y + 1 +
                          (trackHeight - markerHeight) * dialog.listFirstRow /
                              (modes.count - dialogListVisibleRows);
        target.fillRect(r.x + r.width - 4, markerY, 3, markerHeight, brightColour);
    }
}

} // namespace

void buildModeList(const ReportedMode* reported, int32_t count, GrowArray<DisplayMode>& modes) {
    int32_t firstNew = modes.count;
    for (int32_t i = 0; i < count; ++i) {
        const ReportedMode& r = reported[i];
        if (r.bitsPerPixel != 32 || r.orientation != 0) {
            continue;
        }
        DisplayMode mode{r.width, r.height};
        if (modes.count > firstNew && sameSize(modes[modes.count - 1], mode)) {
            continue;
        }
        modes.append(mode);
    }
    std::stable_sort(modes.items + firstNew, modes.items + modes.count,
                     [](const DisplayMode& a, const DisplayMode& b) {
                         return a.width != b.width ? a.width < b.width : a.height < b.height;
                     });
}

int32_t preselectedMode(const GrowArray<DisplayMode>& modes, int32_t desktopWidth,
                        int32_t desktopHeight) {
    int32_t found = -1;
    for (int32_t i = 0; i < modes.count; ++i) {
        if (sameSize(modes[i], {desktopWidth, desktopHeight})) {
            found = i;
        }
    }
    return found;
}

void formatMode(const DisplayMode& mode, char (&text)[51]) {
    std::snprintf(text, sizeof text, "%d * %d", mode.width, mode.height);
}

void openDialog(SetupDialog& dialog, DisplaySettings& settings, int32_t desktopWidth,
                int32_t desktopHeight) {
    dialog = SetupDialog{};
    dialog.settings = &settings;
    dialog.selected = preselectedMode(settings.modes, desktopWidth, desktopHeight);
    dialog.fullscreenChecked = settings.fullscreen;
    scrollToSelection(dialog);
}

bool dialogCanRun(const SetupDialog& dialog) {
    return dialog.selected >= 0 && dialog.selected < dialog.settings->modes.count;
}

void dialogKey(SetupDialog& dialog, DialogKey key) {
    const int32_t count = dialog.settings->modes.count;
    switch (key) {
    case DialogKey::Up:
        if (count > 0) {
            dialog.selected = dialog.selected < 0 ? count - 1 : std::max(dialog.selected - 1, 0);
            scrollToSelection(dialog);
        }
        break;
    case DialogKey::Down:
        if (count > 0) {
            dialog.selected = std::min(dialog.selected + 1, count - 1);
            scrollToSelection(dialog);
        }
        break;
    case DialogKey::Space:
        dialog.fullscreenChecked = !dialog.fullscreenChecked;
        break;
    case DialogKey::Enter:
        if (dialog.listOpen) {
            dialog.listOpen = false;
        } else {
            run(dialog);
        }
        break;
    case DialogKey::Escape:
        if (dialog.listOpen) {
            dialog.listOpen = false;
        } else {
            dialog.outcome = DialogOutcome::Cancel;
        }
        break;
    }
}

void dialogClick(SetupDialog& dialog, int32_t x, int32_t y) {
    // While the list is open a click either picks an entry or just closes the list.
    if (dialog.listOpen) {
        dialog.listOpen = false;
        DialogRect r = listRect(dialog);
        if (r.contains(x, y) && y < r.y + r.height - 1 && y > r.y) {
            int32_t row = (y - r.y - 1) / dialogListRowHeight;
            dialog.selected = std::min(dialog.listFirstRow + row, dialog.settings->modes.count - 1);
        }
        return;
    }
    if (dialogComboRect.contains(x, y)) {
        dialog.listOpen = dialog.settings->modes.count > 0;
        scrollToSelection(dialog);
    } else if (dialogCheckRect.contains(x, y) || dialogFullscreenLabelRect.contains(x, y)) {
        dialog.fullscreenChecked = !dialog.fullscreenChecked;
    } else if (dialogCancelRect.contains(x, y)) {
        dialog.outcome = DialogOutcome::Cancel;
    } else if (dialogRunRect.contains(x, y)) {
        run(dialog);
    }
}

void dialogWheel(SetupDialog& dialog, int32_t steps) {
    if (!dialog.listOpen) {
        return;
    }
    int32_t lastFirstRow = std::max(0, dialog.settings->modes.count - dialogListVisibleRows);
    dialog.listFirstRow = std::clamp(dialog.listFirstRow - steps, 0, lastFirstRow);
}

void dialogClose(SetupDialog& dialog) {
    dialog.outcome = DialogOutcome::Cancel;
}

void drawDialog(const SetupDialog& dialog, DialogPixels& target) {
    target.fillRect(0, 0, target.width, target.height, backgroundColour);
    drawCentred(target, dialogBannerRect, "CRUSH AND SHATTER", brightColour, 3);
    drawRightAligned(target, dialogResolutionLabelRect, "Resolution:");
    drawRightAligned(target, dialogFullscreenLabelRect, "Fullscreen:");

    const DialogRect& box = dialogCheckRect;
    target.fillRect(box.x, box.y, box.width, box.height, fieldColour);
    frameRect(target, box, inkColour);
    if (dialog.fullscreenChecked) {
        // A tick: a short stroke down to the right, then a long one up.
        for (int32_t i = 0; i < 3; ++i) {
            target.fillRect(box.x + 3 + i, box.y + 6 + i, 2, 2, brightColour);
        }
        for (int32_t i = 0; i < 5; ++i) {
            target.fillRect(box.x + 6 + i, box.y + 8 - i, 2, 2, brightColour);
        }
    }

    drawButton(target, dialogCancelRect, "Cancel", false, true);
    drawButton(target, dialogRunRect, "Run", true, dialogCanRun(dialog));
    drawCombo(dialog, target);
    if (dialog.listOpen) {
        drawList(dialog, target);
    }
}
