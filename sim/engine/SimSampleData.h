#pragma once

#include <QByteArray>
#include <QList>

// Counts of one (averaged) spectrum across the detector's pixels. With the light source on
// the lamp's broad hump stands thousands of counts above the dark level; with it off only
// the dark level and its noise remain. The noise is seeded, so a run repeats exactly.
class SimSampleData
{
public:
    static constexpr int kPixels = 512;
    static constexpr int kValuesPerLine = 16;

    static QList<int> counts(bool lightOn, int averaged, quint32 seed);
    // The counts as text: lines of 16 values separated by blanks, each line ending in
    // CR LF. Digits and blanks only, so the text holds no "," "." or ">".
    static QByteArray lines(const QList<int> &counts);
};
