#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "engine/FileSystem.h"
#include "engine/Screen.h"
#include "engine/ScreenManager.h"
#include "engine/platform/HeadlessAudioBackend.h"
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
class MenuFixture : public HeadlessApp {
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        AddMenuMovies(files);
        const std::string font = FontFile();
        if (!font.empty()) {
            std::ifstream in(font, std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            WriteFile("Data/Fonts/Overload", bytes.str());
        }
        const std::string blip = EncodeOggVorbis(SineTone(1500, 2, 441.0, 22050, 6000.0), 2, 22050);
        WriteFile("Data/Sounds/ButtonHighlight.ogg", blip);
        WriteFile("Data/Sounds/ButtonPress.ogg", blip);
        WriteFile("Data/Sounds/Logo.ogg", EncodeOggVorbis(SineTone(44100, 2, 441.0, 22050, 8000.0), 2, 22050));
        WriteFile("Data/Sounds/Tiger.ogg", EncodeOggVorbis(SineTone(22050, 2, 220.5, 22050, 5000.0), 2, 22050));
        ASSERT_TRUE(FileSystem::Get().Init("."));
        auto backend = std::make_unique<HeadlessAudioBackend>();
        audio = backend.get();
        ASSERT_TRUE(SoundManager::Get().Open(std::move(backend)));
    }

    void TearDown() override
    {
        // A whole run has already destroyed the screens, and the manager has
        // let go of them.
        if (!App().IsQuitRequested()) {
            if (ScreenManager::Get().IsModal()) {
                ScreenManager::Get().EndModal();
            }
            ScreenManager::Get().SetScreen(nullptr, true);
            ScreenManager::Get().Update();
        }
        LogoScreen::Destroy();
        MainMenuScreen::Destroy();
        HeadlessApp::TearDown();
    }

    static std::string FontFile()
    {
        for (const std::string& candidate : {std::string(QUORVO_GAME_DIR) + "/Data/Fonts/Overload",
                                            std::string("/usr/share/fonts/opentype/dosis/Dosis-Medium.otf")}) {
            if (std::filesystem::exists(candidate)) {
                return candidate;
            }
        }
        return {};
    }

    [[nodiscard]] Screen* Current() const { return ScreenManager::Get().GetScreen(); }
    [[nodiscard]] int BusyVoices() const { return SoundManager::Get().Device()->BusyVoices(); }

    struct Blank : Screen {
        void OnEnter() override {}
        void OnExit() override {}
    };

    HeadlessAudioBackend* audio = nullptr;
    swftest::MemoryFiles files;
};
