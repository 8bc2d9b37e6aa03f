#include "screens/ProfileSelectScreen.h"

#include "app/Application.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/MainMenuScreen.h"
#include "screens/MenuRecipes.h"
#include "screens/NewProfileEntryScreen.h"

namespace
{

ProfileSelectScreen* instance = nullptr;

constexpr float FirstSlotY = 0.238658f;
// Four slots and Delete Profile at 0.6797 H stand at equal steps.
constexpr float SlotStep = (0.6797f - FirstSlotY) / 4.0f;

const char* const NumberMovies[ProfileSelectScreen::SlotCount] = {
    "Data/Graphics/Profile/One.swf", "Data/Graphics/Profile/Two.swf", "Data/Graphics/Profile/Three.swf",
    "Data/Graphics/Profile/Four.swf"};

bool SlotIsFree(int slot)
{
    return ProfileStore::Get().GetProfileName(slot).empty();
}

} // namespace

ProfileSelectScreen& ProfileSelectScreen::Get()
{
    if (!instance)
        instance = new ProfileSelectScreen();
    return *instance;
}

void ProfileSelectScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

ProfileSelectScreen::ProfileSelectScreen()
    : marquee({"Select a Profile Or Make a New One by Choosing an Unassigned Slot.",
               "Select a Profile To Delete or Hit 'ESC' to Cancel."})
{
    for (Button& slot : slots)
        slot.SetListener(this);
    deleteProfile.SetListener(this);
    returnMain.SetListener(this);
}

void ProfileSelectScreen::Layout(int w, int h)
{
    LayOutMenuPanel(panel, w, h);
    marquee.Layout(w, h);
    for (int i = 0; i < SlotCount; ++i)
    {
        Button& slot = slots[i];
        SetUpCentredMenuButton(slot, w, h, "Data/Graphics/Profile/New.swf", FirstSlotY + i * SlotStep, '1' + i);
        const std::string& name = ProfileStore::Get().GetProfileName(i);
        if (!name.empty())
        {
            slot.SetCaptionText(TextLabel::ValidUtf8(name));
            slot.SetCaptionFont(GameFont, FractionOf(w, 0.04f));
            slot.SetTextColour(0x33, 0x33, 0x33);
        }
        redPictures[i] = false;

        Sprite& number = numbers[i];
        number.SetMovie(NumberMovies[i]);
        number.SetSize(FractionOf(w, 0.0425f), FractionOf(h, 0.0825f));
        number.SetPosition(slot.GetX() + FractionOf(w, 0.035f),
                           slot.GetY() + slot.GetHeight() / 2 - number.GetHeight() / 2 - FractionOf(h, 0.001f));
    }

    SetUpSmallButton(deleteProfile, w, h, "Data/Graphics/Profile/DeleteProfile.swf");
    deleteProfile.SetSize(FractionOf(w, 0.35f), FractionOf(h, 0.09166f));
    deleteProfile.SetPosition(w / 2 - deleteProfile.GetWidth() / 2, FractionOf(h, 0.6797f));
    deleteProfile.SetHotkey('d', false);

    SetUpCentredMenuButton(returnMain, w, h, "Data/Graphics/ReturnMain.swf", 0.83f, 'r');
}

void ProfileSelectScreen::OnEnter()
{
    (void)LoadProfiles();
    Application& app = Application::Get();
    app.SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    int w = 0;
    int h = 0;
    app.GetSize(w, h);
    Layout(w, h);

    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&panel);
    marquee.Register();
    for (Button& slot : slots)
        screens.AddControl(&slot);
    for (Sprite& number : numbers)
        screens.AddControl(&number);
    screens.AddControl(&deleteProfile);
    screens.AddControl(&returnMain);
    ApplySlotPictures();
}

void ProfileSelectScreen::OnExit() {}

bool ProfileSelectScreen::DialogOpen() const
{
    return ScreenManager::Get().IsModal();
}

void ProfileSelectScreen::LeaveDeleteMode()
{
    deleteMode = false;
    leaveDeleteMode = false;
    ApplySlotPictures();
}

void ProfileSelectScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key != KeyCode::Escape)
        return;
    // The question is answered No: leaving it open over another screen would
    // leave that screen deaf to the mouse.
    if (DialogOpen())
        OnButtonClicked(&dialog.NoButton());
    else if (deleteMode)
        leaveDeleteMode = true;
    else
        ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
}

void ProfileSelectScreen::OnLeftButtonUp(int x, int y)
{
    (void)x;
    (void)y;
    if (deleteMode)
        leaveDeleteMode = true;
}

void ProfileSelectScreen::OnButtonClicked(Button* button)
{
    ScreenManager& screens = ScreenManager::Get();
    ProfileStore& profiles = ProfileStore::Get();
    for (int i = 0; i < SlotCount; ++i)
    {
        if (button != &slots[i])
            continue;
        if (SlotIsFree(i))
        {
            if (deleteMode)
            {
                LeaveDeleteMode();
            }
            else
            {
                NewProfileEntryScreen::Get().SetSlot(i);
                screens.SetScreen(&NewProfileEntryScreen::Get(), true);
            }
        }
        else if (deleteMode)
        {
            slotToDelete = i;
            dialog.Open(profiles.GetProfileName(i));
        }
        else
        {
            profiles.SetCurrentProfile(i);
            screens.SetScreen(&GameTypeSelectScreen::Get(), true);
        }
        return;
    }

    if (button == &deleteProfile)
    {
        deleteMode = true;
        leaveDeleteMode = false;
        ApplySlotPictures();
    }
    else if (button == &returnMain)
    {
        if (deleteMode)
            LeaveDeleteMode();
        else
            screens.SetScreen(&MainMenuScreen::Get(), true);
    }
    else if (button == &dialog.YesButton())
    {
        profiles.DeleteProfile(slotToDelete);
        screens.EndModal();
        screens.SetScreen(this, false);
        if (deleteMode)
            leaveDeleteMode = true;
    }
    else if (button == &dialog.NoButton())
    {
        screens.EndModal();
        if (deleteMode)
            leaveDeleteMode = true;
    }
}

void ProfileSelectScreen::Update(int framesSinceSwitch)
{
    (void)framesSinceSwitch;
    marquee.Step(deleteMode ? 1 : 0);
    if (leaveDeleteMode)
        LeaveDeleteMode();

    bool anyNamed = false;
    for (int i = 0; i < SlotCount; ++i)
        anyNamed = anyNamed || !SlotIsFree(i);
    if (anyNamed)
        deleteProfile.Show();
    else
        deleteProfile.Hide();
    ApplySlotPictures();
}

// Named slots wear the red pictures in delete mode. Pictures are changed only
// when they differ, since a change renders the button anew.
void ProfileSelectScreen::ApplySlotPictures()
{
    for (int i = 0; i < SlotCount; ++i)
    {
        const bool red = deleteMode && !SlotIsFree(i);
        if (red == redPictures[i])
            continue;
        redPictures[i] = red;
        Button& slot = slots[i];
        const char* prefix = red ? "Data/Graphics/RedMenuButton" : "Data/Graphics/MenuButton";
        slot.SetNormalMovie(std::string(prefix) + ".swf");
        slot.SetMouseOverMovie(std::string(prefix) + "MouseOver.swf");
        slot.SetMouseDownMovie(std::string(prefix) + "MouseDown.swf");
        Application::Get().Invalidate(slot.GetX(), slot.GetY(), slot.GetWidth(), slot.GetHeight());
    }
}
