#pragma once

// Fill colours of the round indicator lamps. Unlit is the lamp's design colour (the system's
// button face); the others are Green (0, 255, 0), Yellow (255, 255, 0), Amber (255, 220, 0)
// and Red (255, 0, 0). A lamp counts as lit when it is anything but Unlit.
enum class LampColour { Unlit, Green, Yellow, Amber, Red };

inline bool isLit(LampColour colour)
{
    return colour != LampColour::Unlit;
}
