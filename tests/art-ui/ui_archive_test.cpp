// The interface's pictures and the scroller as the program gets them: from the packed archive
// beside the tests' working directory, through the program's reader and picture loader, each
// the same as the file the generator drew.
#include "canvas.h"
#include "resources/image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string drawnDir = "assets/interface/";

// Every picture the interface generator supplies, by the names the screens ask for.
std::vector<std::string> interfacePictureNames() {
    std::vector<std::string> names = {"vorthanelogo_blue.png",
                                      "vorthanelogo_green.png",
                                      "vorthanelogo_red.png",
                                      "vorthanelogo_grey.png",
                                      "player_background.png",
                                      "player_sliderbutton.png",
                                      "player_button_play.png",
                                      "player_button_previous.png",
                                      "player_button_next.png",
                                      "player_button_pause.png",
                                      "player_button_eject.png",
                                      "hud_background.png",
                                      "cursor.png",
                                      "black.png",
                                      "endscreen.png"};
    for (const char* verb :
         {"walk", "open", "lookat", "talkto", "pickup", "giveit", "close", "use"}) {
        names.push_back(std::string("commands_off_") + verb + ".png");
        names.push_back(std::string("commands_on_") + verb + ".png");
    }
    return names;
}

TEST(InterfaceArchive, EveryPictureArrivesAsItWasDrawn) {
    PackArchive archive;
    ASSERT_TRUE(archive.open("interface.qar"));
    for (const std::string& name : interfacePictureNames()) {
        ASSERT_TRUE(archive.contains(name.c_str())) << name << " is not in the archive";
        Image image;
        ASSERT_TRUE(loadImage(archive, image, name.c_str())) << name;
        Canvas drawn;
        std::string error;
        ASSERT_TRUE(readPng(drawnDir + name, drawn, error)) << error;
        ASSERT_EQ(image.width, drawn.width) << name;
        ASSERT_EQ(image.height, drawn.height) << name;
        EXPECT_TRUE(std::equal(drawn.pixels.begin(), drawn.pixels.end(), image.pixels.get()))
            << name;
    }
}

TEST(InterfaceArchive, TheScrollerArrivesAsText) {
    PackArchive archive;
    ASSERT_TRUE(archive.open("interface.qar"));
    ByteBuffer text;
    ASSERT_TRUE(loadByName(archive, "scroller.txt", text, LoadAs::Text));
    std::ifstream file(drawnDir + "scroller.txt", std::ios::binary);
    std::stringstream drawn;
    drawn << file.rdbuf();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data.get())), drawn.str());
}

} // namespace
