#pragma once

#include "player/DisplayObject.h"

#include <vector>

namespace swf
{

// The objects of one sprite in ascending depth order, at most one per depth, each with the
// touched flag that decides whether it survives the next sweep.
class DisplayList
{
  public:
    struct Entry
    {
        bool touched = false;
        Ref<DisplayObject> object;
    };

    ~DisplayList();

    // Puts the object at its depth, releasing any object there.
    void add(Ref<DisplayObject> object, bool touched = true);
    DisplayObject* objectAt(int depth) const;
    Entry* entryAt(int depth);
    void markUntouched(int depth);
    void clearTouched();
    // Removes every entry whose touched flag is clear.
    void removeUntouched();
    void clear();
    void display(RenderContext& context);
    DisplayObject* findByName(const std::string& name) const;

    const std::vector<Entry>& entries() const { return list; }
    size_t size() const { return list.size(); }

  private:
    std::vector<Entry>::iterator lowerBound(int depth);
    static void release(Entry& entry);

    std::vector<Entry> list;
};

} // namespace swf
