#include "player/ActionInterpreter.h"

#include "player/ActionOperators.h"
#include "player/ActionRecord.h"
#include "player/ScriptEnvironment.h"
#include "player/ScriptFunction.h"
#include "player/ScriptGlobals.h"
#include "player/ScriptObject.h"
#include "player/ScriptProperties.h"
#include "player/ScriptTarget.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <random>

namespace swf
{

namespace
{

// Shared by every environment: scripts of one sprite start scripts of others (a clone's load
// step, Call, events), and all of that counts against the outermost execute.
int nesting = 0;
int64_t budget = 0;
TraceHandler traceHandler = nullptr;
void* traceContext = nullptr;

using Pool = std::shared_ptr<const std::vector<std::string>>;

// Bounded little-endian reader over one action's data. Any read past the end sets `failed`
// and yields zeros, so a damaged record can never be read outside its bytes.
class DataReader
{
  public:
    DataReader(const uint8_t* bytes, std::size_t start, std::size_t end) : data(bytes), pos(start), limit(end) {}

    bool atEnd() const { return pos >= limit; }
    bool failed = false;

    uint8_t u8()
    {
        if (pos >= limit)
        {
            failed = true;
            return 0;
        }
        return data[pos++];
    }
    uint16_t u16()
    {
        uint16_t low = u8();
        return static_cast<uint16_t>(low | (u8() << 8));
    }
    uint32_t u32()
    {
        uint32_t low = u16();
        return low | (static_cast<uint32_t>(u16()) << 16);
    }
    // A 0-terminated string; one without its terminator inside the data fails.
    std::string string()
    {
        std::size_t start = pos;
        while (pos < limit && data[pos] != 0)
            ++pos;
        if (pos >= limit)
        {
            failed = true;
            return std::string();
        }
        std::string text(reinterpret_cast<const char*>(data + start), pos - start);
        ++pos;
        return text;
    }

  private:
    const uint8_t* data;
    std::size_t pos;
    std::size_t limit;
};

// RAII guard for the shared nesting count and, at the outermost level, the budget.
class NestingScope
{
  public:
    NestingScope()
    {
        if (nesting == 0)
            budget = ActionBudget;
        ++nesting;
    }
    ~NestingScope() { --nesting; }
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;
};

std::mt19937& randomEngine()
{
    static std::mt19937 engine(std::random_device{}());
    return engine;
}

// One running activation: a record (or a function's slice of one) executing in an environment.
class ActionRunner
{
  public:
    ActionRunner(ScriptEnvironment& environment, const ActionRecord& code, std::size_t start, std::size_t end,
                 Pool constants)
        : env(environment), record(code), begin(start), finish(end), pool(std::move(constants))
    {
    }

    // Runs to the end; the result is the value of a Return (undefined otherwise).
    ScriptValue run();

  private:
    // Runs one action; false ends the activation.
    bool step(uint8_t code, std::size_t dataStart, std::size_t dataEnd, std::size_t& next);
    bool push(DataReader& data);
    bool branch(int16_t offset, std::size_t& next) const;
    void getUrl(const std::string& url, const std::string& window);
    void gotoFrameValue(const ScriptValue& frame, bool play);
    void callFrame(const ScriptValue& frame);
    void defineFunction(DataReader& data, std::size_t& next);
    std::vector<ScriptValue> popArguments();

