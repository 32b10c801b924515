#pragma once

#include <QObject>
#include <QString>

class CliOutput;
class FileTransferOperation;

// A transfer's progress as a bar on standard error, when it is a terminal: the file
// manager's progress label ("SPECTRA.BIN: 46%") drawn as "SPECTRA.BIN [#########    ]  46%".
class TransferProgress : public QObject
{
    Q_OBJECT
public:
    TransferProgress(FileTransferOperation &operation, CliOutput &output);
    ~TransferProgress() override;

    // The bar for one label text; empty for an empty text.
    static QString bar(const QString &label);

private:
    CliOutput &m_output;
};
