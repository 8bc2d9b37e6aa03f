#include "player/ScriptObject.h"

#include "player/ScriptTarget.h"

namespace swf
{

bool ScriptObject::getMember(const std::string& name, ScriptValue& out)
{
    if (getOwnMember(name, out))
        return true;
    // A sprite's children are reachable as members by their instance names.
    if (ScriptTarget* target = scriptTarget())
    {
        if (Ref<ScriptObject> child = target->childByName(name))
        {
            out = ScriptValue(child);
            return true;
        }
    }
    return false;
}

void ScriptObject::setMember(const std::string& name, const ScriptValue& value)
{
    setOwnMember(name, value);
}

bool ScriptObject::textValue(std::string&) const
{
    return false;
}

bool ScriptObject::getOwnMember(const std::string& name, ScriptValue& out) const
{
    auto found = members.find(name);
    if (found == members.end())
        return false;
    out = found->second;
    return true;
}

void ScriptObject::setOwnMember(const std::string& name, const ScriptValue& value)
{
    auto found = members.find(name);
    if (found != members.end())
    {
        found->second = value;
        return;
    }
    if (members.size() >= MaxMembers || name.size() > MaxNameLength)
        return;
    members.emplace(name, value);
}

} // namespace swf
