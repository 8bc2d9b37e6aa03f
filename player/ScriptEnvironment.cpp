#include "player/ScriptEnvironment.h"

#include "player/ScriptGlobals.h"
#include "player/ScriptTarget.h"

namespace swf
{

ScriptEnvironment::~ScriptEnvironment() = default;

bool ScriptEnvironment::push(ScriptValue value)
{
    if (stack.size() >= MaxStack)
        return false;
    stack.push_back(std::move(value));
    return true;
}

ScriptValue ScriptEnvironment::pop()
{
    if (stack.size() <= stackFloor)
        return ScriptValue();
    ScriptValue value = std::move(stack.back());
    stack.pop_back();
    if (value.isString())
        poppedTextBytes += value.stringValue().size();
    return value;
}

const ScriptValue& ScriptEnvironment::top() const
{
    static const ScriptValue undefined;
    return stack.size() <= stackFloor ? undefined : stack.back();
}

void ScriptEnvironment::truncateStack(std::size_t size)
{
    if (size < stack.size())
        stack.resize(size);
}

const ScriptValue& ScriptEnvironment::stackAt(std::size_t index) const
{
    static const ScriptValue undefined;
    return index < stack.size() ? stack[index] : undefined;
}

ScriptValue ScriptEnvironment::getRegister(int index) const
{
    if (index < 0 || index >= RegisterCount)
        return ScriptValue();
    return registers[static_cast<std::size_t>(index)];
}

void ScriptEnvironment::setRegister(int index, const ScriptValue& value)
{
    if (index >= 0 && index < RegisterCount)
        registers[static_cast<std::size_t>(index)] = value;
}

void ScriptEnvironment::pushLocalFrame(Ref<ScriptObject> self)
{
    frames.push_back(LocalFrame{{}, std::move(self)});
}

void ScriptEnvironment::popLocalFrame()
{
    if (!frames.empty())
        frames.pop_back();
}

void ScriptEnvironment::setLocal(const std::string& name, const ScriptValue& value)
{
    if (frames.empty())
        return;
    auto& vars = frames.back().vars;
    auto found = vars.find(name);
    if (found != vars.end())
        found->second = value;
    else if (vars.size() < ScriptObject::MaxMembers && name.size() <= ScriptObject::MaxNameLength)
        vars.emplace(name, value);
}

bool ScriptEnvironment::openWith(Ref<ScriptObject> object, std::size_t end, int level)
{
    if (!object || withs.size() >= MaxWithBlocks)
        return false;
    withs.push_back(WithBlock{std::move(object), end, level});
    return true;
}

void ScriptEnvironment::closeWithBlocks(std::size_t pc, int level)
{
    while (!withs.empty() && withs.back().level == level && pc >= withs.back().end)
        withs.pop_back();
}

void ScriptEnvironment::dropWithBlocks(int level)
{
    while (!withs.empty() && withs.back().level >= level)
        withs.pop_back();
}

void ScriptEnvironment::clear()
{
    stack.clear();
    for (ScriptValue& value : registers)
        value = ScriptValue();
    frames.clear();
    withs.clear();
    stackFloor = 0;
}

ScriptObject* ScriptEnvironment::targetObject() const
{
    return target ? &target->scriptObject() : nullptr;
}

bool ScriptEnvironment::splitPath(const std::string& name, std::string& path, std::string& var) const
{
    std::size_t colon = name.find(':');
    std::size_t cut = colon != std::string::npos ? colon : name.rfind('.');
    if (cut == std::string::npos)
        return false;
    path = name.substr(0, cut);
    var = name.substr(cut + 1);
    // "/a/b:x" and "a.b.x" name x of the sprite a/b; a bare "/" is the root.
    return true;
}

Ref<ScriptObject> ScriptEnvironment::resolveComponent(ScriptObject* current, const std::string& part)
{
    ScriptTarget* here = current->scriptTarget();
    if (part.empty() || part == "." || part == "this")
        return Ref<ScriptObject>(current);
    if (part == "_global")
        return Ref<ScriptObject>(&scriptGlobalObject());
    if (here)
    {
        if (part == ".." || part == "_parent")
        {
            ScriptTarget* parent = here->parentTarget();
            return parent ? Ref<ScriptObject>(&parent->scriptObject()) : nullptr;
        }
        if (part == "_root" || part == "_level0")
        {
            ScriptTarget* root = here->rootTarget();
            return root ? Ref<ScriptObject>(&root->scriptObject()) : nullptr;
        }
        if (Ref<ScriptObject> child = here->childByName(part))
            return child;
    }
    // Plain objects (and "_global.x") continue through their members.
    ScriptValue member;
    if (current->getMember(part, member) && member.isObject())
        return Ref<ScriptObject>(member.objectValue());
    return nullptr;
}

Ref<ScriptObject> ScriptEnvironment::resolvePath(const std::string& path)
{
    ScriptObject* start = targetObject();
    if (!start)
        return nullptr;
    Ref<ScriptObject> current(start);
    std::size_t pos = 0;
    if (!path.empty() && path[0] == '/')
    {
        ScriptTarget* root = target->rootTarget();
        if (!root)
            return nullptr;
        current = Ref<ScriptObject>(&root->scriptObject());
        pos = 1;
    }
    // Components are separated by '/' or by a single '.'; ".." at the start of a component
    // is the parent, not two separators.
    std::vector<std::string> parts;
    std::string part;
    for (; pos < path.size(); ++pos)
    {
        char c = path[pos];
        if (c == '/' || (c == '.' && !part.empty()))
        {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        }
        else if (c == '.')
        {
            if (pos + 1 < path.size() && path[pos + 1] == '.')
            {
                parts.emplace_back("..");
                ++pos;
            }
            // A lone '.' names the sprite itself: nothing to do.
        }
        else
        {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    bool relative = path.empty() || path[0] != '/';
    extraWork += parts.size();
    for (std::size_t i = 0; i < parts.size(); ++i)
    {
        Ref<ScriptObject> next = resolveComponent(current.get(), parts[i]);
        // The first name of a relative path may also be a variable ("math.pi", "obj.x").
        if (!next && i == 0 && relative)
        {
            ScriptValue value = getVariable(parts[i]);
            if (value.isObject())
                next = Ref<ScriptObject>(value.objectValue());
        }
        if (!next)
            return nullptr;
        current = std::move(next);
    }
    return current;
}

ScriptTarget* ScriptEnvironment::resolveTarget(const std::string& path)
{
    Ref<ScriptObject> object = resolvePath(path);
    return object ? object->scriptTarget() : nullptr;
}

ScriptValue ScriptEnvironment::getVariable(const std::string& name)
{
    ScriptValue value;
    std::string path, var;
    if (splitPath(name, path, var))
    {
        Ref<ScriptObject> owner = resolvePath(path);
        if (owner)
            owner->getMember(var, value);
        return value;
    }
    for (auto block = withs.rbegin(); block != withs.rend(); ++block)
    {
        if (block->level == executionLevel && block->object->getMember(name, value))
            return value;
    }
    if (!frames.empty())
    {
        auto found = frames.back().vars.find(name);
        if (found != frames.back().vars.end())
            return found->second;
    }
    if (name == "this")
    {
        if (!frames.empty() && frames.back().self)
            return ScriptValue(frames.back().self);
        return ScriptValue(targetObject());
    }
    if (ScriptObject* owner = targetObject())
    {
        if (owner->getMember(name, value))
            return value;
    }
    if ((name == "_root" || name == "_level0") && target)
    {
        if (ScriptTarget* root = target->rootTarget())
            return ScriptValue(&root->scriptObject());
    }
    if (name == "_global")
        return ScriptValue(&scriptGlobalObject());
    if (scriptGlobalObject().getMember(name, value))
        return value;
    return ScriptValue();
}

void ScriptEnvironment::setVariable(const std::string& name, const ScriptValue& value)
{
    std::string path, var;
    if (splitPath(name, path, var))
    {
        // An unresolved path writes nothing.
        if (Ref<ScriptObject> owner = resolvePath(path))
            owner->setMember(var, value);
        return;
    }
    for (auto block = withs.rbegin(); block != withs.rend(); ++block)
    {
        if (block->level == executionLevel && block->object->hasMember(name))
        {
            block->object->setMember(name, value);
            return;
        }
    }
    if (!frames.empty())
    {
        auto found = frames.back().vars.find(name);
        if (found != frames.back().vars.end())
        {
            found->second = value;
            return;
        }
    }
    if (ScriptObject* owner = targetObject())
        owner->setMember(name, value);
}

void ScriptEnvironment::defineLocal(const std::string& name, const ScriptValue& value)
{
    if (!frames.empty())
        setLocal(name, value);
    else
        setVariable(name, value);
}

void ScriptEnvironment::declareLocal(const std::string& name)
{
    if (!frames.empty() && frames.back().vars.count(name) == 0)
        setLocal(name, ScriptValue());
}

} // namespace swf
