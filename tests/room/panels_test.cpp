// The room's two panels under the pointer: the verb bar's buttons and the player panel's
// buttons, position bar and title rows at the edges of their hit boxes, and what the player's
// buttons do with a full, a short and an empty track list.
#include "room_fixture.h"

#include <string>
#include <vector>

namespace {

struct Point {
    int32_t x;
    int32_t y;
};

// The points around a picture's rectangle that show its hit box, moved one pixel right and
// down against the picture: dx and dy from its left and top edge, or from the column and row
// just past its right and bottom edge.
struct Edge {
    const char* what;
    int32_t dx;
    int32_t dy;
    bool fromRight;
    bool fromBottom;
    bool hits;
};

const Edge edges[] = {
    {"left edge", 0, 1, false, false, false},
    {"top edge", 1, 0, false, false, false},
    {"first pixel inside", 1, 1, false, false, true},
    {"just right of and below the picture", 0, 0, true, true, true},
    {"two right of the picture", 1, 1, true, false, false},
    {"two below the picture", 1, 1, false, true, false},
};

Point edgePoint(const Edge& edge, int32_t left, int32_t top, const Image& picture) {
    return {left + edge.dx + (edge.fromRight ? picture.width : 0),
            top + edge.dy + (edge.fromBottom ? picture.height : 0)};
}

using VerbBar = RoomTest;

TEST_F(VerbBar, VerbButtonsAreHitInsideTheirPictureMovedOnePixelRightAndDown) {
    enter(Mode::oldSchool);
    CommandGUI& bar = room.commandBar;
    const Point buttons[verbCount] = {{0, 170},   {0, 185},   {48, 170},  {48, 185},
                                      {112, 170}, {112, 185}, {182, 170}, {182, 185}};
    for (int32_t verb = 0; verb < verbCount; ++verb) {
        ASSERT_GT(bar.verbOff[verb].width, 0);
        for (const Edge& edge : edges) {
            const Point p = edgePoint(edge, buttons[verb].x, buttons[verb].y, bar.verbOff[verb]);
            SCOPED_TRACE(testing::Message() << "verb " << verb << ", " << edge.what << " (" << p.x
                                            << ", " << p.y << ")");
            bar.currentVerb = noVerb;
            const bool taken = bar.onClick(p.x, p.y);
            EXPECT_EQ(taken && bar.currentVerb == verb, edge.hits);
            EXPECT_EQ(taken, bar.currentVerb != noVerb) << "a miss leaves the verb alone";
        }
    }

    // A verb without its pictures has an empty box and can never be chosen.
    Image missing;
    std::swap(missing, bar.verbOff[3]);
    bar.currentVerb = 5;
    EXPECT_FALSE(bar.onClick(49, 186));
    EXPECT_EQ(bar.currentVerb, 5);
    std::swap(missing, bar.verbOff[3]);
}

// The panel slid in, with track 2 of the list playing 10 s in: what a click on it started
// shows in the playlist.
class PlayerPanel : public RoomTest {
  protected:
    PlayerGUI& panel = room.playerPanel;
    MusicState& music = program.music;

    void SetUp() override {
        enter(Mode::direct);
        startRockingOut();
    }

    void keepOnlyTracks(int32_t count) {
        freeTracks(music);
        for (int32_t i = 0; i < count; ++i) {
            loadTrack(music, trackFileNames[i]);
        }
    }

    int64_t tenSecondsIn() { return audio::channelSecondsToBytes(currentStream(music), 10.0); }

    // Playing `track`, unpaused, 10 s in; the panel open at `panelX`.
    void reset(int32_t track, int32_t panelX = 0) {
        if (music.paused) {
            togglePause(music);
        }
        panel.closing = false;
        panel.x = panelX;
        playTrack(music, track);
        audio::channelSetPosition(currentStream(music), static_cast<uint64_t>(tenSecondsIn()));
    }

    // What the last click did, after reset(`track`).
    std::string effect(int32_t track) {
        if (panel.closing) {
            return "eject";
        }
        if (music.paused) {
            return "pause";
        }
        const uint32_t stream = currentStream(music);
        if (stream != 0 && audio::channelIsActive(stream) == audio::channelPlaying &&
            (music.current != track || audio::channelGetPosition(stream) == 0)) {
            return "track " + std::to_string(music.current);
        }
        return "none";
    }

    struct Button {
        const char* name;
        const Image& picture;
        int32_t dx;
        const char* effect; // with track 2 current
    };
    std::vector<Button> buttons() {
        return {{"play", panel.playButton, 0, "track 2"},
                {"previous", panel.previousButton, 14, "track 1"},
                {"next", panel.nextButton, 30, "track 3"},
                {"pause", panel.pauseButton, 46, "pause"},
                {"eject", panel.ejectButton, 60, "eject"}};
    }

