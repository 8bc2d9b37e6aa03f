#include "screens/OptionsScreen.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "app/Application.h"
#include "data/GameOptions.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "media/Sound.h"
#include "media/SoundManager.h"
#include "screens/MainMenuScreen.h"
#include "screens/MenuRecipes.h"

namespace
{
OptionsScreen* instance = nullptr;

// "s" and "m" raise a volume by this much, and wrap from full to silent.
constexpr float VolumeStep = 0.05f;

void SetUpArrow(Button& arrow, const char* normal, const char* mouseOver, const char* mouseDown, int w, int h)
{
    arrow.SetNormalMovie(normal);
    arrow.SetMouseOverMovie(mouseOver);
    arrow.SetMouseDownMovie(mouseDown);
    arrow.SetSize(FractionOf(w, 0.1f), FractionOf(h, 0.09f));
}

// A volume slider of 0.4 W x 0.035 H at 0.525 W, vertically centred on its
// label; its shuttle travels the whole track.
void PlaceSlider(Slider& slider, const TextLabel& label, int w, int h)
{
    slider.SetTrackMovie("Data/Graphics/Slider.swf");
    slider.SetShuttleMovie("Data/Graphics/SliderShuttle.swf");
    slider.SetShuttleMouseOverMovie("Data/Graphics/SliderShuttleMouseOver.swf");
    slider.SetShuttleMouseDownMovie("Data/Graphics/SliderShuttleMouseDown.swf");
    slider.SetSize(FractionOf(w, 0.4f), FractionOf(h, 0.035f));
    const int shuttle = FractionOf(h, 0.05f);
    slider.SetShuttleSize(shuttle, shuttle);
    const int x = FractionOf(w, 0.525f);
    slider.SetPosition(x, label.GetY() + label.GetHeight() / 2 - slider.GetHeight() / 2);
    slider.SetRange(x, x + slider.GetWidth() - shuttle);
}

void Centre(Control& control, int w, int y)
{
    control.SetPosition(w / 2 - control.GetWidth() / 2, y);
}
} // namespace

OptionsScreen& OptionsScreen::Get()
{
    if (instance == nullptr)
    {
        instance = new OptionsScreen();
    }
    return *instance;
}

void OptionsScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

OptionsScreen::OptionsScreen() : marquee({"Quorvo -- Game Options"}), keepDialog(*this), discardDialog(*this)
{
    for (Button* button : {&leftArrow, &rightArrow, &apply, &returnButton})
    {
        button->SetListener(this);
    }
    soundSlider.SetListener(this);
    musicSlider.SetListener(this);
    fullscreenLabel.SetText("Fullscreen");
    soundLabel.SetText("SoundFx Volume");
    musicLabel.SetText("Music Volume");
}

OptionsScreen::~OptionsScreen()
{
    if (sample != nullptr && SoundManager::Existing() != nullptr)
    {
        sample->Release();
    }
    sample = nullptr;
}

bool OptionsScreen::IsKeepDialogOpen() const
{
    return ready && !discardMode && ScreenManager::Get().IsModal();
}

bool OptionsScreen::IsDiscardDialogOpen() const
{
    return ready && discardMode && ScreenManager::Get().IsModal();
}

void OptionsScreen::OnEnter()
{
    Application& app = Application::Get();
    // Set first, so that even a screen that stops below shows no trace of the
    // menu it came from.
    app.SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    ready = false;
    discardMode = false;
    app.GetAvailableModes(sizes);
    const auto current = std::find(sizes.begin(), sizes.end(), DisplaySize{app.Width(), app.Height()});
    if (current == sizes.end())
    {
        app.ShowMessage("Warning: Unable to locate current display mode in display mode list.");
        return;
    }
    appliedIndex = static_cast<int>(current - sizes.begin());
    selectedIndex = appliedIndex;

    ScreenManager& screens = ScreenManager::Get();
    for (Control* control :
         std::initializer_list<Control*>{&panel, &sizeLabel, &leftArrow, &rightArrow, &fullscreenLabel, &fullscreenBox,
                                         &soundLabel, &soundSlider, &musicLabel, &musicSlider, &apply})
    {
        screens.AddControl(control);
    }
    marquee.Register();
    screens.AddControl(&returnButton);
    for (Sprite& underline : underlines)
    {
        screens.AddControl(&underline);
    }
    fullscreenBox.SetChecked(app.IsFullscreen());
    const GameOptions& options = GameOptions::Get();
    soundSlider.SetValue(options.effectsVolume, false);
    musicSlider.SetValue(options.musicVolume, false);
    appliedSoundVolume = soundSlider.GetValue();
    appliedMusicVolume = musicSlider.GetValue();
    sample = SoundManager::Get().LoadEffect(SampleSound);
    ready = true;
    Layout();
}

