#include "transfer/KeyDeriver.h"

#include <QDataStream>

KeyDeriver::KeyDeriver(QString program, QObject *parent) : QObject(parent), m_program(std::move(program)) {}

KeyDeriver::~KeyDeriver()
{
    cancel();
}

void KeyDeriver::derive(const QByteArray &password, const KeyDerivation &derivation, Done done)
{
    cancel();
    m_done = std::move(done);
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardErrorFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &KeyDeriver::finished);
    // A helper that cannot start never finishes: its derivation fails.
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finished(-1, QProcess::CrashExit);
    });
    m_process->start(m_program, {option});
    QByteArray request;
    QDataStream stream(&request, QIODevice::WriteOnly);
    stream << derivation << password;
    m_process->write(request);
    request.fill('\0');
    m_process->closeWriteChannel();
}

// The killed process is reaped when it has gone, without waiting for it here.
void KeyDeriver::cancel()
{
    m_done = nullptr;
    if (!m_process)
        return;
    QProcess *process = std::exchange(m_process, nullptr);
    disconnect(process, nullptr, this, nullptr);
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

void KeyDeriver::finished(int exitCode, QProcess::ExitStatus status)
{
    QProcess *process = std::exchange(m_process, nullptr);
    process->deleteLater();
    std::optional<QByteArray> key;
    if (status == QProcess::NormalExit && exitCode == 0) {
        QDataStream reply(process->readAllStandardOutput());
        bool derived = false;
        QByteArray bytes;
        reply >> derived >> bytes;
        if (reply.status() == QDataStream::Ok && derived)
            key = bytes;
    }
    const Done done = std::exchange(m_done, nullptr);
    // Last: it may ask for the next derivation.
    if (done)
        done(key);
}

bool KeyDeriver::serve(
    QIODevice &input, QIODevice &output,
    const std::function<std::optional<QByteArray>(const KeyDerivation &, const QByteArray &)> &derive)
{
    QDataStream request(input.readAll());
    KeyDerivation derivation;
    QByteArray password;
    request >> derivation >> password;
    if (request.status() != QDataStream::Ok)
        return false;
    const std::optional<QByteArray> key = derive(derivation, password);
    password.fill('\0');
    QByteArray reply;
    QDataStream stream(&reply, QIODevice::WriteOnly);
    stream << key.has_value() << key.value_or(QByteArray());
    return output.write(reply) == reply.size();
}
