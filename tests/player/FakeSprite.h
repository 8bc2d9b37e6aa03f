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
#include <sstream>
#include <string>
#include <vector>

namespace swf::test
{

using swftest::ActionBuilder;

// A sprite made of plain fields: a timeline of ten frames, children by name, the twenty-two
// properties in a table, and a log of the go-tos and movie services scripts used.
class FakeSprite : public ScriptObject, public ScriptTarget
{
  public:
    explicit FakeSprite(FakeSprite* parentSprite = nullptr) : parent(parentSprite), env(this)
    {
        for (int i = 0; i < 22; ++i)
            properties[i] = ScriptValue(i * 1.0);
    }

    // A child sprite; the parent keeps it alive.
    FakeSprite& addChild(const std::string& name) { return *(children[name] = makeRef<FakeSprite>(this)); }

    ScriptTarget* scriptTarget() override { return this; }
    ScriptObject& scriptObject() override { return *this; }
    const RefCounted* lifetimeOwner() override { return this; }
    ScriptEnvironment& environment() override { return env; }
    int currentFrame() override { return current; }
    int frameCount() override { return 10; }
    void gotoFrame(int f) override
    {
        current = std::clamp(f, 0, 9);
        playing = false;
        calls.push_back("goto " + std::to_string(current));
    }
    bool gotoLabeledFrame(const std::string& label) override
    {
        int f;
        return frameByLabel(label, f) && (gotoFrame(f), true);
    }
    bool frameByLabel(const std::string& label, int& frame) override
    {
        frame = labels.count(label) ? labels[label] : 0;
        return labels.count(label) != 0;
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
    bool getProperty(int i, ScriptValue& out) override { return i >= 0 && i < 22 && (out = properties[i], true); }
    bool setProperty(int i, const ScriptValue& v) override { return i >= 0 && i < 22 && (properties[i] = v, true); }
    bool cloneSprite(const std::string& newName, int depth) override
    {
        calls.push_back("clone " + newName + "@" + std::to_string(depth));
        return true;
    }
    void removeSprite() override { calls.push_back("remove"); }
    void startDrag(bool lock, const ScriptDragBounds& b) override
    {
        std::ostringstream out;
        out << "drag" << (lock ? " locked" : "") << " in " << b.constrained << ":" << b.left << "," << b.top << ","
            << b.right << "," << b.bottom;
        calls.push_back(out.str());
    }
    void endDrag() override { calls.push_back("end drag"); }
    void fsCommand(const std::string& c, const std::string& a) override { calls.push_back("fscommand " + c + "|" + a); }
    double movieTimeSeconds() override { return 0.0; }

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

    int current = 0;
    bool playing = true;
    FakeSprite* parent;
    ScriptEnvironment env;
    std::map<std::string, Ref<FakeSprite>> children;
    std::map<std::string, int> labels;
    std::map<int, Ref<ActionRecord>> actions;
    ScriptValue properties[22];
    std::vector<std::string> calls;
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
