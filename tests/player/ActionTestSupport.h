#pragma once

// Builders for hand-made action records and a scripted stand-in sprite for interpreter tests.

#include "player/ActionInterpreter.h"
#include "player/ActionRecord.h"
#include "player/ScriptEnvironment.h"
#include "player/ScriptObject.h"
#include "player/ScriptTarget.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace swf::test
{

// Writes action bytes: codes, lengths and the Push value encodings of the movie format.
class ActionBuilder
{
  public:
    ActionBuilder& op(uint8_t code)
    {
        bytes.push_back(code);
        return *this;
    }
    ActionBuilder& action(uint8_t code, const std::vector<uint8_t>& data)
    {
        bytes.push_back(code);
        bytes.push_back(static_cast<uint8_t>(data.size() & 0xFF));
        bytes.push_back(static_cast<uint8_t>(data.size() >> 8));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    ActionBuilder& push(const std::vector<uint8_t>& values) { return action(0x96, values); }
    ActionBuilder& pushString(const std::string& text) { return push(stringValue(text)); }
    ActionBuilder& pushNumber(double value) { return push(doubleValue(value)); }
    ActionBuilder& pushInt(int32_t value) { return push(intValue(value)); }
    ActionBuilder& pushBool(bool value) { return push({5, static_cast<uint8_t>(value ? 1 : 0)}); }
    ActionBuilder& pushNullType() { return push({2}); }
    ActionBuilder& pushUndefinedType() { return push({3}); }
    ActionBuilder& pushRegister(uint8_t index) { return push({4, index}); }
    ActionBuilder& pushConstant(uint16_t index)
    {
        if (index < 256)
            return push({8, static_cast<uint8_t>(index)});
        return push({9, static_cast<uint8_t>(index & 0xFF), static_cast<uint8_t>(index >> 8)});
    }
    ActionBuilder& getVariable(const std::string& name) { return pushString(name).op(0x1C); }
    // Sets `name` to the value currently on top of the stack.
    ActionBuilder& setVariableFromStack(const std::string& name) { return pushString(name).op(0x4D).op(0x1D); }
    ActionBuilder& setString(const std::string& name, const std::string& value)
    {
        return pushString(name).pushString(value).op(0x1D);
    }
    ActionBuilder& setNumber(const std::string& name, double value)
    {
        return pushString(name).pushNumber(value).op(0x1D);
    }
    ActionBuilder& constantPool(const std::vector<std::string>& strings)
    {
        std::vector<uint8_t> data{static_cast<uint8_t>(strings.size() & 0xFF),
                                  static_cast<uint8_t>(strings.size() >> 8)};
        for (const std::string& text : strings)
        {
            data.insert(data.end(), text.begin(), text.end());
            data.push_back(0);
        }
        return action(0x88, data);
    }
    ActionBuilder& jump(int16_t offset) { return action(0x99, le16(offset)); }
    ActionBuilder& branchIf(int16_t offset) { return action(0x9D, le16(offset)); }
    ActionBuilder& gotoFrame(uint16_t frame) { return action(0x81, le16(static_cast<int16_t>(frame))); }
    ActionBuilder& gotoLabel(const std::string& label) { return action(0x8C, cString(label)); }
    ActionBuilder& storeRegister(uint8_t index) { return action(0x87, {index}); }
    ActionBuilder& getUrl(const std::string& url, const std::string& window)
    {
        std::vector<uint8_t> data = cString(url);
        std::vector<uint8_t> second = cString(window);
        data.insert(data.end(), second.begin(), second.end());
        return action(0x83, data);
    }
    // DefineFunction whose body is `body`; an empty name pushes the function.
    ActionBuilder& defineFunction(const std::string& name, const std::vector<std::string>& params,
                                  const ActionBuilder& body)
    {
        std::vector<uint8_t> data = cString(name);
        data.push_back(static_cast<uint8_t>(params.size()));
        data.push_back(0);
        for (const std::string& param : params)
        {
            std::vector<uint8_t> text = cString(param);
            data.insert(data.end(), text.begin(), text.end());
        }
        std::vector<uint8_t> size = le16(static_cast<int16_t>(body.bytes.size()));
        data.insert(data.end(), size.begin(), size.end());
        action(0x9B, data);
        bytes.insert(bytes.end(), body.bytes.begin(), body.bytes.end());
        return *this;
    }
    // Calls the function `name` with the values pushed by `args` (already pushed, last first).
    ActionBuilder& callFunction(const std::string& name, int argCount)
    {
        return pushInt(argCount).pushString(name).op(0x3D);
    }
    ActionBuilder& with(uint16_t size) { return action(0x94, le16(static_cast<int16_t>(size))); }
    ActionBuilder& append(const ActionBuilder& other)
    {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }

    Ref<ActionRecord> record() const { return makeRef<ActionRecord>(bytes); }
    std::size_t size() const { return bytes.size(); }

    static std::vector<uint8_t> cString(const std::string& text)
    {
        std::vector<uint8_t> data(text.begin(), text.end());
        data.push_back(0);
        return data;
    }
    static std::vector<uint8_t> le16(int16_t value)
    {
        auto bits = static_cast<uint16_t>(value);
        return {static_cast<uint8_t>(bits & 0xFF), static_cast<uint8_t>(bits >> 8)};
    }
    static std::vector<uint8_t> stringValue(const std::string& text)
    {
        std::vector<uint8_t> data{0};
        data.insert(data.end(), text.begin(), text.end());
        data.push_back(0);
        return data;
    }
    static std::vector<uint8_t> intValue(int32_t value)
    {
        auto bits = static_cast<uint32_t>(value);
        return {7, static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16),
                static_cast<uint8_t>(bits >> 24)};
    }
    // Doubles are two little-endian words, the high word first.
    static std::vector<uint8_t> doubleValue(double value)
    {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        std::vector<uint8_t> data{6};
        auto word = [&data](uint32_t w)
        {
            for (int i = 0; i < 4; ++i)
                data.push_back(static_cast<uint8_t>(w >> (8 * i)));
        };
        word(static_cast<uint32_t>(bits >> 32));
        word(static_cast<uint32_t>(bits));
        return data;
    }

    std::vector<uint8_t> bytes;
};

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
        Ref<FakeSprite> child = makeRef<FakeSprite>(childFrames, this);
        children[name] = child;
        return *child;
    }

    bool getMember(const std::string& name, ScriptValue& out) override
    {
        if (name == "_currentframe")
        {
            out = ScriptValue(current + 1);
            return true;
        }
        return ScriptObject::getMember(name, out);
    }
    ScriptTarget* scriptTarget() override { return this; }

    ScriptObject& scriptObject() override { return *this; }
    const RefCounted* lifetimeOwner() override { return this; }
    ScriptEnvironment& environment() override { return env; }
    int currentFrame() override { return current; }
    int frameCount() override { return frames; }
    void gotoFrame(int frame) override
    {
        current = frame < 0 ? 0 : frame >= frames ? frames - 1 : frame;
        playing = false;
        gotoCalls++;
    }
    bool gotoLabeledFrame(const std::string& label) override
    {
        int frame;
        if (!frameByLabel(label, frame))
            return false;
        gotoFrame(frame);
        return true;
    }
    bool frameByLabel(const std::string& label, int& frame) override
    {
        auto found = labels.find(label);
        if (found == labels.end())
            return false;
        frame = found->second;
        return true;
    }
    void setPlaying(bool play) override { playing = play; }
    bool isPlaying() override { return playing; }
    void frameActions(int frame, std::vector<Ref<const ActionRecord>>& out) override
    {
        auto found = actions.find(frame);
        if (found != actions.end())
            out.push_back(found->second);
    }
    ScriptTarget* parentTarget() override { return parent; }
    ScriptTarget* rootTarget() override
    {
        FakeSprite* top = this;
        while (top->parent)
            top = top->parent;
        return top;
    }
    Ref<ScriptObject> childByName(const std::string& name) override
    {
        auto found = children.find(name);
        return found == children.end() ? nullptr : Ref<ScriptObject>(found->second.get());
    }
    bool getProperty(int index, ScriptValue& out) override
    {
        if (index < 0 || index >= 22)
            return false;
        out = properties[index];
        return true;
    }
    bool setProperty(int index, const ScriptValue& value) override
    {
        if (index < 0 || index >= 22)
            return false;
        properties[index] = value;
        return true;
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

    void run(const ActionBuilder& code) { executeActions(*code.record(), env); }
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
    bool removed = false;
    bool dragging = false;
    bool dragLock = false;
    ScriptDragBounds dragBounds;
    std::vector<std::string> commands;
    double time = 0.0;
};

} // namespace swf::test
