#pragma once

#include "data/ProfileStore.h"
#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/Screen.h"
#include "media/Sprite.h"
#include "screens/DeleteProfileDialog.h"
#include "screens/Marquee.h"

// The four profile slots (hot keys 1 to 4), Delete Profile (d) and Return
// (r). A named slot becomes the current profile and leads on to the game
// type choice; a free slot ("New") leads to the name entry. In delete mode
// the named slots turn red and a click on one asks before deleting it.
//
//   normal --Delete Profile--> delete mode
//   delete mode --named slot--> question --Yes: delete, rebuild / No-->
//   delete mode --Escape, Return, free slot, any release elsewhere--> normal
//
// A release ends delete mode one update later, so the click that same
// release makes on a named slot still finds delete mode on.
class ProfileSelectScreen : public Screen, public ButtonListener
{
  public:
    static constexpr int SlotCount = ProfileStore::SlotCount;

    static ProfileSelectScreen& Get();
    static void Destroy();

    ProfileSelectScreen();

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void OnLeftButtonUp(int x, int y) override;
    void Update(int framesSinceSwitch) override;
    void OnButtonClicked(Button* button) override;

    [[nodiscard]] bool InDeleteMode() const { return deleteMode; }
    [[nodiscard]] bool IsLeaveDeleteModeRequested() const { return leaveDeleteMode; }
    [[nodiscard]] Button& SlotButton(int slot) { return slots[slot]; }
    [[nodiscard]] Sprite& SlotNumber(int slot) { return numbers[slot]; }
    [[nodiscard]] Button& DeleteButton() { return deleteProfile; }
    [[nodiscard]] Button& ReturnButton() { return returnMain; }
    [[nodiscard]] Marquee& Banner() { return marquee; }
    [[nodiscard]] DeleteProfileDialog& Dialog() { return dialog; }

  private:
    void Layout(int w, int h);
    void LeaveDeleteMode();
    void ApplySlotPictures();
    [[nodiscard]] bool DialogOpen() const;

    bool deleteMode = false;
    bool leaveDeleteMode = false;
    int slotToDelete = 0;
    bool redPictures[SlotCount] = {};

    Sprite panel;
    Marquee marquee;
    Button slots[SlotCount];
    Sprite numbers[SlotCount];
    Button deleteProfile;
    Button returnMain;
    DeleteProfileDialog dialog{this};
};
