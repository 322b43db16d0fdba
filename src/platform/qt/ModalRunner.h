// Runs a dialog modally and returns its result (QDialog::Accepted / Rejected). Tests replace
// it with scripted answers so no event loop is needed.
#pragma once

class QDialog;

class TModalRunner {
public:
    virtual ~TModalRunner() = default;
    virtual int Run(QDialog& dialog);
};

// QDialog::exec, after which the window that had the keyboard before the dialog gets it back
// when nothing else took it: without a window manager (a kiosk, a bare X session) the keys
// would otherwise go nowhere once the dialog is gone.
int ExecModal(QDialog& dialog);
