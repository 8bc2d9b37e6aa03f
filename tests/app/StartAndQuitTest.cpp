#include <csignal>
#include <string>

#include "app/Application.h"
#include "app/QuitSignal.h"
#include "fixtures/HeadlessApp.h"

namespace
{

class StartAndQuitTest : public HeadlessApp
{
  protected:
    void TearDown() override
    {
        QuitSignal::Uninstall();
        HeadlessApp::TearDown();
    }
};

TEST_F(StartAndQuitTest, MissingDataIsOneMessageAndNoWindow)
{
    App().SetCheckGameData(true);
    WriteFile("Data/Sounds/Click.ogg", "");
    EXPECT_EQ(App().Run(), 0);
    EXPECT_EQ(Platform().WindowsOpened(), 0);
    ASSERT_EQ(Platform().Messages().size(), 1u);
    EXPECT_EQ(Platform().Messages()[0].text,
              "The game's data could not be found: Data/Graphics, Data/Fonts/Overload and Data/Levels are "
              "missing.\n\nLooked in the game folder " +
                  Folder() +
                  " and found no data archive (*.VKR) there.\n\nReinstalling the game brings its data back.");
}

// SIGTERM ends the installed game in the install check.
TEST_F(StartAndQuitTest, AnInterruptEndsTheGameAndSavesTheOptions)
{
    QuitSignal::Install();
    Platform().SetDisplayModes({{640, 480}}); // the first run's size
    Platform().SetUsableDesktopSize({640, 480});
    std::raise(SIGINT);
    EXPECT_EQ(App().Run(), 0);
    EXPECT_EQ(ReadFile("Data/GameOpts.opt").rfind("<opts>\n\t<display width=\"640\"", 0), 0u);
}

TEST_F(StartAndQuitTest, MessagesLeaveAFullScreenWindowAsItWasAndRepeatsWaitASecond)
{
    ASSERT_TRUE(OpenWindow(640, 480, true));
    App().ShowMessage("Warning: one");
    App().ShowMessage("Warning: one");
    RunFrames(3, 0);
    EXPECT_TRUE(Platform().IsFullscreen() && !Platform().IsMinimised() && App().IsActive());

    App().ShowMessage("Warning: two");
    Platform().AdvanceTicks(999);
    App().ShowMessage("Warning: two");
    Platform().AdvanceTicks(1);
    App().ShowMessage("Warning: two");
    App().ShowMessage("Warning: one");
    ASSERT_EQ(Platform().Messages().size(), 4u);
    EXPECT_EQ(Platform().Messages()[2].text + ", " + Platform().Messages()[3].text, "Warning: two, Warning: one");
}

} // namespace
