#pragma once

#include "engine/PadButton.h"

// Base of every game screen. Screens are long-lived singletons that own their
// controls; the ScreenManager makes one of them current at a time. OnEnter
// registers the screen's controls and sets the background colour.
class Screen
{
  public:
    virtual ~Screen() = default;
    virtual void OnEnter() = 0;
    virtual void OnExit() = 0;
    virtual void OnKey(int key, bool alt)
    {
        (void)key;
        (void)alt;
    }
    virtual void OnLeftButtonDown(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void OnRightButtonDown(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void OnLeftButtonUp(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void OnRightButtonUp(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void OnMouseMove(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void OnMiddleButtonDown(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void OnMiddleButtonUp(int x, int y)
    {
        (void)x;
        (void)y;
    }
    // Once per frame; the counter restarts at 0 on a switch or BeginModal.
    virtual void Update(int framesSinceSwitch) { (void)framesSinceSwitch; }
    // The application time (seconds) at which Update next has something to
    // do without any input; the main loop sleeps until then. The default,
    // now, asks for every frame (once per display refresh). A screen whose
    // Update waits for a known time, or for input only, says so, and its
    // controls announce their own changes.
    virtual double NextTimedChange(double now) const { return now; }

    // Keys with a meaning of their own here (Tab, Enter): they then neither
    // move nor press the keyboard focus.
    virtual bool KeepsKey(int key) const
    {
        (void)key;
        return false;
    }
    // While true (and no dialog is open) the gamepad plays the game, as
    // keys, instead of moving the focus between buttons.
    virtual bool PadPlaysGame() const { return false; }
    // A gamepad press for the screen itself (or its open dialog), ahead of
    // the usual handling; true when it was used.
    virtual bool OnPadButton(PadButton button)
    {
        (void)button;
        return false;
    }
};
