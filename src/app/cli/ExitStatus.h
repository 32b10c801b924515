#pragma once

// What the command line's exit status tells a script.
enum class ExitStatus {
    Done = 0,
    // The instrument refused, or the operation failed (file not found on the instrument,
    // transfer timed out, a name the instrument cannot hold).
    Failed = 1,
    // Unknown command or option, a rate not in the list, a local file that does not exist:
    // nothing was sent.
    Usage = 2,
    // No instrument: not found, the port cannot be opened or is held by another program, or
    // the connection was lost and not regained (for run: not within --max-outage).
    NoInstrument = 3,
    // SIGINT or SIGTERM (or SIGPIPE: standard output closed), after the instrument was
    // stopped.
    Interrupted = 130
};
