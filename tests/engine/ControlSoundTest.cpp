#include <memory>

#include "engine/Button.h"
#include "engine/ControlSound.h"
#include "engine/WidgetFixture.h"

namespace
{

class ControlSoundTest : public WidgetFixture
{
  protected:
    // References held by others than this probe.
    int References(const std::string& name)
    {
        Sound* sound = SoundManager::Get().LoadEffect(name);
        const int held = sound->RefCount() - 1;
        sound->Release();
        return held;
    }
};

TEST_F(ControlSoundTest, HoldsExactlyOneReferenceAndGivesItBack)
{
    {
        ControlSound sound;
        EXPECT_FALSE(sound.IsLoaded());
        sound.Play(); // nothing loaded: nothing plays, nothing breaks

        ASSERT_TRUE(sound.Set("Data/Sounds/ButtonPress"));
        ASSERT_TRUE(sound.Set("Data/Sounds/ButtonPress")); // the same again
        EXPECT_EQ(References("Data/Sounds/ButtonPress"), 1);
        EXPECT_EQ(SoundManager::Get().EffectCount(), 1u);

        // Another sound replaces the first, which the manager then forgets.
        ASSERT_TRUE(sound.Set("Data/Sounds/ButtonHighlight"));
        EXPECT_EQ(SoundManager::Get().EffectCount(), 1u);
        sound.Play();
        EXPECT_TRUE(IsPlaying("Data/Sounds/ButtonHighlight"));
    }
    EXPECT_EQ(SoundManager::Get().EffectCount(), 0u);
}

TEST_F(ControlSoundTest, ControlOutlivingTheSoundManagerLeavesQuietly)
{
    auto button = std::make_unique<Button>();
    ASSERT_TRUE(button->SetHighlightSound("Data/Sounds/ButtonHighlight"));
    ASSERT_TRUE(button->SetPressSound("Data/Sounds/ButtonPress"));
    EXPECT_EQ(SoundManager::Get().EffectCount(), 2u);
    SoundManager::Destroy();
    button.reset(); // must not touch the freed sounds
    EXPECT_EQ(SoundManager::Existing(), nullptr);
}

} // namespace
