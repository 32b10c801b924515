#pragma once

// The instrument's two regulated subsystems, each with an "Enable" check box.
enum class StatusSwitch { Thermal, Light };
