#pragma once

// The fixture that runs scripts on the sprites of a small movie played by the real player.
#include "fixtures/MovieFixtures.h"

#include "player/ActionInterpreter.h"
#include "player/ActionSpriteObject.h"
#include "player/ScriptGlobals.h"
#include "player/SpriteInstance.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace swftest
{

// A started movie of ten frames (frame 4 labelled "menu", 7 "end"; frame 8's action sets
// "eight"). Its root holds "score" and "menu", a sprite of three frames (frame 2 labelled
// "setup", its action sets "ready") holding "button".
class ScriptTest : public ::testing::Test
{
  protected:
    ScriptTest()
    {
        TagList menu;
        menu.tag(26, place(1, 1, 0, 0, "button")).showFrame().showFrame().tag(43, frameLabel("setup"));
        menu.tag(12, ActionBuilder().setNumber("ready", 1).bytes).showFrame();
        std::vector<Tags> frames(10);
        frames[0] = {{39, emptySprite(1, 1)},
                     {39, defineSprite(2, 3, menu.end())},
                     {39, emptySprite(3, 1)},
                     {26, place(2, 1, 0, 0, "menu")},
                     {26, place(3, 2, 0, 0, "score")}};
        frames[4] = {{43, frameLabel("menu")}};
        frames[7] = {{43, frameLabel("end")}};
        frames[8] = {{12, ActionBuilder().setNumber("eight", 8).bytes}};
        movie = started(*readMovie(framesOf(frames)));
    }
    void TearDown() override { swf::releaseScriptGlobals(); }

    // The sprite at a slash-separated path of names from the root ("" the root), or null.
    swf::SpriteScriptObject* sprite(const std::string& path = "")
    {
        swf::SpriteInstance* at = &movie->rootSprite();
        std::istringstream names(path);
        for (std::string name; at && std::getline(names, name, '/');)
        {
            swf::DisplayObject* child = at->displayList().findByName(name);
            at = child ? child->asSprite() : nullptr;
        }
        return at ? &swf::spriteScript(*at).object() : nullptr;
    }
    swf::SpriteScriptObject* root() { return sprite(); }
    swf::SpriteScriptObject* menu() { return sprite("menu"); }
    swf::SpriteScriptObject* button() { return sprite("menu/button"); }

    // Runs a record on `where` (the root when null).
    void run(const std::vector<uint8_t>& bytes, swf::SpriteScriptObject* where = nullptr)
    {
        swf::executeActions(*swf::makeRef<swf::ActionRecord>(bytes), (where ? where : root())->environment());
    }
    void run(const ActionBuilder& code, swf::SpriteScriptObject* where = nullptr) { run(code.bytes, where); }
    swf::ScriptValue variable(const std::string& name, swf::SpriteScriptObject* where = nullptr)
    {
        return (where ? where : root())->environment().getVariable(name);
    }
    // Runs `code` on `where`, then returns the stack top it left.
    swf::ScriptValue eval(ActionBuilder code, swf::SpriteScriptObject* where = nullptr)
    {
        run(code.setVariableFromStack("result"), where);
        return variable("result", where);
    }

    swf::Ref<swf::MovieInstance> movie;
};

} // namespace swftest
