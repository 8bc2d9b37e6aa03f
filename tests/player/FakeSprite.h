#pragma once

// A scripted stand-in sprite for interpreter tests, and the fixture that runs scripts on it.
#include "fixtures/MovieFixtures.h"

#include "player/ActionInterpreter.h"
#include "player/ScriptEnvironment.h"
#include "player/ScriptGlobals.h"
#include "player/ScriptObject.h"
#include "player/ScriptTarget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace swf::test
{

using swftest::ActionBuilder;

// A sprite made of plain fields: a timeline of `frames` frames, children by name, the twenty-two
// properties in a table, and logs of the movie services scripts used.
class FakeSprite : public ScriptObject, public ScriptTarget
{
  public:
    explicit FakeSprite(int frames = 10, FakeSprite* parentSprite = nullptr)
        : frames(frames), parent(parentSprite), env(this)
    {
        for (int i = 0; i < 22; ++i)
            properties[i] = ScriptValue(i * 1.0);
    }

    // A child sprite; the parent keeps it alive.
    FakeSprite& addChild(const std::string& name, int childFrames = 10)
    {
        return *(children[name] = makeRef<FakeSprite>(childFrames, this));
    }

    bool getMember(const std::string& name, ScriptValue& out) override
    {
        if (name != "_currentframe")
            return ScriptObject::getMember(name, out);
        out = ScriptValue(current + 1);
        return true;
    }
    ScriptTarget* scriptTarget() override { return this; }
    ScriptObject& scriptObject() override { return *this; }
    const RefCounted* lifetimeOwner() override { return this; }
    ScriptEnvironment& environment() override { return env; }
    int currentFrame() override { return current; }
    int frameCount() override { return frames; }
    void gotoFrame(int frame) override
    {
        current = std::clamp(frame, 0, frames - 1);
        playing = false;
        gotoCalls++;
    }
    bool gotoLabeledFrame(const std::string& label) override
    {
        int frame;
        if (frameByLabel(label, frame))
            gotoFrame(frame);
        return labels.count(label) != 0;
    }
    bool frameByLabel(const std::string& label, int& frame) override
    {
        auto found = labels.find(label);
        frame = found == labels.end() ? 0 : found->second;
        return found != labels.end();
    }
    void setPlaying(bool play) override { playing = play; }
    bool isPlaying() override { return playing; }
    void frameActions(int frame, std::vector<Ref<const ActionRecord>>& out) override
    {
        if (actions.count(frame))
            out.push_back(actions[frame]);
    }
    ScriptTarget* parentTarget() override { return parent; }
    ScriptTarget* rootTarget() override { return parent ? parent->rootTarget() : this; }
    Ref<ScriptObject> childByName(const std::string& name) override
    {
        return children.count(name) ? Ref<ScriptObject>(children[name].get()) : nullptr;
    }
    bool getProperty(int index, ScriptValue& out) override
    {
        if (index >= 0 && index < 22)
            out = properties[index];
        return index >= 0 && index < 22;
    }
    bool setProperty(int index, const ScriptValue& value) override
    {
        if (index >= 0 && index < 22)
            properties[index] = value;
        return index >= 0 && index < 22;
    }
    bool cloneSprite(const std::string& newName, int depth) override
    {
        clones.push_back(newName + "@" + std::to_string(depth));
        return true;
    }
    void removeSprite() override { removed = true; }
    void startDrag(bool lockCenter, const ScriptDragBounds& bounds) override
    {
        dragging = true;
        dragLock = lockCenter;
        dragBounds = bounds;
    }
    void endDrag() override { dragging = false; }
    void fsCommand(const std::string& command, const std::string& argument) override
    {
        commands.push_back(command + "|" + argument);
    }
    double movieTimeSeconds() override { return time; }

    // Scripts may store a sprite in its own members; tests drop such cycles at the end.
    void clearScripts()
    {
        for (auto& child : children)
            child.second->clearScripts();
        clearMembers();
        env.clear();
    }

    void run(const ActionBuilder& code) { executeActions(*swftest::record(code), env); }
    void runBytes(const std::vector<uint8_t>& bytes) { executeActions(*makeRef<ActionRecord>(bytes), env); }
    ScriptValue variable(const std::string& name) { return env.getVariable(name); }

    int frames;
    int current = 0;
    bool playing = true;
    int gotoCalls = 0;
    FakeSprite* parent;
    ScriptEnvironment env;
    std::map<std::string, Ref<FakeSprite>> children;
    std::map<std::string, int> labels;
    std::map<int, Ref<ActionRecord>> actions;
    ScriptValue properties[22];
    std::vector<std::string> clones;
    bool removed = false, dragging = false, dragLock = false;
    ScriptDragBounds dragBounds;
    std::vector<std::string> commands;
    double time = 0.0;
};

// Scripts run on a fake root sprite; the sprites' scripts and the globals go after each case.
class ScriptTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        root->clearScripts();
        releaseScriptGlobals();
    }

    // Runs `code` on `where` (the root when null), then returns the stack top it left.
    ScriptValue eval(ActionBuilder code, FakeSprite* where = nullptr)
    {
        FakeSprite& sprite = where ? *where : *root;
        code.setVariableFromStack("result");
        sprite.run(code);
        return sprite.variable("result");
    }

    Ref<FakeSprite> root = makeRef<FakeSprite>();
};

// The loop `name = 0; while (name < rounds) name = name + 1`.
inline ActionBuilder countingLoop(const std::string& name, int rounds)
{
    ActionBuilder body = ActionBuilder().increment(name);
    ActionBuilder test = ActionBuilder().getVariable(name).pushInt(rounds).op(0x0F).op(0x12);
    ActionBuilder code = ActionBuilder().setNumber(name, 0).append(test).branchIf(int16_t(body.size() + 5));
    return code.append(body).jump(int16_t(-int(body.size() + 5 + test.size() + 5)));
}

} // namespace swf::test
