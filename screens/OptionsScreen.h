#pragma once

#include <vector>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/Checkbox.h"
#include "engine/Screen.h"
#include "engine/Slider.h"
#include "engine/SliderListener.h"
#include "engine/platform/Platform.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"
#include "screens/DiscardChangesDialog.h"
#include "screens/KeepSettingsDialog.h"
#include "screens/Marquee.h"

class Sound;

// The game options: the display size (arrows or "d" step through the sizes
// the display can show), full screen ("f"), and the sound-effects and music
// volumes ("s", "m"), which take effect at once. Apply Changes ("a") tries a
// new display setting, which the player must keep within 35 seconds or it is
// undone; confirmed settings are written to the options file. Return ("r")
// asks before dropping changes not applied; Escape leaves at once.
//
//   editing --Apply, new display--> keep dialog --Yes--> editing (saved)
//                                               --No / timeout / Escape--> editing (reverted)
//   editing --Return with changes--> discard dialog --Yes / Escape--> main menu
class OptionsScreen : public Screen, public ButtonListener, public SliderListener
{
  public:
    static constexpr const char* SampleSound = "Data/Sounds/TigerStab";
    // A slider this close to its applied value counts as unchanged.
    static constexpr float VolumeTolerance = 0.005f;
    // The keep dialog reverts once this little time is left.
    static constexpr double RevertMargin = 0.1;

    static OptionsScreen& Get();
    static void Destroy();

    OptionsScreen();
    ~OptionsScreen() override;

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void Update(int framesSinceSwitch) override;
    void OnButtonClicked(Button* button) override;
    void OnSliderChanged(Slider* slider) override;
    void OnSliderReleased(Slider* slider) override;

    // False after an entry that found the window's size missing from the
    // list of sizes: the screen then shows nothing and only Escape works.
    [[nodiscard]] bool IsReady() const { return ready; }
    [[nodiscard]] bool IsKeepDialogOpen() const;
    [[nodiscard]] bool IsDiscardDialogOpen() const;
    [[nodiscard]] const std::vector<DisplaySize>& Sizes() const { return sizes; }
    [[nodiscard]] int SelectedIndex() const { return selectedIndex; }
    [[nodiscard]] int AppliedIndex() const { return appliedIndex; }

    [[nodiscard]] Button& ApplyButton() { return apply; }
    [[nodiscard]] Button& ReturnButton() { return returnButton; }
    [[nodiscard]] Button& LeftArrow() { return leftArrow; }
    [[nodiscard]] Button& RightArrow() { return rightArrow; }
    [[nodiscard]] Checkbox& FullscreenBox() { return fullscreenBox; }
    [[nodiscard]] Slider& SoundSlider() { return soundSlider; }
    [[nodiscard]] Slider& MusicSlider() { return musicSlider; }
    [[nodiscard]] TextLabel& SizeLabel() { return sizeLabel; }
    [[nodiscard]] KeepSettingsDialog& KeepDialog() { return keepDialog; }
    [[nodiscard]] DiscardChangesDialog& DiscardDialog() { return discardDialog; }

  private:
    void Layout();
    void RefreshSize();
    void Apply();
    void KeepSettings();
    void Revert();
    void Leave();
    void DiscardAndLeave();
    [[nodiscard]] bool HasChanges() const;
    static void StepVolume(Slider& slider);

    Sprite panel;
    TextLabel sizeLabel;
    Button leftArrow;
    Button rightArrow;
    TextLabel fullscreenLabel;
    Checkbox fullscreenBox;
    TextLabel soundLabel;
    Slider soundSlider;
    TextLabel musicLabel;
    Slider musicSlider;
    Button apply;
    Marquee marquee;
    Button returnButton;
    Sprite underlines[4];
    KeepSettingsDialog keepDialog;
    DiscardChangesDialog discardDialog;

    std::vector<DisplaySize> sizes;
    int appliedIndex = 0;
    int selectedIndex = 0;
    float appliedSoundVolume = 1.0f;
    float appliedMusicVolume = 1.0f;
    bool fullscreenBeforeApply = false;
    double dialogStartTime = 0.0; // seconds on the application clock
    bool discardMode = false;
    bool ready = false;
    Sound* sample = nullptr;
};