void OptionsScreen::Layout()
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);
    const int font = FractionOf(w, 0.06f);

    LayOutMenuPanel(panel, w, h);

    sizeLabel.SetFont(GameFont, font);
    SetUpArrow(leftArrow, "Data/Graphics/LeftArrowLight.swf", "Data/Graphics/LeftArrowMouseOverLight.swf",
               "Data/Graphics/LeftArrowMouseDown.swf", w, h);
    leftArrow.SetPosition(w - FractionOf(w, 0.8425f) - leftArrow.GetWidth(), FractionOf(h, 0.248f));
    SetUpArrow(rightArrow, "Data/Graphics/RightArrowLight.swf", "Data/Graphics/RightArrowMouseOverLight.swf",
               "Data/Graphics/RightArrowMouseDown.swf", w, h);
    rightArrow.SetPosition(FractionOf(w, 0.8425f), FractionOf(h, 0.248f));
    RefreshSize();

    fullscreenLabel.SetFont(GameFont, font);
    Centre(fullscreenLabel, w, FractionOf(h, 0.35f));
    const int side = fullscreenLabel.GetHeight();
    fullscreenBox.SetBoxMovie("Data/Graphics/Checkbox.swf");
    fullscreenBox.SetMouseOverMovie("Data/Graphics/CheckboxMouseOver.swf");
    fullscreenBox.SetMarkMovie("Data/Graphics/CheckboxMark.swf");
    fullscreenBox.SetSize(side, side);
    fullscreenBox.SetMarkSize(side, side);
    fullscreenBox.SetPosition(FractionOf(w, 0.25f), fullscreenLabel.GetY());

    soundLabel.SetFont(GameFont, font);
    soundLabel.SetPosition(FractionOf(w, 0.05f), FractionOf(h, 0.45f));
    PlaceSlider(soundSlider, soundLabel, w, h);
    musicLabel.SetFont(GameFont, font);
    musicLabel.SetPosition(FractionOf(w, 0.129f), FractionOf(h, 0.55f));
    PlaceSlider(musicSlider, musicLabel, w, h);

    SetUpCentredMenuButton(apply, w, h, "Data/Graphics/Options/ApplyChanges.swf", 0.665f, 'a');

    marquee.Layout(w, h);

    SetUpCentredMenuButton(returnButton, w, h, "Data/Graphics/ReturnMain.swf", 0.83f, 'r');

    // Each underline marks the first letter of its label: the shortcut key.
    const struct
    {
        const TextLabel* label;
        float width;
    } marks[] = {{&sizeLabel, 0.025f}, {&fullscreenLabel, 0.025f}, {&soundLabel, 0.0275f}, {&musicLabel, 0.0325f}};
    for (int i = 0; i < 4; ++i)
    {
        underlines[i].SetMovie("Data/Graphics/Options/Underline.swf");
        underlines[i].SetSize(FractionOf(w, marks[i].width), FractionOf(h, 0.0825f));
        underlines[i].SetPosition(marks[i].label->GetX(), marks[i].label->GetY() + FractionOf(h, 0.015f));
    }
}

void OptionsScreen::RefreshSize()
{
    const DisplaySize& size = sizes[static_cast<size_t>(selectedIndex)];
    sizeLabel.SetText("Display Size:  " + std::to_string(size.width) + " x " + std::to_string(size.height));
    const int w = Application::Get().Width();
    Centre(sizeLabel, w, FractionOf(Application::Get().Height(), 0.245f));
    if (selectedIndex == 0)
    {
        leftArrow.Hide();
    }
    else
    {
        leftArrow.Show();
    }
    if (selectedIndex == static_cast<int>(sizes.size()) - 1)
    {
        rightArrow.Hide();
    }
    else
    {
        rightArrow.Show();
    }
}

void OptionsScreen::OnExit()
{
    if (sample != nullptr)
    {
        sample->Release();
        sample = nullptr;
    }
    ready = false;
}

bool OptionsScreen::HasChanges() const
{
    return std::fabs(musicSlider.GetValue() - appliedMusicVolume) > VolumeTolerance ||
           std::fabs(soundSlider.GetValue() - appliedSoundVolume) > VolumeTolerance || selectedIndex != appliedIndex ||
           fullscreenBox.IsChecked() != Application::Get().IsFullscreen();
}

void OptionsScreen::Update(int framesSinceSwitch)
{
    (void)framesSinceSwitch;
    if (!ready)
    {
        return;
    }
    if (HasChanges())
    {
        apply.Show();
    }
    else
    {
        apply.Hide();
    }
    if (IsKeepDialogOpen())
    {
        const double remaining = KeepSettingsDialog::Seconds - (Application::Get().GetTime() - dialogStartTime);
        if (remaining <= RevertMargin)
        {
            Revert();
        }
        else
        {
            keepDialog.ShowRemaining(static_cast<int>(remaining));
        }
    }
    marquee.Step(0);
}

void OptionsScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key == KeyCode::Escape)
    {
        // An open dialog is answered the careful way before leaving: a
        // display change not yet kept is undone, and volumes not applied go
        // back to the saved ones.
        if (IsKeepDialogOpen())
        {
            Revert();
        }
        else if (IsDiscardDialogOpen())
        {
            DiscardAndLeave();
            return;
        }
        Leave();
        return;
    }
    // Under a dialog, or on a screen that could not be built, nothing else
    // may change the settings.
    if (!ready || ScreenManager::Get().IsModal())
    {
        return;
    }
    switch (key)
    {
    case 'd':
        selectedIndex = (selectedIndex + 1) % static_cast<int>(sizes.size());
        RefreshSize();
        break;
    case 'f':
        fullscreenBox.SetChecked(!fullscreenBox.IsChecked());
        break;
    case 's':
        StepVolume(soundSlider);
        break;
    case 'm':
        StepVolume(musicSlider);
        break;
    default:
        break;
    }
}