    ScriptEnvironment& env;
    const ActionRecord& record;
    std::size_t begin;
    std::size_t finish;
    Pool pool;
    ScriptValue result;
};

ScriptValue ActionRunner::run()
{
    const uint8_t* bytes = record.bytes().data();
    int level = ++env.executionLevel;
    std::size_t savedFloor = env.stackFloor;
    env.stackFloor = env.stackSize();
    std::size_t pc = begin;
    while (pc < finish)
    {
        env.closeWithBlocks(pc, level);
        if (--budget < 0)
            break; // out of actions: abandon the record
        uint8_t code = bytes[pc];
        if (code == 0x00)
            break;
        std::size_t dataStart = pc + 1;
        std::size_t dataEnd = dataStart;
        if (code >= 0x80)
        {
            if (finish - pc < 3)
                break;
            std::size_t length = bytes[pc + 1] | (bytes[pc + 2] << 8);
            dataStart = pc + 3;
            if (length > finish - dataStart)
                break; // the action claims bytes beyond the record
            dataEnd = dataStart + length;
        }
        std::size_t next = dataEnd;
        bool goOn = step(code, dataStart, dataEnd, next);
        // Work on long strings costs one action per 64 bytes.
        budget -= static_cast<int64_t>(env.poppedTextBytes / 64 + env.extraWork);
        env.poppedTextBytes = 0;
        env.extraWork = 0;
        if (!goOn)
            break;
        pc = next;
    }
    // Whatever this activation left on the stack is dropped with it.
    env.truncateStack(env.stackFloor);
    env.stackFloor = savedFloor;
    env.dropWithBlocks(level);
    --env.executionLevel;
    return result;
}

bool ActionRunner::branch(int16_t offset, std::size_t& next) const
{
    int64_t target = static_cast<int64_t>(next) + offset;
    if (target < static_cast<int64_t>(begin) || target > static_cast<int64_t>(finish))
        return false; // a branch out of the record ends it
    next = static_cast<std::size_t>(target);
    return true;
}

bool ActionRunner::push(DataReader& data)
{
    while (!data.atEnd())
    {
        uint8_t type = data.u8();
        ScriptValue value;
        switch (type)
        {
        case 0:
            value = ScriptValue(data.string());
            break;
        case 1:
        {
            uint32_t bits = data.u32();
            float number;
            std::memcpy(&number, &bits, sizeof number);
            value = ScriptValue(static_cast<double>(number));
            break;
        }
        case 2:
            break; // null: this player has no null, it pushes undefined
        case 3:
            value = ScriptValue(0.0);
            break; // the undefined type pushes the number 0
        case 4:
        {
            int index = data.u8();
            value = index < ScriptEnvironment::RegisterCount ? env.getRegister(index) : ScriptValue(0.0);
            break;
        }
        case 5:
            value = ScriptValue::fromBool(data.u8() != 0);
            break;
        case 6:
        {
            // Doubles are stored as two little-endian words, the high word first.
            uint64_t high = data.u32();
            uint64_t low = data.u32();
            uint64_t bits = (high << 32) | low;
            double number;
            std::memcpy(&number, &bits, sizeof number);
            value = ScriptValue(number);
            break;
        }
        case 7:
            value = ScriptValue(static_cast<double>(static_cast<int32_t>(data.u32())));
            break;
        case 8:
        case 9:
        {
            std::size_t index = type == 8 ? data.u8() : data.u16();
            if (pool && index < pool->size())
                value = ScriptValue((*pool)[index]);
            else
                value = ScriptValue(0.0);
            break;
        }
        default:
            return true; // an unknown type ends the Push; the record goes on
        }
        if (data.failed)
            return true; // a truncated value is not pushed
        // Every value counts against the budget, so a long Push in a loop ends too.
        if (--budget < 0 || !env.push(std::move(value)))
            return false;
    }
    return true;
}

std::vector<ScriptValue> ActionRunner::popArguments()
{
    double wanted = env.pop().toNumber();
    std::size_t available = env.stackSize() - std::min(env.stackSize(), env.stackFloor);
    std::size_t count = 0;
    if (wanted > 0.0)
        count = wanted >= static_cast<double>(available) ? available : static_cast<std::size_t>(wanted);
    std::vector<ScriptValue> args;
    args.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        args.push_back(env.pop());
    return args;
}

void ActionRunner::getUrl(const std::string& url, const std::string& window)
{
    static const char Prefix[] = "FSCommand:";
    const std::size_t prefixLength = sizeof Prefix - 1;
    // Only script commands are honoured: no movie is loaded and no browser opened.
    if (url.compare(0, prefixLength, Prefix) != 0)
        return;
    if (ScriptTarget* target = env.getTarget())
        target->fsCommand(url.substr(prefixLength), window);
}

void ActionRunner::gotoFrameValue(const ScriptValue& frame, bool play)
{
    ScriptTarget* target = env.getTarget();
    if (!target)
        return;
    if (frame.isString())
    {
        if (!target->gotoLabeledFrame(frame.stringValue()))
            return;
    }
    else
    {
        // The number is the 0-based frame itself; NaN and infinities count as 0.
        target->gotoFrame(frame.toInt32());
    }
    target->setPlaying(play);
}

void ActionRunner::callFrame(const ScriptValue& frame)
{
    ScriptTarget* target = env.getTarget();
    std::string text = frame.toString();
    int index = frame.toInt32();
    if (frame.isString())
    {
        // "path:frame" runs a frame of another sprite.
        std::size_t colon = text.find(':');
        if (colon != std::string::npos)
        {
            target = env.resolveTarget(text.substr(0, colon));
            text = text.substr(colon + 1);
        }
        if (!target)
            return;
        if (!target->frameByLabel(text, index))
            index = ScriptValue(text).toInt32();
    }
    if (!target || index < 0 || index >= target->frameCount())
        return;
    std::vector<Ref<const ActionRecord>> actions;
    target->frameActions(index, actions);
    Ref<const RefCounted> keep(target->lifetimeOwner());
    for (const Ref<const ActionRecord>& action : actions)
        executeActions(*action, target->environment());
}

void ActionRunner::defineFunction(DataReader& data, std::size_t& next)
{
    std::string name = data.string();
    uint16_t count = data.u16();
    std::vector<std::string> params;
    for (uint16_t i = 0; i < count && !data.failed; ++i)
        params.push_back(data.string());
    std::size_t size = data.u16();
    if (data.failed)
        return;
    // The body follows the action; one that would run past the record is cut at its end.
    std::size_t bodyEnd = size > finish - next ? finish : next + size;
    Ref<ScriptFunction> function(
        new ScriptFunction(Ref<const ActionRecord>(&record), next, bodyEnd, std::move(params), pool));
    if (name.empty())
        (void)env.push(ScriptValue(function));
    else
        env.defineLocal(name, ScriptValue(function));
    next = bodyEnd;
}

bool ActionRunner::step(uint8_t code, std::size_t dataStart, std::size_t dataEnd, std::size_t& next)
{
    if (runStackOperator(code, env))
        return true;
    DataReader data(record.bytes().data(), dataStart, dataEnd);
    ScriptTarget* target = env.getTarget();
    switch (code)
    {
    case 0x04:
    case 0x05: // NextFrame, PreviousFrame
        if (target)
        {
            int frame = target->currentFrame() + (code == 0x04 ? 1 : -1);
            target->gotoFrame(frame < 0 ? 0 : frame);
        }
        return true;
    case 0x06:
    case 0x07: // Play, Stop
        if (target)
            target->setPlaying(code == 0x06);
        return true;
    case 0x1C:
    { // GetVariable
        std::string name = env.pop().toString();
        (void)env.push(env.getVariable(name));
        return true;
    }
    case 0x1D:
    { // SetVariable
        ScriptValue value = env.pop();
        env.setVariable(env.pop().toString(), value);
        return true;
    }
    case 0x22:
    { // GetProperty
        ScriptValue index = env.pop();
        ScriptTarget* owner = env.resolveTarget(env.pop().toString());
        ScriptValue value;
        double number = index.toNumber();
        if (owner && number >= 0.0 && number < ScriptPropertyCount)
            owner->getProperty(static_cast<int>(number), value);
        (void)env.push(value);
        return true;
    }
    case 0x23:
    { // SetProperty
        ScriptValue value = env.pop();
        double number = env.pop().toNumber();
        ScriptTarget* owner = env.resolveTarget(env.pop().toString());
        if (owner && number >= 0.0 && number < ScriptPropertyCount)
            owner->setProperty(static_cast<int>(number), value);
        return true;
    }
    case 0x24:
    { // CloneSprite
        int32_t depth = env.pop().toInt32();
        std::string name = env.pop().toString();
        if (ScriptTarget* source = env.resolveTarget(env.pop().toString()))
            source->cloneSprite(name, depth);
        return true;
    }
    case 0x25: // RemoveSprite
        if (ScriptTarget* victim = env.resolveTarget(env.pop().toString()))
            victim->removeSprite();
        return true;
    case 0x26:
    { // Trace
        std::string text = env.pop().toString();
        if (traceHandler)
            traceHandler(text, traceContext);
        return true;
    }
    case 0x27:
    { // StartDrag
        std::string path = env.pop().toString();
        bool lockCenter = env.pop().toBool();
        ScriptDragBounds bounds;
        bounds.constrained = env.pop().toBool();
        if (bounds.constrained)
        {
            bounds.bottom = env.pop().toNumber();
            bounds.right = env.pop().toNumber();
            bounds.top = env.pop().toNumber();
            bounds.left = env.pop().toNumber();
        }
        if (ScriptTarget* dragged = env.resolveTarget(path))
            dragged->startDrag(lockCenter, bounds);
        return true;
    }
    case 0x28: // EndDrag
        if (target)
            target->endDrag();
        return true;
    case 0x30:
    { // RandomNumber: 0 .. max - 1, and 0 for a max below 1
        int32_t max = env.pop().toInt32();
        double value = 0.0;
        if (max > 0)
            value = std::uniform_int_distribution<int32_t>(0, max - 1)(randomEngine());
        (void)env.push(value);
        return true;
    }
    case 0x34: // GetTime: milliseconds of the movie's clock
        (void)env.push(target ? std::floor(target->movieTimeSeconds() * 1000.0) : 0.0);
        return true;
    case 0x3C:
    { // DefineLocal
        ScriptValue value = env.pop();
        env.defineLocal(env.pop().toString(), value);
        return true;
    }
    case 0x41: // DefineLocal2
        env.declareLocal(env.pop().toString());
        return true;
    case 0x3D:
    { // CallFunction
        std::string name = env.pop().toString();
        std::vector<ScriptValue> args = popArguments();
        ScriptValue function = env.getVariable(name);
        ScriptValue value = callFunction(function, env, nullptr, args);
        (void)env.push(value);
        return budget >= 0;
    }
    case 0x52:
    { // CallMethod
        ScriptValue method = env.pop();
        ScriptValue owner = env.pop();
        std::vector<ScriptValue> args = popArguments();
        ScriptValue function = owner;
        if (!method.isUndefined() && !(method.isString() && method.stringValue().empty()))
            function = memberOf(owner, method.toString());
        ScriptValue self = owner;
        ScriptValue value;
        if (function.kind() == ScriptValue::Kind::NativeFunction)
            value = function.nativeFunction()(env, self, args);
        else
            value = callFunction(function, env, owner.objectValue(), args);
        (void)env.push(value);
        return budget >= 0;
    }
    case 0x3E: // Return
        result = env.pop();
        return false;
    case 0x81: // GotoFrame: the frame index; the go-to stops the sprite
        if (target)
        {
            uint16_t frame = data.u16();
            if (!data.failed)
                target->gotoFrame(frame);
        }
        return true;
    case 0x83:
    { // GetURL
        std::string url = data.string();
        std::string window = data.string();
        if (!data.failed)
            getUrl(url, window);
        return true;
    }
    case 0x87:
    { // StoreRegister: the stack top stays
        uint8_t index = data.u8();
        if (!data.failed)
            env.setRegister(index, env.top());
        return true;
    }
    case 0x88:
    { // ConstantPool: the record's own strings
        uint16_t count = data.u16();
        auto strings = std::make_shared<std::vector<std::string>>();
        strings->reserve(count);
        for (uint16_t i = 0; i < count; ++i)
        {
            std::string text = data.string();
            strings->push_back(data.failed ? std::string("<invalid>") : std::move(text));
        }
        pool = std::move(strings);
        return true;
    }
    case 0x8B: // SetTarget: only the empty name is honoured, and it restores the target the
               // record started with, which is the only target a record ever has.
        return true;
    case 0x8C:
    { // GoToLabel; an unknown label does nothing
        std::string label = data.string();
        if (target && !data.failed)
            target->gotoLabeledFrame(label);
        return true;
    }
    case 0x94:
    { // With
        std::size_t size = data.u16();
        ScriptValue object = env.pop();
        if (data.failed)
            return true;
        std::size_t end = size > finish - next ? finish : next + size;
        if (object.isObject())
            env.openWith(Ref<ScriptObject>(object.objectValue()), end, env.executionLevel);
        return true;
    }
    case 0x96: // Push
        return push(data);
    case 0x99:
    { // Jump
        int16_t offset = static_cast<int16_t>(data.u16());
        return !data.failed && branch(offset, next);
    }
    case 0x9A:
    { // GetURL2
        std::string window = env.pop().toString();
        std::string url = env.pop().toString();
        getUrl(url, window);
        return true;
    }
    case 0x9B: // DefineFunction
        defineFunction(data, next);
        return true;
    case 0x9D:
    { // If
        int16_t offset = static_cast<int16_t>(data.u16());
        bool condition = env.pop().toBool();
        if (data.failed)
            return false;
        return !condition || branch(offset, next);
    }
    case 0x9E: // Call
        callFrame(env.pop());
        return budget >= 0;
    case 0x9F:
    { // GotoFrame2: the flag byte says whether to play after the go-to
        uint8_t flags = data.u8();
        gotoFrameValue(env.pop(), flags != 0);
        return true;
    }
    default:
        return true; // not handled: skipped without effect
    }
}

} // namespace

void executeActions(const ActionRecord& record, ScriptEnvironment& env)
{
    if (nesting >= MaxNesting || (nesting > 0 && budget < 0) || record.isRunaway())
        return;
    NestingScope scope;
    // The record and the sprite that owns the environment stay alive while they run, even if
    // the script removes the sprite from its parent.
    Ref<const ActionRecord> keepRecord(&record);
    Ref<const RefCounted> keepTarget;
    if (ScriptTarget* target = env.getTarget())
        keepTarget = Ref<const RefCounted>(target->lifetimeOwner());
    ActionRunner(env, record, 0, record.bytes().size(), nullptr).run();
    if (budget < 0)
        record.markRunaway();
}

ScriptValue callFunction(const ScriptValue& function, ScriptEnvironment& env, ScriptObject* self,
                         const std::vector<ScriptValue>& args)
{
    if (function.kind() == ScriptValue::Kind::NativeFunction)
        return function.nativeFunction()(env, ScriptValue(self), args);
    if (function.kind() != ScriptValue::Kind::ScriptFunction)
        return ScriptValue();
    if (nesting >= MaxNesting || env.callDepth() >= ScriptEnvironment::MaxCallDepth || (nesting > 0 && budget < 0) ||
        function.scriptFunction()->record().isRunaway())
        return ScriptValue(); // recursion too deep or runaway code: the call gives undefined
    NestingScope scope;
    Ref<ScriptFunction> code(function.scriptFunction());
    Ref<const RefCounted> keepTarget;
    if (ScriptTarget* target = env.getTarget())
        keepTarget = Ref<const RefCounted>(target->lifetimeOwner());
    env.pushLocalFrame(Ref<ScriptObject>(self));
    const std::vector<std::string>& params = code->parameters();
    for (std::size_t i = 0; i < params.size(); ++i)
        env.setLocal(params[i], i < args.size() ? args[i] : ScriptValue());
    ScriptValue value =
        ActionRunner(env, code->record(), code->bodyStart(), code->bodyEnd(), code->constantPool()).run();
    env.popLocalFrame();
    if (budget < 0)
        code->record().markRunaway();
    return value;
}

void setTraceHandler(TraceHandler handler, void* context)
{
    traceHandler = handler;
    traceContext = context;
}

int runningActionNesting()
{
    return nesting;
}

} // namespace swf
