#pragma once

#include "player/ScriptValue.h"

#include <cstddef>
#include <string>
#include <unordered_map>

namespace swf
{

class ScriptTarget;

// An object of the movie scripts: a table of named members. Sprites and text fields are
// script objects too; their property names ("_x", "text", ...) are answered before the table.
// Member names match case-sensitively.
class ScriptObject : public RefCounted
{
  public:
    // A script can add members without end; past this many names new ones are refused.
    static constexpr std::size_t MaxMembers = 65536;
    // New members with longer names are refused too.
    static constexpr std::size_t MaxNameLength = 1024;

    ScriptObject() = default;

    // Reads a member; false (and `out` left alone) when the object has none of that name.
    virtual bool getMember(const std::string& name, ScriptValue& out);
    virtual void setMember(const std::string& name, const ScriptValue& value);
    bool hasMember(const std::string& name)
    {
        ScriptValue ignored;
        return getMember(name, ignored);
    }

    // The object's own text (a text field's text), used when the object converts to a
    // string or a number.
    virtual bool textValue(std::string& out) const;

    // The timeline and display-tree operations of a sprite; null for other objects.
    virtual ScriptTarget* scriptTarget() { return nullptr; }

    // What equality compares: the object itself, or the display object it stands for.
    virtual const void* identity() const { return this; }

    // The plain member table, without property names.
    bool getOwnMember(const std::string& name, ScriptValue& out) const;
    void setOwnMember(const std::string& name, const ScriptValue& value);
    std::size_t memberCount() const { return members.size(); }
    // Drops every member; breaks reference cycles (an object holding itself) at teardown.
    void clearMembers() { members.clear(); }

  private:
    std::unordered_map<std::string, ScriptValue> members;
};

} // namespace swf
