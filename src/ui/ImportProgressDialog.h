#pragma once

#include <QProgressDialog>

class ImportRun;
class QPushButton;

// How far a long import has come ("正在添加 n / m 个账户…"), or that it waits for the keychain,
// with a button that stops it after the batch under way and stays disabled once pressed. Closes
// itself when the run ends.
class ImportProgressDialog : public QProgressDialog
{
    Q_OBJECT

public:
    // Shown only for runs of more than one batch; a short one ends before it could be read.
    static void showFor(ImportRun &run, QWidget *parent);

private:
    ImportProgressDialog(ImportRun &run, QWidget *parent);
    void showProgress(qsizetype tried, qsizetype total);
    // The status line says why nothing moves while the keychain does not answer.
    void showPaused(bool paused);
    void end();
    // A size of its own for each text, which the window manager cannot change: the frame the
    // sheets have, without a maximise button.
    void setLabel(const QString &text);

    QPushButton *m_stop;
};
