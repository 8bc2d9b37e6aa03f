#include "engine/KeyMap.h"

#include "engine/KeyCode.h"
#include "engine/VirtualKey.h"

namespace
{

// Characters of the digit row with Shift held, for '0' to '9' (US layout).
constexpr char ShiftedDigits[10] = {')', '!', '@', '#', '$', '%', '^', '&', '*', '('};

struct PunctuationKey
{
    int virtualKey;
    char plain;
    char shifted;
};

constexpr PunctuationKey Punctuation[] = {
    {VirtualKey::Oem1, ';', ':'},     {VirtualKey::OemPlus, '=', '+'},   {VirtualKey::OemComma, ',', '<'},
    {VirtualKey::OemMinus, '-', '_'}, {VirtualKey::OemPeriod, '.', '>'}, {VirtualKey::Oem2, '/', '?'},
    {VirtualKey::Oem3, '`', '~'},     {VirtualKey::Oem4, '[', '{'},      {VirtualKey::Oem5, '\\', '|'},
    {VirtualKey::Oem6, ']', '}'},
};

} // namespace

int MapKey(int virtualKey, bool shift)
{
    switch (virtualKey)
    {
    case VirtualKey::Escape:
        return KeyCode::Escape;
    case VirtualKey::Space:
        return KeyCode::Space;
    case VirtualKey::Up:
        return KeyCode::Up;
    case VirtualKey::Left:
        return KeyCode::Left;
    case VirtualKey::Right:
        return KeyCode::Right;
    case VirtualKey::Down:
        return KeyCode::Down;
    case VirtualKey::Back:
        return KeyCode::Backspace;
    case VirtualKey::Delete:
        return KeyCode::Delete;
    case VirtualKey::Return:
        return KeyCode::Enter;
    case VirtualKey::Tab:
        return KeyCode::Tab;
    default:
        break;
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return virtualKey - 'A' + 'a';
    if (virtualKey >= '0' && virtualKey <= '9')
        return shift ? ShiftedDigits[virtualKey - '0'] : virtualKey;
    for (const PunctuationKey& key : Punctuation)
    {
        if (key.virtualKey == virtualKey)
            return shift ? key.shifted : key.plain;
    }
    return KeyCode::Other;
}
