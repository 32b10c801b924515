#include "features/sampling/SampleLedger.h"

namespace
{
bool isBlank(char c)
{
    return c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '\x03';
}
} // namespace

QList<SampleLedger::Sample> SampleLedger::take(QByteArrayView bytes)
{
    QList<Sample> samples;
    for (const char c : bytes) {
        // The prompt's first letter appears nowhere else in it, so a broken match starts
        // again at most from this byte.
        if (c == kPrompt[m_matched])
            ++m_matched;
        else
            m_matched = c == kPrompt[0] ? 1 : 0;
        if (!isBlank(c) && m_matched == 0)
            m_lastText = m_size;
        ++m_size;
        if (m_matched == kPrompt.size()) {
            m_matched = 0;
            promptEnded(samples);
        }
    }
    return samples;
}

void SampleLedger::promptEnded(QList<Sample> &samples)
{
    Piece piece;
    piece.start = m_pieceStart;
    piece.end = m_size;
    const bool holdsText = m_lastText >= m_pieceStart;
    piece.sample = !m_cut && !m_lineDown && holdsText;
    m_pieceStart = m_size;
    m_lastPromptEnd = m_size;
    m_cut = false;
    if (m_stopping)
        m_held << piece;
    else if (piece.sample)
        samples << counted(piece);
}

SampleLedger::Sample SampleLedger::counted(const Piece &piece)
{
    return Sample{++m_count, piece.end - piece.start, piece.end};
}

void SampleLedger::lineLost()
{
    m_cut = true;
    m_lineDown = true;
    m_matched = 0;
}

void SampleLedger::lineBack()
{
    m_lineDown = false;
}

void SampleLedger::samplesBeginHere()
{
    m_lineDown = false;
    m_cut = false;
    m_matched = 0;
    m_pieceStart = m_size;
}

void SampleLedger::stopping()
{
    m_stopping = true;
}

QList<SampleLedger::Sample> SampleLedger::finish()
{
    QList<Sample> samples;
    if (!m_held.isEmpty())
        m_held.removeLast();
    for (const Piece &piece : std::as_const(m_held)) {
        if (piece.sample)
            samples << counted(piece);
    }
    m_held.clear();
    m_stopping = false;
    return samples;
}
