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
#include "media/AudioDevice.h"
#include "media/SoundManager.h"
#include "screens/LogoScreen.h"
#include "screens/MainMenuScreen.h"

// The logo screen and the main menu with everything they load: movies held
// in memory, the game font, short sounds and a menu music loop, and headless
// audio so tests can see which sounds play.
class MenuFixture : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        AddMenuMovies(files);
        hasFont = InstallGameFont();
        for (const char* blip : {"ButtonHighlight", "ButtonPress", "Bad"})
            WriteFile(std::string("Data/Sounds/") + blip + ".ogg", ToneFile(1500, 6000.0));
        WriteFile("Data/Sounds/Logo.ogg", ToneFile(44100));
        WriteFile("Data/Sounds/Tiger.ogg", ToneFile(22050, 5000.0));
        ASSERT_TRUE(FileSystem::Get().Init("."));
        ASSERT_NE(OpenAudio(), nullptr);
    }

    void TearDown() override
    {
        // A whole run has already destroyed the screens and let go of them.
        if (!App().IsQuitRequested())
        {
            if (ScreenManager::Get().IsModal())
                ScreenManager::Get().EndModal();
            ScreenManager::Get().SetScreen(nullptr, true);
            ScreenManager::Get().Update();
        }
        LogoScreen::Destroy();
        MainMenuScreen::Destroy();
        HeadlessApp::TearDown();
    }

    [[nodiscard]] Screen* Current() const { return ScreenManager::Get().GetScreen(); }
    // Makes `screen` current and runs the frame that switches to it.
    void Go(Screen& screen)
    {
        ScreenManager::Get().SetScreen(&screen, true);
        RunFrames(1);
    }
    // A key press and the frame that follows it.
    void Press(int key)
    {
        ScreenManager::Get().OnKeyDown(key, false);
        RunFrames(1);
    }
    [[nodiscard]] int BusyVoices() const { return SoundManager::Get().Device()->BusyVoices(); }

    struct Blank : Screen
    {
        void OnEnter() override {}
        void OnExit() override {}
    };

    bool hasFont = false;
    swftest::MemoryFiles files;
};
