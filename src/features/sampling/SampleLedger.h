#pragma once

#include <QByteArrayView>
#include <QList>

// The samples of a periodic run, read from the bytes of its data file as they are written.
// A sample ends at the instrument's prompt "Orvantis>": the bytes after the prompt before it
// (or from the run's start) up to and with its own prompt are one whole sample, and bytes
// after the last prompt are a sample under way or one cut short. Some pieces that end at a
// prompt are no sample: one that a lost line cut, whatever comes while the line is brought
// back, and the answer to the stop. The count is of the whole samples the file holds, by
// construction.
class SampleLedger
{
public:
    static constexpr QByteArrayView kPrompt = "Orvantis>";

    struct Sample {
        qint64 number = 0;
        // Its bytes, its prompt's included.
        qint64 bytes = 0;
        // Where it ends: the byte count of the run's part of the file after its prompt.
        qint64 end = 0;
    };

    // Bytes the file received, in order; the samples they completed.
    QList<Sample> take(QByteArrayView bytes);
    // The line was lost: the piece under way is cut, and pieces end as no sample until the
    // line is back.
    void lineLost();
    // The line is back and the run went on by itself; the piece the loss cut ends at the
    // next prompt, unless one has ended it already.
    void lineBack();
    // The bytes that follow begin a sample, and nothing since the loss is one: the run is
    // about to be started again, or the port opened again in a quiet moment of the run.
    void samplesBeginHere();
    // The stop (three ETX) has been written: one of the prompts still to come answers it, so
    // pieces are held until finish().
    void stopping();
    // The stop has been answered (or the wait for it is over): the last prompt held answered
    // it, and each piece held before it that holds more than line ends is a sample.
    QList<Sample> finish();

    qint64 count() const { return m_count; }
    // The bytes the file received for the run.
    qint64 size() const { return m_size; }
    bool endsAtPrompt() const { return m_size > 0 && m_lastPromptEnd == m_size; }
    int promptsSinceStop() const { return int(m_held.size()); }

private:
    struct Piece {
        qint64 start = 0;
        qint64 end = 0;
        bool sample = false;
    };

    void promptEnded(QList<Sample> &samples);
    Sample counted(const Piece &piece);

    qint64 m_size = 0;
    qint64 m_count = 0;
    qint64 m_pieceStart = 0;
    qint64 m_lastPromptEnd = -1;
    // Where the last byte other than a blank, a line end or an ETX is.
    qint64 m_lastText = -1;
    qsizetype m_matched = 0;
    bool m_cut = false;
    bool m_lineDown = false;
    bool m_stopping = false;
    QList<Piece> m_held;
};
