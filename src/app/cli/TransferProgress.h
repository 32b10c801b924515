#pragma once

#include <QObject>
#include <QString>

class CliOutput;
class FileTransferOperation;

// A transfer's progress as a bar on standard error, when it is a terminal:
// "SPECTRA.BIN [#########    ]  46%".
class TransferProgress : public QObject
{
    Q_OBJECT
public:
    TransferProgress(FileTransferOperation &operation, CliOutput &output);
    ~TransferProgress() override;

    // The bar for `bytes` of `total` of file `name`.
    static QString bar(const QString &name, qint64 bytes, qint64 total);

private:
    CliOutput &m_output;
    QString m_shown;
};
