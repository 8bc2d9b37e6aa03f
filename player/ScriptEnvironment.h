#pragma once

#include "player/ScriptObject.h"
#include "player/ScriptValue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace swf
{

class ScriptTarget;

// Where a sprite's actions run: the value stack, the registers, the local frames of function
// calls, the open With blocks and the target sprite that names resolve against.
class ScriptEnvironment
{
  public:
    static constexpr int RegisterCount = 4;
    // Limits that keep a hostile movie from exhausting the stack or memory.
    static constexpr std::size_t MaxStack = 65536;
    static constexpr int MaxCallDepth = 256;
    static constexpr std::size_t MaxWithBlocks = 16;

    explicit ScriptEnvironment(ScriptTarget* owner = nullptr) : target(owner) {}
    ScriptEnvironment(const ScriptEnvironment&) = delete;
    ScriptEnvironment& operator=(const ScriptEnvironment&) = delete;
    ~ScriptEnvironment();

    ScriptTarget* getTarget() const { return target; }
    void setTarget(ScriptTarget* owner) { target = owner; }

    // Value stack. Popping an empty stack yields undefined; pushing onto a full one fails.
    [[nodiscard]] bool push(ScriptValue value);
    ScriptValue pop();
    const ScriptValue& top() const;
    std::size_t stackSize() const { return stack.size(); }
    void truncateStack(std::size_t size);
    const ScriptValue& stackAt(std::size_t index) const;

    // Registers; an index outside them reads undefined and ignores writes.
    ScriptValue getRegister(int index) const;
    void setRegister(int index, const ScriptValue& value);

    // Local frames of function calls. The innermost frame holds the call's parameters and
    // locals, and the object the call was made on ("this"; null for a plain call).
    void pushLocalFrame(Ref<ScriptObject> self);
    void popLocalFrame();
    bool inFunction() const { return !frames.empty(); }
    int callDepth() const { return static_cast<int>(frames.size()); }
    void setLocal(const std::string& name, const ScriptValue& value);

    // With blocks: each belongs to one running activation (its nesting level) and closes when
    // execution passes `end`.
    bool openWith(Ref<ScriptObject> object, std::size_t end, int level);
    void closeWithBlocks(std::size_t pc, int level);
    void dropWithBlocks(int level);
    std::size_t withCount() const { return withs.size(); }

    // Names: variables with target paths and the lookup order of the movie format.
    ScriptValue getVariable(const std::string& name);
    void setVariable(const std::string& name, const ScriptValue& value);
    void defineLocal(const std::string& name, const ScriptValue& value);
    void declareLocal(const std::string& name);
    // A target path ("/a/b", "_root.a", "..") resolved from the target sprite; null when any
    // component does not resolve.
    Ref<ScriptObject> resolvePath(const std::string& path);
    ScriptTarget* resolveTarget(const std::string& path);

    // Bytes of text popped since the interpreter last looked: string work is charged to the
    // action budget by its size.
    std::size_t poppedTextBytes = 0;
    // Other work done for the running action (path components resolved), charged likewise.
    std::size_t extraWork = 0;

    // Values below the floor belong to an outer activation: pops stop there (and give undefined).
    std::size_t stackFloor = 0;

    // Nesting of running action records (the top-level execute is level 1), and the budget
    // of actions the outermost one may still run.
    int executionLevel = 0;
    int64_t actionBudget = 0;

    // Forgets everything a script left (stack, registers, locals, With blocks).
    void clear();

  private:
    struct LocalFrame
    {
        std::unordered_map<std::string, ScriptValue> vars;
        Ref<ScriptObject> self;
    };
    struct WithBlock
    {
        Ref<ScriptObject> object;
        std::size_t end;
        int level;
    };

    ScriptObject* targetObject() const;
    Ref<ScriptObject> resolveComponent(ScriptObject* current, const std::string& part);
    bool splitPath(const std::string& name, std::string& path, std::string& var) const;

    ScriptTarget* target = nullptr;
    std::vector<ScriptValue> stack;
    std::array<ScriptValue, RegisterCount> registers;
    std::vector<LocalFrame> frames;
    std::vector<WithBlock> withs;
};

} // namespace swf
