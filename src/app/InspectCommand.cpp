#include "app/InspectCommand.h"

#include "app/QtTranslation.h"
#include "app/TerminalInput.h"
#include "app/TerminalOutput.h"
#include "engine/Clock.h"
#include "engine/TOTPGenerator.h"
#include "transfer/SafeFile.h"
#include "transfer/TransferLoader.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

enum ExitCode {
    fileRead = 0,
    fileUnreadable = 1,
    usageError = 2,
};

const QString option = u"--inspect"_s;

std::optional<QString> passwordFromInput()
{
    return TerminalInput::password(QCoreApplication::translate("InspectCommand", "密码："));
}

using TerminalOutput::line;
using TerminalOutput::write;

// The lines after an account's for what is kept with it: its icon as the SHA-256 of the bytes
// and the type (never the bytes), each group by uuid (empty for a tag) and name, the note and
// whether it is a favourite; none when it has none of them.
QByteArray details(const ImportedToken &token)
{
    QByteArray text;
    if (token.icon)
        text += line({u"icon"_s, token.icon->hash, AccountIcon::typeName(token.icon->type)});
    for (const AccountGroup &group : token.groups)
        text += line({u"group"_s, group.id.isNull() ? QString() : group.id.toString(QUuid::WithoutBraces), group.name});
    if (!token.note.isEmpty())
        text += line({u"note"_s, token.note});
    if (token.favourite)
        text += line({u"favourite"_s});
    return text;
}

} // namespace

std::optional<int> InspectCommand::runIfAsked(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool asked = std::any_of(arguments.cbegin(), arguments.cend(), [](const QString &argument) {
        return argument == option || argument.startsWith(option + u'=');
    });
    if (!asked)
        return std::nullopt;
    // The transfer plugin is found from the executable's folder, the messages' language from the system's.
    QCoreApplication application(argc, argv);
    QtTranslation::install(application, QtTranslation::languageFor(QLocale::system().uiLanguages()));
    // An option after --inspect is not a file's name (`./--name` still reaches such a file).
    if (arguments.size() != 2 || arguments[0] != option || arguments[1].startsWith(u'-')) {
        write(stderr, QCoreApplication::translate("InspectCommand", "用法：corvane --inspect 文件").toUtf8() + '\n');
        return usageError;
    }
    QByteArray out, err;
    const int code = InspectCommand(passwordFromInput, systemClock()).run(arguments[1], out, err);
    write(stdout, out);
    write(stderr, err);
    return code;
}

InspectCommand::InspectCommand(PasswordSource password, double now) : m_password(std::move(password)), m_now(now) {}

int InspectCommand::run(const QString &path, QByteArray &out, QByteArray &err) const
{
    // A command line may wait on the disk: the file is a regular one of a backup's size.
    const auto file = SafeFile::openRegular(path);
    const auto layer = TransferLoader::layer();
    if (!file || !layer) {
        err = (file ? layer.error() : file.error()).description().toUtf8() + '\n';
        return fileUnreadable;
    }
    const QByteArray bytes = (*file)->readAll();
    const int error = errno;
    if ((*file)->error() != QFileDevice::NoError) {
        err = SafeFile::systemError(error).description().toUtf8() + '\n';
        return fileUnreadable;
    }
    // Nothing cancels a read from the command line but ending the process.
    const std::stop_token never;
    auto batch = (*layer)->readBackup(bytes, {}, never);
    if (!batch && batch.error().kind() == TransferError::Kind::passwordRequired)
        batch = (*layer)->readBackup(bytes, m_password().value_or(QString()), never);
    if (!batch) {
        err = batch.error().description().toUtf8() + '\n';
        return fileUnreadable;
    }
    out = report(*batch);
    return fileRead;
}

QByteArray InspectCommand::report(const ImportBatch &batch) const
{
    QByteArray text = line({u"format"_s, batch.format});
    for (const ImportedToken &token : batch.tokens) {
        // For HOTP the period column holds the stored counter, and the code is that counter's.
        const OtpParameters &otp = token.otp;
        const auto code = TOTPGenerator::code(TOTPGenerator::normalize(token.secret), m_now, otp);
        text +=
            line({u"account"_s, token.issuer, token.name, kindName(otp.kind), algorithmName(otp.algorithm),
                  QString::number(otp.digits),
                  otp.isHotp() ? QString::number(otp.counter) : QString::number(otp.period), code.value_or(QString())});
        text += details(token);
    }
    for (const ImportBatch::Refusal &refusal : batch.refused)
        text += line({u"refused"_s, refusal.label, refusal.reason});
    return text;
}
