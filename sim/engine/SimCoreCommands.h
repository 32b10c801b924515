#pragma once

class SimEngine;

// The commands every instrument answers: power, identification, status, and the thermal
// and light switches.
class SimCoreCommands
{
public:
    static void install(SimEngine &engine);
};
