#pragma once

#include <QString>

// The values of the Sampling panel's controls that shape a sample, as the operator left them.
// Texts are kept exactly as typed: the instrument receives them unchecked.
struct SamplingSettings {
    bool average = false;                          // AverageCheck
    QString averageSamples = QStringLiteral("10"); // AverageSamplesText
    bool storeInFlash = false;                     // StoreInFlashCheck
    QString flashFileName;                         // FlashFilenameText
    bool storeInComputer = true;                   // StoreInComputerCheck
    QString sampleDelay = QStringLiteral("10");    // SampleDelayText
};
