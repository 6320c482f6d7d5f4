// A small coverage-guided fuzzer: seeds are mutated (bit flips, random bytes, insertions,
// deletions, duplicated ranges, format tokens, splices with another input) and every input
// that reaches a basic block not seen before joins the corpus. Run it under ASan and UBSan:
//   fuzz_transfer <aegis|2fas|links|peers> <inputs>
#include "transfer/AegisVault.h"
#include "transfer/ImportReader.h"
#include "transfer/OtpauthLinks.h"
#include "transfer/TwoFasBackup.h"
#include "transfer/VaultCrypto.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

std::array<bool, 1 << 18> seen;
bool newCoverage = false;

// Tiny key-derivation costs, so that the fuzzer spends its time parsing.
const KdfPolicy policy{.scryptN = 16,
                       .maxScryptN = 16,
                       .maxPasswordSlots = 2,
                       .twoFasIterations = 1,
                       .maxPbkdf2Iterations = 16,
                       .maxArgon2MemoryKiB = 64,
                       .maxArgon2WorkKiB = 256};
const QString password = u"pw"_s;

QByteArray sample(const char *name)
{
    QFile file(QStringLiteral(CORVANE_TRANSFER_DATA "/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A 2FAS backup encrypted with the cheap policy, so that mutations reach the decrypted list.
QByteArray cheapTwoFas()
{
    const QByteArray salt = VaultCrypto::randomBytes(32);
    const auto key = VaultCrypto::pbkdf2(password.toUtf8(), salt, policy.twoFasIterations, VaultCrypto::Hash::sha256);
    const auto sealed = VaultCrypto::seal(*key, R"([{"name":"A","secret":"JBSWY3DPEHPK3PXP","otp":{"account":"a"}}])");
    const QByteArray data =
        (sealed->ciphertext + sealed->tag).toBase64() + ':' + salt.toBase64() + ':' + sealed->nonce.toBase64();
    return R"({"services":[],"schemaVersion":4,"servicesEncrypted":")" + data + "\"}";
}

struct Target
{
    const char *name;
    std::function<void(const QByteArray &)> run;
    std::function<QList<QByteArray>()> seeds;
    QList<QByteArray> tokens;
};

const QList<QByteArray> jsonTokens{"{",    "}",       "[",        "]",        ":",        ",",
                                   "\"",   "null",    "true",     "-1",       "1e400",    "4294967296",
                                   "\"\"", "\\u0000", "\"type\"", "\"totp\"", "\"hotp\"", "\"steam\""};

const std::array targets{
    Target{
        "aegis",
        [](const QByteArray &bytes) {
            (void)AegisVault::read(QJsonDocument::fromJson(bytes).object(), password, policy);
        },
        [] {
            const ImportedToken token{u"a"_s, u"b"_s, u"JBSWY3DPEHPK3PXP"_s, 30, 6};
            return QList<QByteArray>{sample("aegis_plain.json"), *AegisVault::write({token, token}, password, policy)};
        },
        jsonTokens
            + QList<QByteArray>{"\"slots\"", "\"params\"", "\"db\"", "\"n\"", "\"salt\"", "\"key\"", "\"info\""}},
    Target{"2fas",
           [](const QByteArray &bytes) {
               (void)TwoFasBackup::read(QJsonDocument::fromJson(bytes).object(), password, policy);
           },
           [] {
               return QList<QByteArray>{sample("2fas_authenticator_plain_v4.2fas"), cheapTwoFas()};
           },
           jsonTokens + QList<QByteArray>{"\"otp\"", "\"services\"", "\"servicesEncrypted\"", "\"tokenType\"", "::"}},
    Target{"links",
           [](const QByteArray &bytes) { (void)OtpauthLinks::read(QString::fromUtf8(bytes)); },
           [] {
               return QList<QByteArray>{
                   "otpauth://totp/Example:alice@example.com?secret=JBSWY3DPEHPK3PXP&issuer=Example\n"
                   "otpauth://totp/b?secret=GEZDGNBV&digits=8&period=60\n\n"};
           },
           {"otpauth://totp/", "?secret=", "&digits=", "&period=", "&issuer=", "%", "%25", "%E2%80%AE", ":", "\n",
            "\r\n"}},
    // Every other app's export, through the same recognition the import dialog uses.
    Target{"peers", [](const QByteArray &bytes) { (void)ImportReader::read(bytes, password, policy); },
           [] {
               QList<QByteArray> seeds;
               for (const char *name : {"bitwarden.json", "bitwarden.csv", "proton_authenticator.json",
                                        "andotp_plain.json", "freeotp_plus.json", "stratum_plain.json", "steam.json"})
                   seeds << sample(name);
               return seeds;
           },
           jsonTokens + QList<QByteArray>{"\"", ",", "\n", "steam://", "otpauth://totp/", "\"Type\"", "[-1,"}},
};

QByteArray mutated(QByteArray input, const Target &target, const QList<QByteArray> &corpus, std::mt19937_64 &random)
{
    const auto below = [&](qsizetype n) { return n <= 0 ? 0 : qsizetype(random() % quint64(n)); };
    for (int steps = 1 + below(4); steps > 0; --steps) {
        const qsizetype at = below(input.size() + 1);
        const qsizetype length = 1 + below(std::min<qsizetype>(64, input.size() - at));
        switch (below(7)) {
        case 0:
            if (at < input.size())
                input[at] = char(input[at] ^ (1 << below(8)));
            break;
        case 1:
            input.insert(at, char(random()));
            break;
        case 2:
            input.remove(at, length);
            break;
        case 3:
            input.insert(at, input.mid(at, length));
            break;
        case 4:
            input.insert(at, target.tokens[below(target.tokens.size())]);
            break;
        case 5: {
            const QByteArray &other = corpus[below(corpus.size())];
            input = input.left(at) + other.mid(below(other.size()));
            break;
        }
        default:
            input.truncate(at);
        }
    }
    return input;
}

} // namespace

extern "C" void __sanitizer_cov_trace_pc()
{
    const auto pc = quintptr(__builtin_return_address(0));
    bool &slot = seen[(pc ^ (pc >> 18)) % seen.size()];
    newCoverage |= !slot;
    slot = true;
}

int main(int argc, char **argv)
{
    const auto target = std::find_if(targets.begin(), targets.end(),
                                     [&](const Target &t) { return argc == 3 && qstrcmp(t.name, argv[1]) == 0; });
    if (target == targets.end()) {
        std::fprintf(stderr, "usage: fuzz_transfer <aegis|2fas|links|peers> <inputs>\n");
        return 2;
    }
    const long long inputs = std::atoll(argv[2]);
    QList<QByteArray> corpus = target->seeds();
    std::mt19937_64 random(20261206);
    const auto start = std::chrono::steady_clock::now();
    for (long long i = 0; i < inputs; ++i) {
        const QByteArray input = mutated(corpus[qsizetype(random() % quint64(corpus.size()))], *target, corpus, random);
        newCoverage = false;
        target->run(input);
        if (newCoverage && input.size() < 64 * 1024)
            corpus.append(input);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto blocks = std::count(seen.begin(), seen.end(), true);
    std::printf("%s: %lld inputs in %.1f s (%.0f/s), corpus %lld, %lld coverage slots\n", target->name, inputs, seconds,
                double(inputs) / seconds, (long long)corpus.size(), (long long)blocks);
}
