#include <functional>
#include <tuple>
#include <vector>

#include "media/Sound.h"
#include "screens/MenuFixture.h"

namespace
{

class LogoScreenTest : public MenuFixture
{
  protected:
    struct Step
    {
        double time;
        int phase, alpha;
        Screen* screen;
        bool switchPending;
        uint32_t centre; // the presented pixel in the middle of the logo
    };

    // Enters the logo screen at 640 x 480 and records every frame until the
    // main menu is current (or the limit is reached).
    std::vector<Step> RunLogo(int limit, uint64_t stepMs)
    {
        std::vector<Step> steps;
        ScreenManager::Get().SetScreen(&LogoScreen::Get(), true);
        for (int i = 0; i < limit; ++i)
        {
            if (RunFrames(1, stepMs) != 1)
                break;
            const LogoScreen& logo = LogoScreen::Get();
            const auto& frames = Platform().Frames();
            const uint32_t centre =
                frames.empty() ? 0 : frames.back().At(frames.back().width / 2, frames.back().height / 2);
            steps.push_back({App().time, logo.Phase(), logo.Alpha(), Current(), ScreenManager::Get().IsSwitchPending(),
                             centre & 0xFFFFFF});
            if (Current() == &MainMenuScreen::Get())
                break;
        }
        return steps;
    }
};

TEST_F(LogoScreenTest, WhiteThenFadeInHoldFadeOutThenTheMainMenu)
{
    ASSERT_TRUE(OpenWindow(640, 480));
    const std::vector<Step> steps = RunLogo(2000, 16);
    ASSERT_TRUE(!steps.empty() && steps.back().screen == &MainMenuScreen::Get());
    const double entered = steps.front().time;

    // The logo sprite is 0.8 W x 0.57 H, centred.
    const Sprite& sprite = LogoScreen::Get().Logo();
    EXPECT_EQ(std::make_tuple(sprite.GetX(), sprite.GetY(), sprite.GetWidth(), sprite.GetHeight()),
              std::make_tuple(64, 104, 512, 273));

    size_t i = 0;
    // Three seconds of opaque white.
    for (; i < steps.size() && steps[i].phase == 0; ++i)
        EXPECT_EQ(std::make_tuple(steps[i].time - entered <= 3.0 + 0.017, steps[i].alpha, steps[i].centre),
                  std::make_tuple(true, 255, 0xFFFFFFu))
            << i;
    ASSERT_LT(i, steps.size());
    EXPECT_GT(steps[i].time - entered, 3.0);

    // The fade in: the white thins out to nothing, faster and faster.
    int previous = 255, previousDrop = 0;
    const size_t fadeStart = i;
    for (; i < steps.size() && steps[i].phase == 1; ++i)
    {
        const int drop = previous - steps[i].alpha;
        EXPECT_GE(drop, previousDrop);
        previousDrop = drop;
        previous = steps[i].alpha;
    }
    ASSERT_LT(i, steps.size());
    EXPECT_EQ(std::make_pair(i - fadeStart > 10, steps[i].alpha), std::make_pair(true, 0)); // a fade, not a cut

    // The hold: the logo itself, fully visible, for two seconds.
    const double holdStart = steps[i].time; // the frame the white was gone
    for (; i < steps.size() && steps[i].phase == 2; ++i)
        EXPECT_EQ(steps[i].centre, 0xC81E1Eu);
    ASSERT_LT(i, steps.size());
    EXPECT_TRUE(steps[i].time - holdStart > 2.0 && steps[i].time - holdStart <= 2.0 + 0.016 + 1e-6)
        << steps[i].time - holdStart;

    // The fade out back to white; then one more frame asks for the menu.
    while (i < steps.size() && !(steps[i].phase == 3 && steps[i].alpha == 255))
        ++i;
    const size_t opaque = i;
    ASSERT_LT(opaque + 2, steps.size());
    EXPECT_EQ(std::make_tuple(steps[opaque].centre, steps[opaque].switchPending, steps[opaque + 1].switchPending,
                              steps[opaque + 1].screen, steps.size() - 1),
              std::make_tuple(0xFFFFFFu, false, true, static_cast<Screen*>(&LogoScreen::Get()), opaque + 2));
}

TEST_F(LogoScreenTest, TheJingleStartsWithTheFadeInAndAnyKeyOrClickSkipsToTheMenuSilencingIt)
{
    ASSERT_TRUE(OpenWindow(640, 480));
    ScreenManager::Get().SetScreen(&LogoScreen::Get(), true);
    RunFrames(150, 16); // 2.4 s: still white
    ASSERT_EQ(LogoScreen::Get().Phase(), 0);
    Sound* jingle = LogoScreen::Get().LogoSound();
    ASSERT_TRUE(jingle != nullptr && jingle->HasData() && !jingle->IsPlaying());
    RunFrames(60, 16);
    ASSERT_EQ(std::make_pair(LogoScreen::Get().Phase(), jingle->IsPlaying()), std::make_pair(1, true));

    const std::function<void(ScreenManager&)> skips[] = {[](ScreenManager& m) { m.OnKeyDown('q', false); },
                                                         [](ScreenManager& m) { m.OnLeftButtonDown(10, 10); },
                                                         [](ScreenManager& m) { m.OnRightButtonDown(600, 400); }};
    for (int how = 0; how < 3; ++how)
    {
        ScreenManager::Get().SetScreen(&LogoScreen::Get(), true);
        RunFrames(200, 16); // into the fade in, the jingle playing
        ASSERT_TRUE(Current() == &LogoScreen::Get() && LogoScreen::Get().Phase() == 1 && BusyVoices() >= 1) << how;
        skips[how](ScreenManager::Get());
        EXPECT_EQ(BusyVoices(), 0) << how;
        RunFrames(1, 16); // the jingle is released on leaving
        EXPECT_TRUE(Current() == &MainMenuScreen::Get() && LogoScreen::Get().LogoSound() == nullptr) << how;
    }
}

TEST_F(LogoScreenTest, SlowFramesStillEndInTheMenu)
{
    ASSERT_TRUE(OpenWindow(320, 240));
    const std::vector<Step> steps = RunLogo(200, 250); // four frames a second
    ASSERT_TRUE(!steps.empty() && steps.back().screen == &MainMenuScreen::Get());
    EXPECT_GT(steps.back().time - steps.front().time, 5.0);
}

} // namespace
