// Runs a dialog modally and returns its result (QDialog::Accepted / Rejected). Tests replace
// it with scripted answers so no event loop is needed.
#pragma once

class QDialog;

class TModalRunner {
public:
    virtual ~TModalRunner() = default;
    virtual int Run(QDialog& dialog);
};
