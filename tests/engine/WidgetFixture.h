#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "engine/FileSystem.h"
#include "engine/Screen.h"
#include "engine/ScreenManager.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/OggWriter.h"
#include "fixtures/TestMovies.h"
#include "media/Sound.h"
#include "media/SoundManager.h"

// A window, a current screen with nothing of its own, headless audio with the
// two button sounds, and movies held in memory: everything a widget needs to
// be driven through the screen manager as the game drives it.
class WidgetFixture : public HeadlessApp
{
  protected:
    struct BlankScreen : Screen
    {
        void OnEnter() override {}
        void OnExit() override {}
    };

    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(OpenWindow(640, 480));
        ASSERT_TRUE(FileSystem::Get().Init("."));
        ASSERT_NE(OpenAudio(), nullptr);
        for (const char* name : {"Data/Sounds/ButtonHighlight", "Data/Sounds/ButtonPress"})
            WriteFile(std::string(name) + ".ogg", ToneFile(2000, 6000.0));
        ScreenManager::Get().SetScreen(&screen, true);
        ScreenManager::Get().Update();
    }

    void TearDown() override
    {
        ScreenManager::Get().SetScreen(nullptr, false);
        ScreenManager::Get().Update();
        HeadlessApp::TearDown();
    }

    // Draws every registered control once (building their pictures).
    void DrawAll()
    {
        App().Invalidate(0, 0, App().Width(), App().Height());
        App().Render();
    }

    void Move(int x, int y) { ScreenManager::Get().OnMouseMove(x, y); }
    void Down(int x, int y) { ScreenManager::Get().OnLeftButtonDown(x, y); }
    void Up(int x, int y) { ScreenManager::Get().OnLeftButtonUp(x, y); }
    void Click(int x, int y)
    {
        Move(x, y);
        Down(x, y);
        Up(x, y);
    }
    void Key(int key, bool alt = false) { ScreenManager::Get().OnKeyDown(key, alt); }

    // Whether the named effect has a voice at the moment.
    bool IsPlaying(const std::string& name)
    {
        Sound* sound = SoundManager::Get().LoadEffect(name);
        const bool playing = sound->IsPlaying();
        sound->Release();
        return playing;
    }

    BlankScreen screen;
    swftest::MemoryFiles files;
};
