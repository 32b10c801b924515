#pragma once

class SimEngine;

// The commands that take spectra: "Acquire auto" (one sample, sent and/or stored in flash),
// "start" (the same sample again and again until ETX), and the cal check's "auto",
// "acquire fixed" and "lref".
class SimSamplingCommands
{
public:
    static void install(SimEngine &engine);
};
