#include "player/DisplayList.h"

#include <algorithm>

namespace swf
{

DisplayList::~DisplayList()
{
    clear();
}

std::vector<DisplayList::Entry>::iterator DisplayList::lowerBound(int depth)
{
    return std::lower_bound(list.begin(), list.end(), depth,
                            [](const Entry& e, int d) { return e.object->depth() < d; });
}

void DisplayList::release(Entry& entry)
{
    // Objects kept alive elsewhere (by scripts) must not reach back into a sprite that let them go.
    if (entry.object)
        entry.object->clearParent();
}

void DisplayList::add(Ref<DisplayObject> object, bool touched)
{
    if (!object)
        return;
    auto it = lowerBound(object->depth());
    if (it != list.end() && it->object->depth() == object->depth())
    {
        release(*it);
        it->object = std::move(object);
        it->touched = touched;
        return;
    }
    list.insert(it, Entry{touched, std::move(object)});
}

DisplayList::Entry* DisplayList::entryAt(int depth)
{
    auto it = lowerBound(depth);
    if (it != list.end() && it->object->depth() == depth)
        return &*it;
    return nullptr;
}

DisplayObject* DisplayList::objectAt(int depth) const
{
    Entry* entry = const_cast<DisplayList*>(this)->entryAt(depth);
    return entry ? entry->object.get() : nullptr;
}

void DisplayList::markUntouched(int depth)
{
    if (Entry* entry = entryAt(depth))
        entry->touched = false;
}

void DisplayList::clearTouched()
{
    for (Entry& entry : list)
        entry.touched = false;
}

void DisplayList::removeUntouched()
{
    // Move the leavers out first: releasing them may run destructors that look at this list.
    std::vector<Entry> leaving;
    auto keep = std::stable_partition(list.begin(), list.end(), [](const Entry& e) { return e.touched; });
    std::move(keep, list.end(), std::back_inserter(leaving));
    list.erase(keep, list.end());
    for (Entry& entry : leaving)
        release(entry);
}

void DisplayList::clear()
{
    std::vector<Entry> leaving;
    leaving.swap(list);
    for (Entry& entry : leaving)
        release(entry);
}

void DisplayList::display(RenderContext& context)
{
    // Index loop: drawing never changes the list, but stay safe if a subclass does.
    for (size_t i = 0; i < list.size(); ++i)
    {
        Ref<DisplayObject> object = list[i].object;
        if (object->visible())
            object->display(context);
    }
}

DisplayObject* DisplayList::findByName(const std::string& name) const
{
    for (const Entry& entry : list)
        if (entry.object->name() == name)
            return entry.object.get();
    return nullptr;
}

} // namespace swf
