#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "engine/Control.h"
#include "engine/Screen.h"

// A screen and a control that write every call they receive into a shared
// log, as "name:Call(args)", so tests can check order and delivery.
using CallLog = std::vector<std::string>;

// Appends "name:call" to the log, then runs `then` if there is one.
inline void LogCall(CallLog& log, const std::string& name, const std::string& call, const std::function<void()>& then)
{
    log.push_back(name + ":" + call);
    if (then)
        then();
}

class RecordingScreen : public Screen
{
  public:
    RecordingScreen(std::string screenName, CallLog& callLog) : name(std::move(screenName)), log(callLog) {}

    void OnEnter() override { Record("OnEnter", onEnter); }
    void OnExit() override { Record("OnExit"); }
    void OnKey(int key, bool alt) override { Record("OnKey(" + std::to_string(key) + (alt ? ",alt)" : ")")); }
    void OnLeftButtonDown(int x, int y) override { Record("OnLeftButtonDown" + At(x, y)); }
    void OnLeftButtonUp(int x, int y) override { Record("OnLeftButtonUp" + At(x, y)); }
    void OnMouseMove(int x, int y) override { Record("OnMouseMove" + At(x, y)); }
    void Update(int frames) override { updates.push_back(frames); }

    static std::string At(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

    std::string name;
    CallLog& log;
    std::vector<int> updates;
    std::function<void()> onEnter;

  private:
    void Record(const std::string& call, const std::function<void()>& then = {}) { LogCall(log, name, call, then); }
};

class RecordingControl : public Control
{
  public:
    RecordingControl(std::string controlName, CallLog& callLog, int px = 0, int py = 0, int w = 10, int h = 10)
        : name(std::move(controlName)), log(callLog)
    {
        x = px;
        y = py;
        width = w;
        height = h;
    }

    void Load() override { ++loads; }
    void Release() override
    {
        Record("Release");
        needsLoad = true;
    }
    bool OnKey(int key, bool alt) override
    {
        Record("OnKey(" + std::to_string(key) + (alt ? ",alt)" : ")"));
        return key == takesKey;
    }
    void OnMouseDown(int px, int py) override { Record("OnMouseDown" + RecordingScreen::At(px, py), onMouseDown); }
    void OnMouseUp(int px, int py) override { Record("OnMouseUp" + RecordingScreen::At(px, py), onMouseUp); }
    void OnMouseEnter() override
    {
        Record("OnMouseEnter");
        Control::OnMouseEnter();
    }
    void OnMouseLeave() override
    {
        Record("OnMouseLeave");
        Control::OnMouseLeave();
    }
    void OnMouseMove(int px, int py) override { Record("OnMouseMove" + RecordingScreen::At(px, py)); }
    void Update() override { ++updates; }
    bool Draw(Application& app) override
    {
        const bool paint = Control::Draw(app);
        ++draws;
        paints += paint ? 1 : 0;
        return paint;
    }

    std::string name;
    CallLog& log;
    int takesKey = -1;
    int loads = 0;
    int updates = 0;
    int draws = 0;
    int paints = 0;
    std::function<void()> onMouseDown;
    std::function<void()> onMouseUp;

  private:
    void Record(const std::string& call, const std::function<void()>& then = {}) { LogCall(log, name, call, then); }
};
