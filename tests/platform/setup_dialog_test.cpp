#include "platform/setup_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> listed(const GrowArray<DisplayMode>& modes) {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < modes.count; ++i) {
        char text[51];
        formatMode(modes[i], text);
        texts.emplace_back(text);
    }
    return texts;
}

TEST(SetupDialogModes, OnlyUnrotatedThirtyTwoBitModesSortedWithoutAdjacentRepeats) {
    const ReportedMode reported[] = {
        {1280, 1024, 32, 0}, {1280, 1024, 32, 0}, // 60 Hz and 75 Hz one after the other
        {1280, 720, 32, 0},  {1152, 864, 32, 0},
        {1024, 768, 16, 0},  {1024, 768, 24, 0},  // other depths never appear
        {800, 600, 32, 1},                        // nor rotated modes
        {1280, 720, 16, 0},  {1280, 720, 32, 0},  // comes back after another size: kept again
    };
    GrowArray<DisplayMode> modes;
    buildModeList(reported, 9, modes);
    EXPECT_EQ(listed(modes), (std::vector<std::string>{"1152 * 864", "1280 * 720", "1280 * 720",
                                                       "1280 * 1024"}));
}

TEST(SetupDialogModes, TheDesktopSizeIsPreselectedTheLastMatchWinning) {
    GrowArray<DisplayMode> modes;
    for (DisplayMode mode : {DisplayMode{800, 600}, DisplayMode{1920, 1080}, DisplayMode{1920, 1080},
                             DisplayMode{2560, 1440}}) {
        modes.append(mode);
    }
    EXPECT_EQ(preselectedMode(modes, 1920, 1080), 2);
    EXPECT_EQ(preselectedMode(modes, 800, 600), 0);
    EXPECT_EQ(preselectedMode(modes, 1366, 768), -1);
}

class SetupDialogUse : public testing::Test {
protected:
    DisplaySettings settings;
    SetupDialog dialog;

    void SetUp() override {
        for (DisplayMode mode : {DisplayMode{640, 480}, DisplayMode{800, 600},
                                 DisplayMode{1024, 768}, DisplayMode{1280, 720},
                                 DisplayMode{1280, 1024}, DisplayMode{1920, 1080},
                                 DisplayMode{2560, 1440}}) {
            settings.modes.append(mode);
        }
        openDialog(dialog, settings, 1024, 768);
    }

    void clickCentre(const DialogRect& r) {
        dialogClick(dialog, r.x + r.width / 2, r.y + r.height / 2);
    }
    // The centre of row `row` of the open list.
    void clickListRow(int32_t row) {
        dialogClick(dialog, dialogComboRect.x + 20,
                    dialogComboRect.y + dialogComboRect.height + 1 + row * dialogListRowHeight +
                        dialogListRowHeight / 2);
    }
};

TEST_F(SetupDialogUse, RunTakesTheLastSelectionAndTheBoxsFinalState) {
    EXPECT_EQ(dialog.selected, 2) << "the desktop's 1024 x 768";
    EXPECT_FALSE(dialog.fullscreenChecked) << "the box starts as the record says";

    dialogKey(dialog, DialogKey::Down);
    dialogKey(dialog, DialogKey::Down);
    dialogKey(dialog, DialogKey::Space);
    clickCentre(dialogCheckRect);
    clickCentre(dialogCheckRect);
    clickCentre(dialogComboRect); // open the list and pick its first shown row
    ASSERT_TRUE(dialog.listOpen);
    clickListRow(0);
    EXPECT_FALSE(dialog.listOpen);
    int32_t picked = dialog.selected;
    EXPECT_EQ(dialog.outcome, DialogOutcome::Open);

    dialogKey(dialog, DialogKey::Enter);
    ASSERT_EQ(dialog.outcome, DialogOutcome::Run);
    EXPECT_EQ(settings.width, settings.modes[picked].width);
    EXPECT_EQ(settings.height, settings.modes[picked].height);
    EXPECT_TRUE(settings.fullscreen);
}

