#include "app/DeriveKeyCommand.h"

#include "transfer/KeyDeriver.h"
#include "transfer/TransferLoader.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

namespace DeriveKeyCommand {

std::optional<int> runIfAsked(int argc, char *argv[])
{
    if (argc != 2 || KeyDeriver::option != QLatin1StringView(argv[1]))
        return std::nullopt;
    // Nothing is left deriving for a panel that has gone.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication application(argc, argv); // the plugin is found from the executable's folder
    const auto layer = TransferLoader::layer();
    QFile input, output;
    if (!layer || !input.open(stdin, QIODevice::ReadOnly) || !output.open(stdout, QIODevice::WriteOnly))
        return 1;
    const bool served =
        KeyDeriver::serve(input, output, [layer = *layer](const auto &derivation, const auto &password) {
            return layer->deriveKey(derivation, password);
        });
    return served ? 0 : 1;
}

} // namespace DeriveKeyCommand
