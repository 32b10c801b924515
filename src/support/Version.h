#pragma once

// The product's version as the project declares it ("1.21").
inline constexpr char kProductVersion[] = ORVANTIS_VERSION;