TEST_F(SetupDialogUse, UpAndDownStopAtTheEndsOfTheList) {
    for (int i = 0; i < 10; ++i) {
        dialogKey(dialog, DialogKey::Down);
    }
    EXPECT_EQ(dialog.selected, 6);
    for (int i = 0; i < 10; ++i) {
        dialogKey(dialog, DialogKey::Up);
    }
    EXPECT_EQ(dialog.selected, 0);
    clickCentre(dialogRunRect);
    EXPECT_EQ(settings.width, 640);
    EXPECT_FALSE(settings.fullscreen);
}

TEST_F(SetupDialogUse, CancelEscapeAndTheCloseBoxAllCancelWithoutTouchingTheRecord) {
    for (int way = 0; way < 3; ++way) {
        openDialog(dialog, settings, 1024, 768);
        if (way == 0) {
            clickCentre(dialogCancelRect);
        } else if (way == 1) {
            dialogKey(dialog, DialogKey::Escape);
        } else {
            dialogClose(dialog);
        }
        EXPECT_EQ(dialog.outcome, DialogOutcome::Cancel) << way;
        EXPECT_EQ(settings.width, 0) << way;
    }
}

TEST_F(SetupDialogUse, EscapeOrEnterWithTheListOpenOnlyClosesTheList) {
    for (DialogKey key : {DialogKey::Escape, DialogKey::Enter}) {
        clickCentre(dialogComboRect);
        ASSERT_TRUE(dialog.listOpen);
        dialogKey(dialog, key);
        EXPECT_FALSE(dialog.listOpen);
        EXPECT_EQ(dialog.outcome, DialogOutcome::Open);
    }
}

TEST_F(SetupDialogUse, TheOpenListScrollsWithTheWheelAndPicksTheRowShown) {
    clickCentre(dialogComboRect);
    dialogWheel(dialog, -10); // as far down as it goes
    EXPECT_EQ(dialog.listFirstRow, 7 - dialogListVisibleRows);
    clickListRow(dialogListVisibleRows - 1);
    EXPECT_EQ(dialog.selected, 6);
    dialogWheel(dialog, 3); // the closed list ignores the wheel
    EXPECT_EQ(dialog.listFirstRow, 7 - dialogListVisibleRows);
}

TEST_F(SetupDialogUse, WithNothingSelectedRunCannotRun) {
    openDialog(dialog, settings, 1366, 768); // not among the modes
    EXPECT_EQ(dialog.selected, -1);
    EXPECT_FALSE(dialogCanRun(dialog));
    dialogKey(dialog, DialogKey::Enter);
    clickCentre(dialogRunRect);
    EXPECT_EQ(dialog.outcome, DialogOutcome::Open);
    EXPECT_EQ(settings.width, 0);

    DisplaySettings empty;
    openDialog(dialog, empty, 1366, 768);
    dialogKey(dialog, DialogKey::Down);
    clickCentre(dialogComboRect);
    EXPECT_FALSE(dialog.listOpen) << "an empty list does not open";
    dialogKey(dialog, DialogKey::Enter);
    EXPECT_EQ(dialog.outcome, DialogOutcome::Open);
}

TEST_F(SetupDialogUse, TheRunButtonLooksDisabledWithoutASelection) {
    std::vector<uint32_t> enabled(dialogWidth * dialogHeight), disabled(dialogWidth * dialogHeight);
    DialogPixels enabledTarget{enabled.data(), dialogWidth, dialogHeight};
    drawDialog(dialog, enabledTarget);
    dialog.selected = -1;
    DialogPixels disabledTarget{disabled.data(), dialogWidth, dialogHeight};
    drawDialog(dialog, disabledTarget);

    int32_t differingInRun = 0, differingElsewhere = 0;
    for (int32_t y = 0; y < dialogHeight; ++y) {
        for (int32_t x = 0; x < dialogWidth; ++x) {
            if (enabled[y * dialogWidth + x] != disabled[y * dialogWidth + x]) {
                bool inRun = dialogRunRect.contains(x, y);
                bool inCombo = dialogComboRect.contains(x, y);
                (inRun ? differingInRun : differingElsewhere) += inCombo ? 0 : 1;
            }
        }
    }
    EXPECT_GT(differingInRun, 0);
    EXPECT_EQ(differingElsewhere, 0);
}

} // namespace