    Point inside(const char* name) {
        for (const Button& b : buttons()) {
            if (std::string(b.name) == name) {
                return {panel.x + b.dx + 1, panel.y + 103};
            }
        }
        return {-1000, -1000};
    }
};

TEST_F(PlayerPanel, ButtonsAreHitInsideTheirPictureMovedOnePixelRightAndDown) {
    for (int32_t panelX : {0, -36}) { // open, and still sliding in
        for (const Button& button : buttons()) {
            ASSERT_GT(button.picture.width, 0) << button.name;
            for (const Edge& edge : edges) {
                reset(2, panelX);
                const Point p = edgePoint(edge, panelX + button.dx, 50 + 102, button.picture);
                SCOPED_TRACE(testing::Message()
                             << "panel at " << panelX << ", " << button.name << ", " << edge.what);
                panel.onClick(p.x, p.y);
                EXPECT_EQ(effect(2) == button.effect, edge.hits) << effect(2);
            }
        }
    }
}

TEST_F(PlayerPanel, TitleRowsAreHitBetweenTheirBoundsOnly) {
    struct Case {
        const char* what;
        Point offset; // from (x + 10, y + 20 + 11 i)
        bool hits;
    };
    const Case cases[] = {
        {"left bound", {0, 5}, false},
        {"first column", {1, 5}, true},
        {"last column", {119, 5}, true},
        {"right bound", {120, 5}, false},
        {"top bound", {50, 0}, false},
        {"first row", {50, 1}, true},
        {"last row", {50, 9}, true},
        {"between two rows", {50, 10}, false},
        {"the next row's top", {50, 11}, false},
    };
    for (int32_t row = 0; row < 6; ++row) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "row " << row << ", " << c.what);
            reset(row == 0 ? 1 : 0);
            const int32_t before = music.current;
            panel.onClick(10 + c.offset.x, 50 + 20 + 11 * row + c.offset.y);
            EXPECT_EQ(effect(before) == "track " + std::to_string(row), c.hits) << effect(before);
        }
    }
}

TEST_F(PlayerPanel, ThePositionBarSeeksWithinItsBoundsWhileATrackIsActive) {
    const int32_t barRow = 50 + 94;
    struct Case {
        const char* what;
        Point click;
        int32_t in120ths; // the seek's target in 120ths of the length; -1: no seek
    };
    const Case cases[] = {
        {"x + 64: half the length", {64, barRow}, 60},
        {"x + 5: the first 120th", {5, barRow}, 1},
        {"x + 123: the last column", {123, barRow}, 119},
        {"on x + 4", {4, barRow}, -1},
        {"on x + 124", {124, barRow}, -1},
        {"on the bar's top row", {64, barRow - 1}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset(3);
        const uint32_t stream = currentStream(music);
        const int64_t lengthMs = trackLengthMs(music);
        ASSERT_GT(lengthMs, 0);
        const bool taken = panel.onClick(c.click.x, c.click.y);
        EXPECT_EQ(taken, c.in120ths >= 0);
        const int64_t expected =
            c.in120ths < 0 ? tenSecondsIn()
                           : audio::channelSecondsToBytes(
                                 stream, static_cast<double>(lengthMs * c.in120ths / 120) / 1000.0);
        EXPECT_EQ(audio::channelGetPosition(stream), expected);
        EXPECT_EQ(music.current, 3);
    }

    // Without an active track the bar is no bar: the click goes on to the buttons and rows.
    reset(3);
    audio::channelStop(currentStream(music));
    EXPECT_FALSE(panel.onClick(64, barRow));
    EXPECT_EQ(audio::channelGetPosition(currentStream(music)), tenSecondsIn());
}

// Previous and next wrap around the tracks that loaded; with none loaded the buttons and rows
// still take the click and start nothing, and pause and eject still work.
TEST_F(PlayerPanel, TheButtonsWorkOnTheTracksThatLoaded) {
    struct Case {
        int32_t tracks;
        int32_t current;
        const char* click; // a button, or "row N"
        const char* effect;
    };
    const Case cases[] = {
        {6, 0, "previous", "track 5"}, {6, 5, "next", "track 0"},  {3, 0, "previous", "track 2"},
        {3, 2, "next", "track 0"},     {3, 1, "row 4", "none"},    {3, 1, "row 2", "track 2"},
        {0, 0, "play", "none"},        {0, 0, "previous", "none"}, {0, 0, "next", "none"},
        {0, 0, "row 0", "none"},       {0, 0, "pause", "pause"},   {0, 0, "eject", "eject"},
        {6, 4, "play", "track 4"},     {6, 4, "pause", "pause"},   {6, 4, "eject", "eject"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.tracks << " tracks, " << c.click << " from track " << c.current);
        keepOnlyTracks(c.tracks);
        reset(c.current);
        music.current = c.current; // also without a track to play
        music.slowingDown = false;
        const std::string click = c.click;
        const Point p = click.rfind("row ", 0) == 0
                            ? Point{20, 50 + 25 + 11 * std::stoi(click.substr(4))}
                            : inside(c.click);
        EXPECT_TRUE(panel.onClick(p.x, p.y)) << "the click is the panel's";
        EXPECT_EQ(effect(c.current), c.effect);
        EXPECT_EQ(music.slowingDown, click == "eject" && c.tracks > 0)
            << "only a track that plays slows down";
    }
}

// Eject while paused closes the panel at once, without the slowdown; from then on every click
// is refused.
TEST_F(PlayerPanel, EjectWhilePausedClosesWithoutSlowingDown) {
    reset(1);
    const Point pause = inside("pause"), eject = inside("eject");
    ASSERT_TRUE(panel.onClick(pause.x, pause.y));
    ASSERT_TRUE(music.paused);
    ASSERT_TRUE(panel.onClick(eject.x, eject.y));
    EXPECT_TRUE(panel.closing);
    EXPECT_FALSE(music.slowingDown);
    EXPECT_TRUE(music.paused) << "the music stays paused";
    for (const char* name : {"play", "pause", "eject"}) {
        const Point p = inside(name);
        EXPECT_FALSE(panel.onClick(p.x, p.y)) << name;
    }
    EXPECT_TRUE(music.paused);
}

} // namespace