void OptionsScreen::StepVolume(Slider& slider)
{
    const float value = slider.GetValue();
    slider.SetValue(value >= 1.0f ? 0.0f : std::min(1.0f, value + VolumeStep), true);
}

void OptionsScreen::OnButtonClicked(Button* button)
{
    if (button == &leftArrow)
    {
        if (selectedIndex > 0)
        {
            --selectedIndex;
        }
        RefreshSize();
    }
    else if (button == &rightArrow)
    {
        if (selectedIndex < static_cast<int>(sizes.size()) - 1)
        {
            ++selectedIndex;
        }
        RefreshSize();
    }
    else if (button == &apply)
    {
        Apply();
    }
    else if (button == &returnButton)
    {
        if (apply.IsHidden())
        {
            Leave();
        }
        else
        {
            discardDialog.Open();
            discardMode = true;
        }
    }
    else if (button == &keepDialog.YesButton())
    {
        KeepSettings();
    }
    else if (button == &keepDialog.NoButton())
    {
        Revert();
    }
    else if (button == &discardDialog.YesButton())
    {
        DiscardAndLeave();
    }
    else if (button == &discardDialog.NoButton())
    {
        ScreenManager::Get().EndModal();
        discardMode = false;
    }
}

void OptionsScreen::Apply()
{
    Application& app = Application::Get();
    fullscreenBeforeApply = app.IsFullscreen();
    if (selectedIndex == appliedIndex && fullscreenBox.IsChecked() == fullscreenBeforeApply)
    {
        // Only the volumes changed: nothing to confirm.
        appliedSoundVolume = soundSlider.GetValue();
        appliedMusicVolume = musicSlider.GetValue();
        GameOptions& options = GameOptions::Get();
        options.effectsVolume = appliedSoundVolume;
        options.musicVolume = appliedMusicVolume;
        (void)SaveGameOptions();
        return;
    }
    const DisplaySize& size = sizes[static_cast<size_t>(selectedIndex)];
    if (!app.SetDisplayMode(size.width, size.height, fullscreenBox.IsChecked()))
    {
        return;
    }
    Layout();
    keepDialog.Open();
    dialogStartTime = app.GetTime();
    discardMode = false;
}

void OptionsScreen::KeepSettings()
{
    ScreenManager::Get().EndModal();
    Application& app = Application::Get();
    // What is stored is what the window shows: the size and mode actually
    // set, even where full screen was refused.
    const auto shown = std::find(sizes.begin(), sizes.end(), DisplaySize{app.Width(), app.Height()});
    if (shown != sizes.end())
    {
        selectedIndex = static_cast<int>(shown - sizes.begin());
    }
    appliedIndex = selectedIndex;
    RefreshSize();
    fullscreenBox.SetChecked(app.IsFullscreen());
    appliedSoundVolume = soundSlider.GetValue();
    appliedMusicVolume = musicSlider.GetValue();

    GameOptions& options = GameOptions::Get();
    options.width = app.Width();
    options.height = app.Height();
    options.fullscreen = app.IsFullscreen();
    options.effectsVolume = appliedSoundVolume;
    options.musicVolume = appliedMusicVolume;
    (void)SaveGameOptions();
}

void OptionsScreen::Revert()
{
    ScreenManager::Get().EndModal();
    const DisplaySize& size = sizes[static_cast<size_t>(appliedIndex)];
    const bool restored = Application::Get().SetDisplayMode(size.width, size.height, fullscreenBeforeApply);
    fullscreenBox.SetChecked(fullscreenBeforeApply);
    soundSlider.SetValue(appliedSoundVolume, true);
    musicSlider.SetValue(appliedMusicVolume, true);
    // The size label still shows the refused size, so Apply stays on offer.
    if (restored)
    {
        Layout();
    }
}

void OptionsScreen::Leave()
{
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
}

void OptionsScreen::DiscardAndLeave()
{
    const GameOptions& options = GameOptions::Get();
    SoundManager::Get().SetEffectsVolume(options.effectsVolume);
    SoundManager::Get().SetMusicVolume(options.musicVolume);
    ScreenManager::Get().EndModal();
    discardMode = false;
    Leave();
}

void OptionsScreen::OnSliderChanged(Slider* slider)
{
    if (slider == &musicSlider)
    {
        SoundManager::Get().SetMusicVolume(slider->GetValue());
    }
}

void OptionsScreen::OnSliderReleased(Slider* slider)
{
    if (slider != &soundSlider)
    {
        return;
    }
    SoundManager::Get().SetEffectsVolume(slider->GetValue());
    if (sample != nullptr)
    {
        (void)sample->Play(false);
    }
}
