#pragma once

// Translation of a virtual key (VirtualKey.h) into the engine's KeyCode
// numbering, for a US keyboard layout. shift selects the shifted character of
// digit and punctuation keys; letters are always delivered lower case.
int MapKey(int virtualKey, bool shift);
